// The sentences in which the program tells the user what went wrong or what it refused, in one
// place and through Qt's translation: the engine reports what happened as data, and the windows
// say it in these words.
#pragma once

#include <QString>

#include "engine/engine_error.h"
#include "engine/setting.h"

namespace evo {

// The sentence of a problem that the engine reported.
QString Sentence(const Problem& problem);

// What the main window's field of the setting says when it refuses value: "values must be greator
// than 9", "value must be a million or less", "Probabilities are only in range 0 to 1", "values
// must be in range 1 to 8"; for a setting the main window does not check, what the simulation
// holds of it.
QString Refusal(Setting setting, double value);

// A view's population size that no record number reaches.
QString ViewedSizeRefusal();

// What a command needs that is not there.
QString NoPopulationMessage();
QString RunInProgressMessage();

}  // namespace evo
