// Reads the cells of an Excel workbook back, as a spreadsheet would: a test's own small reader.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <variant>

namespace evo::test {

// A cell holds a number or a text.
using Cell = std::variant<double, QString>;

struct Sheet {
  QMap<QString, Cell> cells;  // by reference, "A1"
  bool firstRowFrozen = false;
};

// The sheet at index (from 1) of the workbook's bytes; empty when there is none.
Sheet ReadSheet(const QByteArray& workbook, int index);

}  // namespace evo::test
