#include "engine/simulation/random_source.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <ctime>

#include "engine/processor_levels.h"

namespace evo {

void Mt19937::Seed(std::uint32_t seed) {
  state_[0] = seed;
  for (std::uint32_t i = 1; i < kWords; ++i) {
    state_[i] = 1812433253u * (state_[i - 1] ^ (state_[i - 1] >> 30)) + i;
  }
  next_ = kWords;
}

// Word i becomes a mix of words i and i + 1 with word i + 397, all indices modulo 624. Split at
// the wrap-arounds, each loop reads only words that it has not yet replaced or that an earlier
// loop has, so each runs as a plain vector loop.
EVO_FOR_EACH_PROCESSOR_LEVEL void RegenerateTwisterState(std::uint32_t* w) {
  constexpr std::size_t kWords = kTwisterWords;
  constexpr std::size_t kShift = 397;
  const auto mix = [](std::uint32_t word, std::uint32_t following, std::uint32_t far) {
    const std::uint32_t y = (word & 0x80000000u) | (following & 0x7fffffffu);
    return far ^ (y >> 1) ^ ((y & 1u) * 0x9908b0dfu);
  };
  for (std::size_t i = 0; i < kWords - kShift; ++i) w[i] = mix(w[i], w[i + 1], w[i + kShift]);
  for (std::size_t i = kWords - kShift; i < kWords - 1; ++i) {
    w[i] = mix(w[i], w[i + 1], w[i + kShift - kWords]);
  }
  w[kWords - 1] = mix(w[kWords - 1], w[0], w[kShift - 1]);
}

EVO_FOR_EACH_PROCESSOR_LEVEL void DrawsFromTwisterWords(const std::uint32_t* words, float* out,
                                                        std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) out[i] = DrawFromOutput(TemperTwisterWord(words[i]));
}

std::span<const std::uint32_t> Mt19937::TakeWords(std::size_t wanted) {
  if (next_ == kWords) Regenerate();
  const std::size_t taken = std::min(wanted, kWords - next_);
  const std::span<const std::uint32_t> words(state_.data() + next_, taken);
  next_ += taken;
  return words;
}

void TwisterRandomSource::DrawMany(float* out, std::size_t count) {
  while (count > 0) {
    const std::span<const std::uint32_t> words = generator_.TakeWords(count);
    DrawsFromTwisterWords(words.data(), out, words.size());
    out += words.size();
    count -= words.size();
  }
}

void TwisterRandomSource::SeedFromTimeOfDay(float secondsSinceMidnight) {
  generator_.Seed(std::bit_cast<std::uint32_t>(secondsSinceMidnight));
}

float SecondsSinceMidnight() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const std::time_t wholeSeconds = system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&wholeSeconds, &local);
  const double fraction = duration<double>(now - system_clock::from_time_t(wholeSeconds)).count();
  return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + fraction);
}

}  // namespace evo
