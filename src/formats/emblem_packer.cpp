#include "formats/emblem_packer.h"

#include <algorithm>
#include <cassert>
#include <utility>

namespace orvane {
namespace {

constexpr std::uint8_t kStreamMask = 0xA7;

// Offsets and lengths the tokens can express.
constexpr std::size_t kShortMaxDistance = 256;
constexpr std::size_t kShortMinLength = 2;
constexpr std::size_t kShortMaxLength = 5;
constexpr std::size_t kLongMaxDistance = 8192;
constexpr std::size_t kLongMinLength = 3;
constexpr std::size_t kLongMaxInlineLength = 9;  // up to here the length sits in v's low bits
constexpr std::size_t kLongMaxLength = 265;

// Reads the stream: every byte unmasked, bytes past the end as 0, control bits LSB first with
// a new control byte fetched only when a bit is wanted and the current one is used up.
class StreamReader {
 public:
  StreamReader(const std::uint8_t* data, std::size_t length) : data_(data), length_(length) {}

  std::uint8_t byte() {
    const std::uint8_t value =
        pos_ < length_ ? static_cast<std::uint8_t>(data_[pos_] ^ kStreamMask) : 0;
    ++pos_;
    return value;
  }

  unsigned bit() {
    if (bitsLeft_ == 0) {
      control_ = byte();
      bitsLeft_ = 8;
    }
    const unsigned value = control_ & 1u;
    control_ >>= 1;
    --bitsLeft_;
    return value;
  }

  // True once something has been read from beyond the end of the input.
  bool overran() const { return pos_ > length_; }

 private:
  const std::uint8_t* data_;
  std::size_t length_;
  std::size_t pos_ = 0;
  unsigned control_ = 0;
  int bitsLeft_ = 0;
};

// Writes the stream. A control byte's place is taken at the moment its first bit is written,
// so it lands just before the data of the token that needs that bit, where the reader looks.
class StreamWriter {
 public:
  void bit(unsigned value) {
    if (bitsUsed_ == 8) {
      control_ = bytes_.size();
      bytes_.push_back(0);
      bitsUsed_ = 0;
    }
    bytes_[control_] |= static_cast<std::uint8_t>((value & 1u) << bitsUsed_);
    ++bitsUsed_;
  }

  void byte(std::size_t value) { bytes_.push_back(static_cast<std::uint8_t>(value)); }

  std::vector<std::uint8_t> finish() && {
    for (std::uint8_t& b : bytes_) b ^= kStreamMask;
    return std::move(bytes_);
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t control_ = 0;
  int bitsUsed_ = 8;
};

void writeLiteral(StreamWriter& w, std::uint8_t value) {
  w.bit(1);
  w.byte(value);
}

void writeShortMatch(StreamWriter& w, std::size_t distance, std::size_t length) {
  const std::size_t code = length - kShortMinLength;
  w.bit(0);
  w.bit(0);
  w.bit(code >> 1);
  w.bit(code);
  w.byte(kShortMaxDistance - distance);
}

void writeLongMatch(StreamWriter& w, std::size_t distance, std::size_t length) {
  const std::size_t n = length <= kLongMaxInlineLength ? length - 2 : 0;
  const std::size_t v = ((kLongMaxDistance - distance) << 3) | n;
  assert(v != 0);  // v = 0 is the end token; the match finder never asks for it
  w.bit(0);
  w.bit(1);
  w.byte(v & 0xFF);
  w.byte(v >> 8);
  if (n == 0) w.byte(length - 10);
}

void writeEndToken(StreamWriter& w) {
  w.bit(0);
  w.bit(1);
  w.byte(0);
  w.byte(0);
}

struct Match {
  std::size_t length = 0;  // 0: none
  std::size_t distance = 0;
};

// Hash chains over 3-byte sequences for matches of 3 and more, and the latest position of each
// 2-byte hash for the 2-byte short matches. The chain links live in a ring as long as the
// window: a link is overwritten only once its position is out of reach.
class MatchFinder {
 public:
  explicit MatchFinder(std::span<const std::uint8_t> data)
      : data_(data),
        head3_(std::size_t{1} << kHash3Bits, kNone),
        head2_(std::size_t{1} << kHash2Bits, kNone),
        prev_(kLongMaxDistance, kNone) {}

  // Call for every position in order, after find() for it.
  void insert(std::size_t i) {
    if (i + 1 < data_.size()) head2_[hash2(i)] = i;
    if (i + 2 < data_.size()) {
      std::size_t& head = head3_[hash3(i)];
      prev_[i % kLongMaxDistance] = head;
      head = i;
    }
  }

