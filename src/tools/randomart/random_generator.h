#pragma once

#include <cstdint>

namespace orvane {

// The random-art tool's generator: Marsaglia's xorshift128 from its published start values
// (x 123456789, y 362436069, z 521288629, w 88675123), each output folded into a running value
// R (R ^= w) that is returned. Only R's start value varies between runs, so one seed gives one
// sequence. Passed to the engine by reference, so tests and the command line can seed it; the
// editor keeps one per process and never reseeds it.
class RandomGenerator {
 public:
  // R starts at the low half of `seed`. A seed above 32 bits (the command line takes 64) also
  // mixes its high half into w's start value, so that each seed gives a sequence of its own,
  // while a 32-bit seed keeps the published start values.
  explicit RandomGenerator(std::uint64_t seed = 0)
      : w_(kStartW ^ std::uint32_t(seed >> 32)), r_(std::uint32_t(seed)) {}
  // A seed from the C library's rand() seeded through srand() with the millisecond clock: four
  // values, each giving the byte (rand() >> 2) & 0xFF, the first one the lowest byte.
  static std::uint32_t clockSeed();
  static RandomGenerator seededFromClock() { return RandomGenerator(clockSeed()); }

  // NextRandom: one xorshift128 step, then R ^= w; returns R.
  std::uint32_t next() {
    const std::uint32_t t = x_ ^ (x_ << 11);
    x_ = y_;
    y_ = z_;
    z_ = w_;
    w_ = w_ ^ (w_ >> 19) ^ t ^ (t >> 8);
    r_ ^= w_;
    return r_;
  }

 private:
  static constexpr std::uint32_t kStartW = 88675123;
  std::uint32_t x_ = 123456789, y_ = 362436069, z_ = 521288629, w_ = kStartW;
  std::uint32_t r_;
};

// The one-in-N test: N >= 2000 never fires and N = 0 always fires, neither drawing a number;
// any other N draws r and fires when r mod N (unsigned) is 0.
bool RateFires(RandomGenerator& random, std::int32_t n);

// min when max = min (no number drawn); otherwise min + (r mod (max - min)), the difference and
// the remainder taken as unsigned 32-bit numbers. The caller cuts the result to its field.
std::uint32_t PickInRange(RandomGenerator& random, std::int32_t min, std::int32_t max);

}  // namespace orvane
