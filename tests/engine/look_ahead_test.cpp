// What the loops see of their coming steps. A fault here changes no result, since the steps ahead
// only aim the fetches into the cache: it only makes every generation slower.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/simulation/draw_ahead.h"
#include "engine/simulation/survival.h"

namespace evo::test {
namespace {

class CountingSource final : public RandomSource {
 public:
  float Draw() override {
    ++draws;
    return twister_.Draw();
  }
  void SeedFromTimeOfDay(float) override {}
  std::uint64_t draws = 0;

 private:
  TwisterRandomSource twister_{11};
};

// Blocks taken as selection takes them: the steps certain to come shrink by one for about every
// fourth step taken. Each step's view kAhead on, and the block's end's view, which selection takes
// for its last step, is the step drawn there or a step of no draws, never one of a block before.
template <std::size_t kAhead>
void ExpectEveryStepInOrderAndTheOneAheadWheneverItIsCertainToCome() {
  std::vector<float> expected(3 * 5000);  // more steps than the 4000 or so taken
  TwisterRandomSource(11).DrawMany(expected.data(), expected.size());
  CountingSource source;
  StepDraws<1, 1, kAhead> draws(source);
  std::uint64_t taken = 0;
  for (std::uint64_t certain = 1000; certain > 0;) {
    const std::size_t block = draws.NextBlock(certain);
    ASSERT_GE(block, 1u);
    ASSERT_LE(source.draws, 3 * (taken + certain)) << "a draw that may never be used";
    const std::uint64_t inSight = source.draws / 3;
    for (std::size_t j = 0; j <= block; ++j) {
      const std::uint64_t step = taken + j;
      if (j < block) {
        ASSERT_EQ(draws.Pick(j, 0), FineFraction(expected[3 * step], expected[3 * step + 1]));
        ASSERT_EQ(draws.Draw(j, 0), expected[3 * step + 2]);
      }
      const std::uint64_t ahead = step + kAhead;
      if (j < block && ahead < taken + certain) {
        ASSERT_LT(ahead, inSight) << "the step ahead out of sight";
      }
      ASSERT_EQ(draws.Pick(j + kAhead, 0),
                ahead < inSight ? FineFraction(expected[3 * ahead], expected[3 * ahead + 1]) : 0.0)
          << "step " << step << " sees step " << ahead;
    }
    taken += block;
    certain -= (block + 3) / 4;
  }
  EXPECT_GT(taken, 3000u);
}

TEST(StepDrawsTest, ShowsEveryStepInOrderAndTheOneAheadWheneverItIsCertainToCome) {
  ExpectEveryStepInOrderAndTheOneAheadWheneverItIsCertainToCome<32>();
}

// Without looking ahead, as the loops over a pool in the caches take them: the blocks shrink to a
// step or two at the end, after blocks of 256 that filled the room.
TEST(StepDrawsTest, ShowsOnlyStepsOfNoDrawsPastASmallBlockWithoutLookingAhead) {
  ExpectEveryStepInOrderAndTheOneAheadWheneverItIsCertainToCome<0>();
}

// Three blocks of four examinations: none foreseen to die before a block has been examined, then
// every draw at or above the mean threshold of the block before.
TEST(DeathForecastTest, ForeseesTheDrawsAtOrAboveTheUsualThresholdOfTheBlockBefore) {
  struct Block {
    std::vector<float> survivalDraws;
    float Draw(std::size_t step, std::size_t) const { return survivalDraws[step]; }
  };
  DeathForecast forecast;
  forecast.Foresee(Block{{0.9f, 0.1f, 0.99f, 0.5f}}, 0, 4);
  EXPECT_EQ(forecast.DeathsBetween(0, 4), 0);
  for (const float threshold : {0.5f, 0.75f, 0.75f, 0.5f}) forecast.Met(threshold);
  forecast.Learn(4);
  forecast.Foresee(Block{{0.6f, 0.625f, 0.1f, 0.95f}}, 0, 4);
  EXPECT_FALSE(forecast.Dies(0));
  EXPECT_TRUE(forecast.Dies(1));
  EXPECT_FALSE(forecast.Dies(2));
  EXPECT_TRUE(forecast.Dies(3));
  EXPECT_EQ(forecast.DeathsBetween(1, 4), 2);
  EXPECT_EQ(forecast.DeathsBetween(2, 3), 0);
}

}  // namespace
}  // namespace evo::test
