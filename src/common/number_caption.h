#pragma once

#include <QString>

#include "engine/numeric.h"

namespace evo {

// NumberText of x, as the text of a control.
inline QString NumberCaption(double x) {
  return QString::fromStdString(NumberText(x));
}

}  // namespace evo
