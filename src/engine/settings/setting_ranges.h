// What each setting accepts, in one table for every field that checks it: the main window's
// boxes, Repeated Runs' compared values, and the repeated runs themselves.
#pragma once

#include <optional>

#include "engine/setting.h"
#include "engine/settings/run_settings.h"

namespace evo {

struct SettingRange {
  double least;
  double most;
  bool whole;  // taken as a whole number: the main window's fields keep only the whole part

  bool Holds(double value) const { return value >= least && value <= most; }
};

// What the main window takes: a population of 10 to 1000000 critters, a probability from 0 to 1,
// a starting gene value from 1 to 8, and as many mutations per cycle and generations as the
// simulation holds (a count below 1 makes none).
SettingRange AcceptedRange(Setting setting);

// The first setting that a run uses and its range does not hold (generations are a fixed-length
// run's only), in the order of the main window's fields; nothing when every one is held.
std::optional<Setting> FirstRefused(const RunSettings& settings);

}  // namespace evo
