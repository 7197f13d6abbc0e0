// A main window for the engine alone: boxes and options as plain values, a counter caption, and
// a yield that counts itself and can run a test's code as the event loop would.
#pragma once

#include <functional>
#include <map>
#include <string>

#include "engine/loops/window_port.h"

namespace evo::test {

class FakeWindow : public WindowPort {
 public:
  // The boxes' texts when the window opens.
  std::map<ParameterBox, std::string> boxes = {{ParameterBox::PopSize, "100"},
                                               {ParameterBox::GoodFactor, ".1"},
                                               {ParameterBox::MutateNum, "10"},
                                               {ParameterBox::GenNum, "50"},
                                               {ParameterBox::StartNum, "7"}};
  bool mutationOn = true;
  bool sexOn = true;
  std::string counter = "0";
  int yields = 0;
  std::function<void()> onYield;

  std::string BoxText(ParameterBox box) const override { return boxes.at(box); }
  bool MutationOn() const override { return mutationOn; }
  bool SexOn() const override { return sexOn; }
  std::string GenerationCounter() const override { return counter; }
  void SetGenerationCounter(const std::string& caption) override { counter = caption; }
  void Yield() override {
    ++yields;
    if (onYield) onYield();
  }
};

}  // namespace evo::test
