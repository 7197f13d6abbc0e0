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

}  // namespace evo
