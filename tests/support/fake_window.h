// A main window for the engine alone: the parameter boxes' texts and the options as plain values,
// a counter caption, and a yield that counts itself and can run a test's code as the event loop
// would.
#pragma once

#include <functional>
#include <string>

#include "engine/settings/read_settings.h"
#include "engine/simulation/window_port.h"

namespace evo::test {

class FakeWindow : public WindowPort {
 public:
  SettingTexts texts;  // the boxes' texts, at their design-time texts when the window opens
  Options options;
  std::string counter = "0";
  int yields = 0;
  std::function<void()> onYield;

  std::string GenerationCounter() const override { return counter; }
  void SetGenerationCounter(const std::string& caption) override { counter = caption; }
  void Yield() override {
    ++yields;
    if (onYield) onYield();
  }
};

}  // namespace evo::test
