// The source of uniform random draws of the simulation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

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

// The 32-bit Mersenne Twister, output for output the standard library's std::mt19937 (period
// 2^19937 - 1, so a million critters never see it repeat), with its state in 32-bit words so
// that refilling the state and tempering a batch of outputs run in vector registers.
class Mt19937 {
 public:
  explicit Mt19937(std::uint32_t seed) { Seed(seed); }

  void Seed(std::uint32_t seed);

  std::uint32_t operator()() {
    if (next_ == kWords) Regenerate();
    return Temper(state_[next_++]);
  }

  // The next count outputs, each shifted right by shift bits.
  void Fill(std::uint32_t* out, std::size_t count, int shift);

 private:
  static constexpr std::size_t kWords = 624;

  static std::uint32_t Temper(std::uint32_t y) {
    y ^= y >> 11;
    y ^= (y << 7) & 0x9d2c5680u;
    y ^= (y << 15) & 0xefc60000u;
    return y ^ (y >> 18);
  }
  void Regenerate();

  std::array<std::uint32_t, kWords> state_{};
  std::size_t next_ = kWords;
};

// Draws from a Mersenne Twister. Each draw takes the top 24 bits of one output, which a float
// holds exactly: the largest draw is 1 - 2^-24, never 1.0.
class TwisterRandomSource final : public RandomSource {
 public:
  explicit TwisterRandomSource(std::uint32_t seed = 0) : generator_(seed) {}

  void SeedFromTimeOfDay(float secondsSinceMidnight) override;

  float Draw() override { return static_cast<float>(generator_() >> 8) * 0x1p-24f; }
  void DrawMany(float* out, std::size_t count) override;

 private:
  Mt19937 generator_;
};

// Seconds since local midnight, with the fraction of the current second.
float SecondsSinceMidnight();

}  // namespace evo
