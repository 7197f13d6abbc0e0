// Draws taken from the random source ahead of their use, so that a loop can see the draws of its
// coming steps and fetch the records they will touch before it gets there.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/random_source.h"

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

// Record k among 1 to count (count >= 0) for the fraction of a pick.
inline std::int64_t PickAt(std::int64_t count, double fraction) {
  return WholePart(static_cast<double>(count) * fraction) + 1;
}

// The fraction of a record pick from its two draws, which stand together, the fine one first.
inline double PickFraction(const float* pick) {
  return FineFraction(pick[0], pick[1]);
}

// Record k among 1 to count (count >= 0) for the two draws of a pick.
inline std::int64_t PickFrom(std::int64_t count, const float* pick) {
  return PickAt(count, PickFraction(pick));
}

// Within a record or two of the pick, for a fetch into the cache: the fine part, which moves the
// pick by less than count / 1000000 records, is left out, and so is the division.
inline std::int64_t PickNear(std::int64_t count, const float* pick) {
  return WholePart(static_cast<double>(count) * static_cast<double>(pick[1])) + 1;
}

// A window on the coming draws of a loop whose every step takes kDrawsPerStep draws: the loop
// sees the draws of the step kStepsAhead after the next one, to fetch the records that step will
// touch before it gets there. It never takes a draw that the loop is not sure to use: the loop
// says, whenever it looks ahead, how many steps it will take at least from then on. So when the
// loop ends every draw taken has been used, and the next operation (or a reseeded source) goes on
// from exactly where a draw-by-draw loop would have left the source.
template <std::size_t kDrawsPerStep, std::size_t kStepsAhead>
class StepDraws {
 public:
  explicit StepDraws(RandomSource& random) : random_(random) {}
  StepDraws(const StepDraws&) = delete;
  StepDraws& operator=(const StepDraws&) = delete;

  // Keeps the draws of the next step and of kStepsAhead more in sight, refilling when fewer are
  // left, as far as the loop is certain to take stepsLeft more steps (stepsLeft >= 1); true when
  // the step kStepsAhead on is in sight.
  bool SeesAhead(std::uint64_t stepsLeft) {
    if (Available() < kWindow) Refill(stepsLeft * kDrawsPerStep);
    return Available() >= kWindow;
  }

  // The draws of the step kStepsAhead after the next one, when SeesAhead said so.
  const float* Ahead() const { return draws_.data() + next_ + kDrawsPerStep * kStepsAhead; }

  // The draws of the next step without using them up, or null when they are not in sight yet.
  const float* PeekNext() const {
    return Available() >= kDrawsPerStep ? draws_.data() + next_ : nullptr;
  }

  // The draws of the next step, used up; after SeesAhead.
  const float* Take() {
    const float* step = draws_.data() + next_;
    next_ += kDrawsPerStep;
    return step;
  }

 private:
  static constexpr std::size_t kWindow = kDrawsPerStep * (kStepsAhead + 1);
  static constexpr std::size_t kCapacity = 1024;
  static_assert(kWindow <= kCapacity);

  std::size_t Available() const { return end_ - next_; }

  // Tops the window up, up to its capacity, with no more draws than certain in all.
  void Refill(std::uint64_t certain) {
    const std::size_t kept = Available();
    std::memmove(draws_.data(), draws_.data() + next_, kept * sizeof(float));
    next_ = 0;
    end_ = kept;
    const std::size_t wanted =
        static_cast<std::size_t>(std::min<std::uint64_t>(draws_.size(), certain));
    if (wanted > kept) {
      random_.DrawMany(draws_.data() + kept, wanted - kept);
      end_ = wanted;
    }
  }

  RandomSource& random_;
  std::array<float, kCapacity> draws_{};
  std::size_t next_ = 0;
  std::size_t end_ = 0;
};

}  // namespace evo
