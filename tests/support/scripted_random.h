// A random source for tests: draws come from a script, then from a fixed value, and every draw
// is counted.
#pragma once

#include <deque>

#include "engine/simulation/random_source.h"

namespace evo::test {

class ScriptedRandom : public RandomSource {
 public:
  std::deque<float> script;  // the next draws, in order
  float afterScript = 0.5f;  // every draw once the script is used up
  long draws = 0;

  // A scripted source keeps its script whatever the time.
  void SeedFromTimeOfDay(float /*secondsSinceMidnight*/) override {}

  float Draw() override {
    ++draws;
    if (script.empty()) return afterScript;
    const float value = script.front();
    script.pop_front();
    return value;
  }
};

}  // namespace evo::test
