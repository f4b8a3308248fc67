#pragma once

#include <cstdint>

namespace orvane {

// The shape fitting's own generator (splitmix64): every search thread and every layer gets a
// stream of its own from the run's seed, so a run repeats exactly for one seed and thread
// count. (The evolution's generator varies only its folded value with the seed, so its
// streams for nearby seeds are alike; restarts need unrelated ones.)
class FitRandom {
 public:
  explicit FitRandom(std::uint64_t seed = 0) : state_(seed) {}
  // A stream seeded from several numbers, e.g. the run's seed, a layer and a thread.
  static FitRandom streamOf(std::uint64_t a, std::uint64_t b, std::uint64_t c) {
    FitRandom mixer(a);
    const std::uint64_t first = mixer.next64() ^ b;
    FitRandom second(first);
    return FitRandom(second.next64() ^ (c * 0x9E3779B97F4A7C15ull));
  }

  std::uint64_t next64() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, n) for n > 0 (multiply and shift: no division, a bias below 2^-32).
  std::uint32_t below(std::uint32_t n) {
    return std::uint32_t(((next64() >> 32) * std::uint64_t(n)) >> 32);
  }
  // Uniform in [lo, hi], both inclusive.
  int between(int lo, int hi) { return lo + int(below(std::uint32_t(hi - lo + 1))); }
  // Uniform in [0, 1).
  double unit() { return double(next64() >> 11) * 0x1.0p-53; }

 private:
  std::uint64_t state_;
};

}  // namespace orvane
