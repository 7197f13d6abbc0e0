// What the simulation needs of the main window, so that it runs without one in tests, benchmarks
// and repeated runs: the generation counter it advances, and a yield after each generation.
#pragma once

#include <string>

namespace evo {

class WindowPort {
 public:
  virtual ~WindowPort() = default;

  // The caption of LblGencount, the generation counter shown to the user.
  virtual std::string GenerationCounter() const = 0;
  virtual void SetGenerationCounter(const std::string& caption) = 0;

  // Processes all pending window events, then returns.
  virtual void Yield() = 0;
};

// The port of a run with no window: repeated runs and the benchmark. The counter is kept in
// memory, and there is nothing to yield to.
class WindowlessPort final : public WindowPort {
 public:
  std::string GenerationCounter() const override { return counter_; }
  void SetGenerationCounter(const std::string& caption) override { counter_ = caption; }
  void Yield() override {}

 private:
  std::string counter_ = "0";
};

}  // namespace evo
