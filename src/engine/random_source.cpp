#include "engine/random_source.h"

#include <bit>
#include <chrono>
#include <ctime>

namespace evo {

void TwisterRandomSource::SeedFromTimeOfDay(float secondsSinceMidnight) {
  generator_.seed(std::bit_cast<std::uint32_t>(secondsSinceMidnight));
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
