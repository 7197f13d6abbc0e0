// Data as an Excel workbook, which a spreadsheet reads the same in every language: numbers are
// numbers in it, not texts that a German or a French spreadsheet reads with its own decimal mark.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "views/charts/chart_data.h"

namespace evo {

// A workbook of two sheets: "Data", the rows of csv with each field that is a number written as
// a number, the first row (the columns' names) frozen; and "Settings", the settings by name and
// the program's version. Nothing when it could not be made.
std::optional<QByteArray> Workbook(const QByteArray& csv, const std::vector<SettingRow>& settings);

}  // namespace evo
