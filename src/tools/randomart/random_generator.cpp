#include "tools/randomart/random_generator.h"

#include <chrono>
#include <cstdlib>

namespace orvane {

std::uint32_t RandomGenerator::clockSeed() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  std::srand(unsigned(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
  std::uint32_t seed = 0;
  for (int i = 0; i < 4; ++i) seed |= std::uint32_t((std::rand() >> 2) & 0xFF) << (8 * i);
  return seed;
}

bool RateFires(RandomGenerator& random, std::int32_t n) {
  if (n >= 2000) return false;
  if (n == 0) return true;
  return random.next() % std::uint32_t(n) == 0;
}

std::uint32_t PickInRange(RandomGenerator& random, std::int32_t min, std::int32_t max) {
  if (max == min) return std::uint32_t(min);
  return std::uint32_t(min) + random.next() % (std::uint32_t(max) - std::uint32_t(min));
}

}  // namespace orvane
