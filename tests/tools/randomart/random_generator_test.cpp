#include "tools/randomart/random_generator.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// The first outputs w of Marsaglia's xorshift128 from its published start values.
constexpr std::uint32_t kPublishedXorshift128[] = {
    3701687786u, 458299110u,  2500872618u, 3633119408u, 516391518u,
    2377269574u, 2599949379u, 717229868u,  137866584u,  395339113u};

TEST(RandomGenerator, FoldsThePublishedSequenceIntoTheRunningValue) {
  RandomGenerator fromZero(0);
  std::uint32_t running = 0;
  for (std::uint32_t w : kPublishedXorshift128) {
    running ^= w;
    EXPECT_EQ(fromZero.next(), running);
  }
  RandomGenerator seeded(0xDEADBEEFu);
  EXPECT_EQ(seeded.next(), 0xDEADBEEFu ^ kPublishedXorshift128[0]);
  EXPECT_EQ(seeded.next(), 0xDEADBEEFu ^ kPublishedXorshift128[0] ^ kPublishedXorshift128[1]);
}

TEST(RandomGenerator, EverySixtyFourBitSeedGivesASequenceOfItsOwn) {
  // Seeds that share their low half but not their high half, and a 32-bit seed beside them.
  RandomGenerator low(5), high(0x1'0000'0005u), higher(0xFFFF'FFFF'0000'0005u);
  bool highDiffers = false, higherDiffers = false;
  for (int i = 0; i < 8; ++i) {
    const std::uint32_t a = low.next(), b = high.next(), c = higher.next();
    highDiffers |= a != b;
    higherDiffers |= b != c;
  }
  EXPECT_TRUE(highDiffers);
  EXPECT_TRUE(higherDiffers);
  // The same 64-bit seed gives the same numbers again.
  RandomGenerator again(0xFFFF'FFFF'0000'0005u), reference(0xFFFF'FFFF'0000'0005u);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(again.next(), reference.next());
}

TEST(RandomGenerator, OneInNDrawsOnlyWhenItMust) {
  RandomGenerator random(7), reference(7);
  EXPECT_FALSE(RateFires(random, 2000));
  EXPECT_FALSE(RateFires(random, 5000));
  EXPECT_TRUE(RateFires(random, 0));
  EXPECT_EQ(random.next(), reference.next());  // none of the three drew a number

  EXPECT_TRUE(RateFires(random, 1));
  reference.next();
  for (int i = 0; i < 200; ++i) {
    const std::uint32_t r = reference.next();
    EXPECT_EQ(RateFires(random, 7), r % 7 == 0);
  }
  // A negative rate is taken as unsigned, like every other rate.
  const std::uint32_t r = reference.next();
  EXPECT_EQ(RateFires(random, -3), r % 0xFFFFFFFDu == 0);
}

TEST(RandomGenerator, PicksInARangeAsUnsignedNumbers) {
  RandomGenerator random(99), reference(99);
  EXPECT_EQ(PickInRange(random, 64, 64), 64u);  // no number drawn
  EXPECT_EQ(PickInRange(random, 5, 9), 5 + reference.next() % 4);
  // A minimum above its maximum spreads over a huge unsigned difference.
  EXPECT_EQ(PickInRange(random, 10, 3), 10u + reference.next() % (3u - 10u));
  for (int i = 0; i < 100; ++i) {
    const std::uint32_t v = PickInRange(random, 0, 64);
    EXPECT_LT(v, 64u);
    reference.next();
  }
  EXPECT_EQ(random.next(), reference.next());
}

}  // namespace
}  // namespace orvane
