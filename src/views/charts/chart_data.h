// The data behind a chart, which its menu copies, saves and prints.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace evo {

// A setting that made the figures, by name, as a workbook lists them beside its data.
struct SettingRow {
  QString name;
  QString value;
};

// Taken when it is asked for: it may grow while the chart is open.
struct ChartData {
  // What the names of the files saved say: "gene-counts" for
  // evolution-gene-counts-2026-12-09-1412.png and evolution-gene-counts-data-2026-12-09-1412.csv.
  QString subject;
  std::function<QByteArray()> csv;       // with a first line naming the columns
  std::function<QStringList()> caption;  // of a picture: what the figures were made with
  std::function<std::vector<SettingRow>()> settings;  // the same, for a workbook
};

}  // namespace evo
