// The data behind a chart, taken out: to the clipboard, or to a file as CSV or as a workbook.
#pragma once

#include <QByteArray>
#include <QString>

#include "views/charts/chart_data.h"

namespace evo {

class Dialogs;

// Puts CSV on the clipboard, as plain text and as text/csv, and returns what the user is told of
// it: "Copied the data of 51 rows as CSV".
QString CopyCsv(const QByteArray& csv);

// Asks where to save the data, as CSV or as an Excel workbook (Workbook), in SaveFolder() with a
// name that says what and when (evolution-gene-counts-data-2026-12-09-1412.csv), and writes it
// whole (SaveWhole). The type follows the name's suffix: .xlsx for a workbook, any other for CSV.
void SaveDataAs(const ChartData& data, Dialogs& dialogs);

}  // namespace evo
