// The words in which Repeated Runs tells of a batch: the settings by name, their values as the
// user writes them, the caption of a batch, the figures of its runs.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "engine/runs/compared_runs.h"
#include "engine/setting.h"
#include "views/charts/chart_data.h"

namespace evo {

// The setting as Repeated Runs names it: "good mutation probability".
QString SettingName(Setting setting);

// A value as the program writes a number, without the blank of its sign: whole numbers in full
// ("1000000"), fractions without the 0 before the point (".05"), 0 for -0. A value held in single
// precision is written as the shortest decimal that it is the nearest float of: .1f as ".1".
QString ValueText(double value);
QString ValueText(float value);

// "1 run", "2 runs".
QString RunsText(std::int64_t runs);

// A figure of the runs: whole numbers as they are, others to a tenth.
QString RunFigure(double value);

// A group's name: the compared setting and the value ("good mutation probability .05"), or
// nothing when none is compared.
QString GroupName(const BatchRequest& request, const RunGroup& group);

// The lines of a caption of what made the runs: the main window's settings but the one compared,
// the runs, the limit and the seed, and what was compared with its values.
QStringList BatchCaption(const BatchRequest& request);
// The same by name, for a workbook: every setting of the runs, the compared one with its values.
std::vector<SettingRow> BatchSettingRows(const BatchRequest& request);

// How a batch ended: how many runs and how long, or how many were finished when it was cancelled
// or stopped by a failure.
enum class BatchEnd { Whole, Cancelled, Failed };
QString BatchEndSentence(BatchEnd end, std::int64_t finished, std::int64_t planned, double seconds);

// The median generations to the end of each group, in a sentence.
QString MediansSentence(const BatchRequest& request, const std::vector<RunGroup>& groups);

}  // namespace evo