  // The longest match for position i among the positions inserted so far; of equally long
  // ones the nearest. Only matches a token can express are returned.
  Match find(std::size_t i) const {
    Match best;
    const std::size_t limit = std::min(kLongMaxLength, data_.size() - i);
    if (limit < kShortMinLength) return best;
    if (limit >= kLongMinLength) {
      std::size_t candidate = head3_[hash3(i)];
      for (int depth = kChainDepth; candidate != kNone && depth > 0; --depth) {
        const std::size_t distance = i - candidate;
        if (distance > kLongMaxDistance) break;
        const std::size_t length = matchLength(candidate, i, limit);
        if (length >= kLongMinLength && length > best.length) {
          best = {length, distance};
          if (length == limit) break;
        }
        candidate = prev_[candidate % kLongMaxDistance];
      }
    }
    if (best.length == 0) {
      const std::size_t candidate = head2_[hash2(i)];
      if (candidate != kNone && i - candidate <= kShortMaxDistance &&
          matchLength(candidate, i, kShortMinLength) == kShortMinLength) {
        best = {kShortMinLength, i - candidate};
      }
    }
    // At the farthest distance a long match with the extra length byte would encode as v = 0,
    // the end token; there the length stays within the inline range.
    if (best.distance == kLongMaxDistance) {
      best.length = std::min(best.length, kLongMaxInlineLength);
    }
    return best;
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  static constexpr int kHash3Bits = 15;
  static constexpr int kHash2Bits = 12;
  static constexpr int kChainDepth = 128;

  std::size_t hash3(std::size_t i) const {
    const std::uint32_t key =
        (std::uint32_t{data_[i]} << 16) | (std::uint32_t{data_[i + 1]} << 8) | data_[i + 2];
    return (key * 2654435761u) >> (32 - kHash3Bits);
  }

  std::size_t hash2(std::size_t i) const {
    const std::uint32_t key = (std::uint32_t{data_[i]} << 8) | data_[i + 1];
    return (key * 2654435761u) >> (32 - kHash2Bits);
  }

  std::size_t matchLength(std::size_t from, std::size_t to, std::size_t limit) const {
    std::size_t length = 0;
    while (length < limit && data_[from + length] == data_[to + length]) ++length;
    return length;
  }

  std::span<const std::uint8_t> data_;
  std::vector<std::size_t> head3_;
  std::vector<std::size_t> head2_;
  std::vector<std::size_t> prev_;
};

void writeMatch(StreamWriter& w, const Match& m) {
  if (m.distance <= kShortMaxDistance && m.length <= kShortMaxLength) {
    writeShortMatch(w, m.distance, m.length);
  } else {
    writeLongMatch(w, m.distance, m.length);
  }
}

// Below this length a match is worth putting off by one byte when the next position has a
// longer one.
constexpr std::size_t kLazyLimit = 32;

}  // namespace

UnpackResult unpackEmblem(const std::uint8_t* packed, std::size_t packedLength, std::uint8_t* out,
                          std::size_t capacity, std::size_t maxOutput) {
  if (packed == nullptr || packedLength == 0) return {0, UnpackStatus::Complete};
  if (out == nullptr) capacity = 0;

  StreamReader in(packed, packedLength);
  std::size_t pos = 0;
  for (;;) {
    std::size_t length = 1;
    std::size_t distance = 0;  // 0 for a literal
    std::uint8_t literal = 0;
    if (in.bit()) {
      literal = in.byte();
    } else if (in.bit()) {
      const std::size_t b0 = in.byte();
      const std::size_t b1 = in.byte();
      const std::size_t v = b0 | (b1 << 8);
      if (v == 0) return {pos, UnpackStatus::Complete};
      distance = kLongMaxDistance - (v >> 3);
      const std::size_t n = v & 7;
      length = n != 0 ? n + 2 : in.byte() + std::size_t{10};
    } else {
      const unsigned h = in.bit();
      const unsigned l = in.bit();
      length = 2 * h + l + kShortMinLength;
      distance = kShortMaxDistance - in.byte();
    }
    // A token other than the end that took bytes from past the input is not carried out: past
    // the end every control bit reads 0, which never gives the end token.
    if (in.overran()) return {pos, UnpackStatus::MissingEndToken};
    if (length > maxOutput - pos) return {pos, UnpackStatus::TooLarge};

    if (distance == 0) {
      if (pos < capacity) out[pos] = literal;
      ++pos;
      continue;
    }
    // Byte by byte, so a distance shorter than the length repeats what was just written.
    for (std::size_t k = 0; k < length; ++k, ++pos) {
      const std::uint8_t value =
          pos >= distance && pos - distance < capacity ? out[pos - distance] : 0;
      if (pos < capacity) out[pos] = value;
    }
  }
}

std::vector<std::uint8_t> packEmblem(std::span<const std::uint8_t> data) {
  StreamWriter w;
  MatchFinder finder(data);
  const std::size_t size = data.size();
  Match current = size > 0 ? finder.find(0) : Match{};
  std::size_t i = 0;
  while (i < size) {
    finder.insert(i);
    if (current.length >= kShortMinLength && current.length < kLazyLimit && i + 1 < size) {
      const Match next = finder.find(i + 1);
      if (next.length > current.length) {
        writeLiteral(w, data[i]);
        ++i;
        current = next;
        continue;
      }
    }
    if (current.length >= kShortMinLength) {
      writeMatch(w, current);
      for (std::size_t k = 1; k < current.length; ++k) finder.insert(i + k);
      i += current.length;
    } else {
      writeLiteral(w, data[i]);
      ++i;
    }
    if (i < size) current = finder.find(i);
  }
  writeEndToken(w);
  return std::move(w).finish();
}

}  // namespace orvane
