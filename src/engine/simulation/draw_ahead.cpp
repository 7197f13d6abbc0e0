#include "engine/simulation/draw_ahead.h"

#include <cmath>

#include "engine/processor_levels.h"

namespace evo {

// The truncation of a non-negative double is its WholePart. The file is built without trapping
// floating-point arithmetic, which the program never asks about, so that the compiler may round
// and divide four numbers at once.
EVO_FOR_EACH_PROCESSOR_LEVEL void FineFractions(const float* fine, const float* coarse,
                                                std::size_t count, double* fractions) {
  for (std::size_t i = 0; i < count; ++i) {
    fractions[i] =
        (std::trunc(static_cast<double>(coarse[i]) * 1000000.0) + static_cast<double>(fine[i])) /
        1000000.0;
  }
}

}  // namespace evo
