#include "app/shell/dna_import_check.h"

#include <cstring>
#include <string_view>

#include "tools/randomart/dna_file.h"
#include "tools/randomart/evolution_parameters.h"
#include "tools/randomart/gene.h"

namespace orvane {
namespace {

constexpr std::size_t kChunkHeader = 8;
constexpr std::size_t kInfoPayload = 16;

std::int32_t wordAt(std::span<const std::uint8_t> bytes, std::size_t at) {
  return std::int32_t(std::uint32_t(bytes[at]) | std::uint32_t(bytes[at + 1]) << 8 |
                      std::uint32_t(bytes[at + 2]) << 16 | std::uint32_t(bytes[at + 3]) << 24);
}

bool isTag(std::span<const std::uint8_t> bytes, std::size_t at, std::string_view tag) {
  return std::memcmp(bytes.data() + at, tag.data(), 4) == 0;
}

bool isKnownTag(std::span<const std::uint8_t> bytes, std::size_t at) {
  using namespace std::string_view_literals;
  for (std::string_view tag : {"INFO"sv, "IMG\0"sv, "BEST"sv, "GEN\0"sv, "PARA"sv}) {
    if (isTag(bytes, at, tag)) return true;
  }
  return false;
}

std::string at(const char* what, std::size_t offset) {
  return std::string(what) + " (chunk at byte " + std::to_string(offset) + ")";
}

// The payload [from, to) of the chunk starting at `start` holds what its tag announces.
std::optional<std::string> payloadProblem(std::span<const std::uint8_t> bytes, std::size_t start,
                                          std::size_t from, std::size_t to) {
  const std::size_t size = to - from;
  auto word = [&](std::size_t index) { return wordAt(bytes, from + 4 * index); };
  if (isTag(bytes, start, "INFO")) {
    if (size < kInfoPayload) return at("the INFO chunk is cut short", start);
  } else if (isTag(bytes, start, std::string_view("IMG\0", 4))) {
    if (size < 8) return at("the picture is cut short", start);
    const std::int64_t width = word(0), height = word(1);
    if (width < 1 || height < 1 || width > kMaxDnaPictureSide || height > kMaxDnaPictureSide) {
      return at("the picture has an impossible size", start);
    }
    if (std::uint64_t(size - 8) < std::uint64_t(width * height * 4)) {
      return at("the picture is cut short", start);
    }
  } else if (isTag(bytes, start, "BEST") || isTag(bytes, start, std::string_view("GEN\0", 4))) {
    if (size < 4) return at("a genome is cut short", start);
    const std::int32_t count = word(0);
    if (count < 0 || count > kMaxGeneCount) return at("a genome has an impossible count", start);
    if (size - 4 < std::size_t(count) * sizeof(Gene)) return at("a genome is cut short", start);
  } else if (isTag(bytes, start, "PARA")) {
    if (size < 4) return at("the parameters are cut short", start);
    const std::int32_t pairs = word(0);
    if (pairs < 0 || std::size_t(pairs) > (size - 4) / 8) {
      return at("the parameters are cut short", start);
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> dnaFileProblem(std::span<const std::uint8_t> bytes) {
  if (bytes.size() < kChunkHeader + kInfoPayload) return "the file is too short for a DNA file";
  if (!isKnownTag(bytes, 0)) return "the file is not a DNA file (it starts with no known chunk)";
  std::size_t start = 0;
  for (;;) {
    const std::int32_t next = wordAt(bytes, start + 4);
    if (next < 0 || (next > 0 && std::size_t(next) < kChunkHeader)) {
      return at("the chain of chunks is broken", start);
    }
    const std::size_t end = next == 0 ? bytes.size() : start + std::size_t(next);
    if (end > bytes.size() || (next > 0 && bytes.size() - end < kChunkHeader)) {
      return at("a chunk points outside the file", start);
    }
    if (auto problem = payloadProblem(bytes, start, start + kChunkHeader, end)) return problem;
    if (next == 0) return std::nullopt;
    start = end;
  }
}

}  // namespace orvane
