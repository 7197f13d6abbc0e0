// The source of uniform random draws of the simulation.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

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

// The tempering of the Mersenne Twister, which makes an output of a word of its state.
inline std::uint32_t TemperTwisterWord(std::uint32_t y) {
  y ^= y >> 11;
  y ^= (y << 7) & 0x9d2c5680u;
  y ^= (y << 15) & 0xefc60000u;
  return y ^ (y >> 18);
}

// A draw from an output: its top 24 bits, which a float holds exactly, so the largest draw is
// 1 - 2^-24, never 1.0. Converted as a signed number, which every vector unit converts.
inline float DrawFromOutput(std::uint32_t output) {
  return static_cast<float>(static_cast<std::int32_t>(output >> 8)) * 0x1p-24f;
}

// The words of the Mersenne Twister's state.
inline constexpr std::size_t kTwisterWords = 624;

// The loops over the Mersenne Twister's words, free functions so that each is built for the
// baseline processor and for AVX2, the one that fits chosen at start-up.
//
// Replaces the words of a state with the next ones.
void RegenerateTwisterState(std::uint32_t* state);
// The draws of count untempered words of a state, in order.
void DrawsFromTwisterWords(const std::uint32_t* words, float* out, std::size_t count);

// The 32-bit Mersenne Twister, output for output the standard library's std::mt19937 (period
// 2^19937 - 1, so a million critters never see it repeat), with its state in 32-bit words so
// that refilling the state and tempering a batch of outputs run in vector registers.
class Mt19937 {
 public:
  explicit Mt19937(std::uint32_t seed) { Seed(seed); }

  void Seed(std::uint32_t seed);

  std::uint32_t operator()() {
    if (next_ == kWords) Regenerate();
    return TemperTwisterWord(state_[next_++]);
  }

  // The words of the state behind the next outputs, untempered and used up: as many as
  // wanted (> 0), or fewer, at least one, where the state must be regenerated first.
  std::span<const std::uint32_t> TakeWords(std::size_t wanted);

 private:
  static constexpr std::size_t kWords = kTwisterWords;

  void Regenerate() {
    RegenerateTwisterState(state_.data());
    next_ = 0;
  }

  std::array<std::uint32_t, kWords> state_{};
  std::size_t next_ = kWords;
};

// Draws from a Mersenne Twister, one output each.
class TwisterRandomSource final : public RandomSource {
 public:
  explicit TwisterRandomSource(std::uint32_t seed = 0) : generator_(seed) {}

  void SeedFromTimeOfDay(float secondsSinceMidnight) override;

  float Draw() override { return DrawFromOutput(generator_()); }
  void DrawMany(float* out, std::size_t count) override;

 private:
  Mt19937 generator_;
};

// Seconds since local midnight, with the fraction of the current second.
float SecondsSinceMidnight();

}  // namespace evo
