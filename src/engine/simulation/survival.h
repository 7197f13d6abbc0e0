// The survival test of selection, and the forecast of its deaths that aims the fetches ahead.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/record_words.h"

namespace evo {

// A critter survives an examination when its survival draw is below its gene sum divided by the
// divisor, and never with a gene '0'. Each chance is held as the least float at or above it: a
// float draw lies at or above the chance exactly when it lies at or above that float, so the
// draw is compared as it is, without a conversion.
class SurvivalTest {
 public:
  explicit SurvivalTest(float divisor) : divisor_(divisor) {
    for (std::size_t sum = 0; sum < kNoChance; ++sum) {
      const double chance = static_cast<double>(static_cast<float>(sum)) / divisor;
      float threshold = static_cast<float>(chance);
      if (static_cast<double>(threshold) < chance) {
        threshold = std::nextafter(threshold, std::numeric_limits<float>::infinity());
      }
      threshold_[sum] = threshold;
    }
    threshold_[kNoChance] = 0;
  }

  // The least draw with which the examined critter dies.
  float Threshold(Examination examined) const {
    return threshold_[examined.zeroGene ? kNoChance : static_cast<std::size_t>(examined.geneSum)];
  }

  float Divisor() const { return divisor_; }

  // The least threshold of the critters whose marks lie from least to greatest: a draw below it
  // lets any of them live. A threshold that is not a number lets every critter live, so it bounds
  // nothing.
  float LeastThreshold(RecordMark least, RecordMark greatest) const {
    float lowest = std::numeric_limits<float>::infinity();
    if (greatest >= kZeroGeneMark) lowest = threshold_[kNoChance];
    const std::size_t lastSum = std::min<std::size_t>(greatest, kNoChance - 1);
    for (std::size_t sum = least; sum <= lastSum; ++sum) {
      if (threshold_[sum] < lowest) lowest = threshold_[sum];
    }
    return lowest;
  }

 private:
  static constexpr std::size_t kNoChance = kGenes * 9 + 1;  // after the largest gene sum
  float divisor_;
  std::array<float, kNoChance + 1> threshold_{};
};

// The deaths among the coming examinations of selection, foreseen for a block of them from their
// survival draws against the usual threshold of the critters examined in the block before: the
// record count that an examination ahead will find is the count now less the deaths before it.
class DeathForecast {
 public:
  // Foresees the first `steps` examinations of the draws' block from their single draw
  // `survivalDraw`.
  template <typename Draws>
  void Foresee(const Draws& draws, std::size_t survivalDraw, std::size_t steps) {
    foreseenBefore_.resize(steps + 1);
    std::int64_t foreseen = 0;
    for (std::size_t j = 0; j < steps; ++j) {
      foreseenBefore_[j] = foreseen;
      foreseen += draws.Draw(j, survivalDraw) >= usualThreshold_;
    }
    foreseenBefore_[steps] = foreseen;
  }

  // Whether examination `step` of the block is foreseen to kill the critter it examines.
  bool Dies(std::size_t step) const { return DeathsBetween(step, step + 1) != 0; }

  // The deaths foreseen among the examinations from `from` up to, not including, `to`.
  std::int64_t DeathsBetween(std::size_t from, std::size_t to) const {
    return foreseenBefore_[to] - foreseenBefore_[from];
  }

  // An examination of the block met a critter with the given threshold.
  void Met(float threshold) { thresholdSum_ += threshold; }
  // The block's `steps` examinations are made: their thresholds' mean becomes the usual one.
  void Learn(std::size_t steps) {
    usualThreshold_ = thresholdSum_ / static_cast<float>(steps);
    thresholdSum_ = 0;
  }

 private:
  std::vector<std::int64_t> foreseenBefore_;
  float usualThreshold_ = 1;  // none foreseen to die in the first block
  float thresholdSum_ = 0;
};

}  // namespace evo
