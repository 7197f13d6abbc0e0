// What the simulation needs of the main window, so that it runs without one in tests and
// benchmarks.
#pragma once

#include <string>

namespace evo {

enum class ParameterBox { PopSize, GoodFactor, MutateNum, GenNum, StartNum };

class WindowPort {
 public:
  virtual ~WindowPort() = default;

  virtual std::string BoxText(ParameterBox box) const = 0;
  virtual bool MutationOn() const = 0;  // OptMutationOn selected
  virtual bool SexOn() const = 0;       // OptSexOn selected

  // The caption of LblGencount, the generation counter shown to the user.
  virtual std::string GenerationCounter() const = 0;
  virtual void SetGenerationCounter(const std::string& caption) = 0;

  // Processes all pending window events, then returns.
  virtual void Yield() = 0;
};

}  // namespace evo
