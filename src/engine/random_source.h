// The source of uniform random draws of the simulation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>

namespace evo {

// Uniform single-precision draws in [0, 1).
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual float Draw() = 0;

  // The next count draws into out, in order, exactly as count calls of Draw would give them: one
  // call per batch instead of one per draw, for the loops that know how many draws they take.
  virtual void DrawMany(float* out, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) out[i] = Draw();
  }

  // Seeds from a time of day in seconds since midnight, as a single-precision number.
  virtual void SeedFromTimeOfDay(float secondsSinceMidnight) = 0;
};

// A Mersenne Twister (period 2^19937 - 1, so a million critters never see it repeat). Each draw
// takes the top 24 bits of one output, which a float holds exactly: the largest draw is
// 1 - 2^-24, never 1.0.
class TwisterRandomSource final : public RandomSource {
 public:
  explicit TwisterRandomSource(std::uint32_t seed = 0) : generator_(seed) {}

  void SeedFromTimeOfDay(float secondsSinceMidnight) override;

  float Draw() override { return Next(); }
  void DrawMany(float* out, std::size_t count) override {
    for (std::size_t i = 0; i < count; ++i) out[i] = Next();
  }

 private:
  float Next() { return static_cast<float>(generator_() >> 8) * 0x1p-24f; }

  std::mt19937 generator_;
};

// Seconds since local midnight, with the fraction of the current second.
float SecondsSinceMidnight();

}  // namespace evo
