// Draws taken from the random source ahead of their use, so that a loop can see the draws of its
// coming steps and fetch the records they will touch before it gets there.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/simulation/random_source.h"

namespace evo {

// The floor of x for 0 <= x < 2^63, where it is the truncation: a conversion, not a call.
inline std::int64_t WholePart(double x) {
  return static_cast<std::int64_t>(x);
}

// The fraction in [0, 1) that the two draws of a record pick make: the coarse part from the second
// draw, the fine part from the first.
inline double FineFraction(float fine, float coarse) {
  return (static_cast<double>(WholePart(static_cast<double>(coarse) * 1000000.0)) +
          static_cast<double>(fine)) /
         1000000.0;
}

// FineFraction of count picks at once, each from its fine and coarse draw, in vector registers
// where the processor has them: a division each, which one at a time would hold up the loops.
void FineFractions(const float* fine, const float* coarse, std::size_t count, double* fractions);

// Record k among 1 to count (count >= 0) for the fraction of a pick.
inline std::int64_t PickAt(std::int64_t count, double fraction) {
  return WholePart(static_cast<double>(count) * fraction) + 1;
}

// The draws of a loop's coming steps, taken from the random source ahead of their use and handed
// to the loop a block of steps at a time. Every step takes the same draws: first kPicks record
// picks of two draws each (the fine draw first), then kOtherDraws single draws. Each pick is kept
// as its fraction, worked out for the whole block at once: a division and a chain of conversions
// that would otherwise hold up the loop's step.
//
// The loop sees, from every step of a block, the step kStepsAhead after it, to fetch the records
// that step will touch before it gets there, and selection the step after the block's last.
// Past the last step in sight lie kStepsAhead + 1 steps of no draws, at 0, so that the loop needs
// no check for them.
//
// It never takes a draw that the loop is not sure to use: the loop says, for every block, how
// many steps it will take at least from then on. So when the loop ends every draw taken has been
// used, and the next operation (or a reseeded source) goes on from exactly where a draw-by-draw
// loop would have left the source.
template <std::size_t kPicks, std::size_t kOtherDraws, std::size_t kStepsAhead>
class StepDraws {
 public:
  explicit StepDraws(RandomSource& random) : random_(random) {}
  StepDraws(const StepDraws&) = delete;
  StepDraws& operator=(const StepDraws&) = delete;

  static constexpr std::size_t kCapacity = 256;  // steps in sight at most

  // The next block, as far as the loop is certain to take stepsLeft more steps (stepsLeft >= 1):
  // the number of its steps, at least one, which the loop takes before it asks for the next
  // block. Step 0 of the block is the one after the last one of the block before.
  std::size_t NextBlock(std::uint64_t stepsLeft) {
    const std::size_t kept = inSight_ - blockSize_;
    MoveToFront(blockSize_, kept);
    // The steps kept were certain when they were drawn, and still are: every step takes at most
    // one off what is certain, so stepsLeft >= kept.
    inSight_ = static_cast<std::size_t>(std::min<std::uint64_t>(kCapacity, stepsLeft));
    DrawSteps(kept, inSight_ - kept);
    ClearPast(inSight_);
    // The steps of the block keep the step kStepsAhead after them in sight, unless no step will
    // follow the ones in sight.
    blockSize_ = inSight_ == stepsLeft ? inSight_ : inSight_ - kStepsAhead;
    return blockSize_;
  }

  // The fraction of pick p of step `step` of the block, and its single draw d.
  double Pick(std::size_t step, std::size_t p) const { return picks_[p][step]; }
  float Draw(std::size_t step, std::size_t d) const { return others_[d][step]; }

 private:
  static constexpr std::size_t kDrawsPerStep = 2 * kPicks + kOtherDraws;
  static_assert(kCapacity > kStepsAhead);
  // Steps of no draws past the last step in sight, which the steps in sight may look at.
  static constexpr std::size_t kPast = kStepsAhead + 1;
  static constexpr std::size_t kRoom = kCapacity + kPast;

  void MoveToFront(std::size_t first, std::size_t count) {
    for (auto& picks : picks_) std::copy_n(picks.begin() + first, count, picks.begin());
    for (auto& others : others_) std::copy_n(others.begin() + first, count, others.begin());
  }

  void DrawSteps(std::size_t first, std::size_t count) {
    random_.DrawMany(raw_.data(), count * kDrawsPerStep);
    std::array<float, kCapacity> fine;
    std::array<float, kCapacity> coarse;
    for (std::size_t p = 0; p < kPicks; ++p) {
      TakeApart(2 * p, count, fine.data());
      TakeApart(2 * p + 1, count, coarse.data());
      FineFractions(fine.data(), coarse.data(), count, picks_[p].data() + first);
    }
    for (std::size_t d = 0; d < kOtherDraws; ++d) {
      TakeApart(2 * kPicks + d, count, others_[d].data() + first);
    }
  }

  // Draw d of each of the first count steps drawn, one after the other.
  void TakeApart(std::size_t d, std::size_t count, float* out) const {
    for (std::size_t i = 0; i < count; ++i) out[i] = raw_[i * kDrawsPerStep + d];
  }

  // Only the steps a loop may look at: clearing the whole room cost a small population more than
  // its draws, every block and for every loop a generation makes.
  void ClearPast(std::size_t first) {
    for (auto& picks : picks_) std::fill_n(picks.begin() + first, kPast, 0.0);
    for (auto& others : others_) std::fill_n(others.begin() + first, kPast, 0.0f);
  }

  // Not cleared at construction: every entry a loop reads is drawn, moved or cleared by
  // NextBlock first.
  RandomSource& random_;
  std::array<std::array<double, kRoom>, kPicks> picks_;
  std::array<std::array<float, kRoom>, kOtherDraws> others_;
  std::array<float, kCapacity * kDrawsPerStep> raw_;
  std::size_t inSight_ = 0;    // steps from step 0 of the block on
  std::size_t blockSize_ = 0;  // steps of the block
};

}  // namespace evo
