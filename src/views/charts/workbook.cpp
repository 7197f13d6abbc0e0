#include "views/charts/workbook.h"

#include <xlsxwriter.h>

#include <QFile>
#include <QTemporaryDir>
#include <charconv>
#include <cmath>

namespace evo {
namespace {

// The number a field of the program's CSV holds, written with '.' whatever the locale; nothing
// for a text.
std::optional<double> NumberIn(const QByteArray& field) {
  if (field.isEmpty()) return std::nullopt;
  double number = 0;
  const char* end = field.constData() + field.size();
  const auto read = std::from_chars(field.constData(), end, number);
  if (read.ec != std::errc() || read.ptr != end || !std::isfinite(number)) return std::nullopt;
  return number;
}

void WriteCell(lxw_worksheet* sheet, lxw_row_t row, lxw_col_t column, const QByteArray& text) {
  if (const std::optional<double> number = NumberIn(text)) {
    worksheet_write_number(sheet, row, column, *number, nullptr);
  } else if (!text.isEmpty()) {
    worksheet_write_string(sheet, row, column, text.constData(), nullptr);
  }
}

}  // namespace

std::optional<QByteArray> Workbook(const QByteArray& csv, const std::vector<SettingRow>& settings) {
  const QTemporaryDir folder;
  if (!folder.isValid()) return std::nullopt;
  const QByteArray path = QFile::encodeName(folder.filePath("data.xlsx"));
  lxw_workbook* book = workbook_new(path.constData());
  if (book == nullptr) return std::nullopt;
  lxw_worksheet* data = workbook_add_worksheet(book, "Data");
  lxw_row_t row = 0;
  for (const QByteArray& line : csv.split('\n')) {
    const QByteArray trimmed = line.endsWith('\r') ? line.chopped(1) : line;
    if (trimmed.isEmpty()) continue;
    lxw_col_t column = 0;
    for (const QByteArray& field : trimmed.split(',')) WriteCell(data, row, column++, field);
    ++row;
  }
  worksheet_freeze_panes(data, 1, 0);
  lxw_worksheet* sheet = workbook_add_worksheet(book, "Settings");
  row = 0;
  for (const SettingRow& setting : settings) {
    WriteCell(sheet, row, 0, setting.name.toUtf8());
    WriteCell(sheet, row++, 1, setting.value.toUtf8());
  }
  worksheet_write_string(sheet, row, 0, "program version", nullptr);
  worksheet_write_string(sheet, row, 1, EVOLUTION_VERSION, nullptr);
  if (workbook_close(book) != LXW_NO_ERROR) return std::nullopt;
  QFile written(QString::fromLocal8Bit(path));
  if (!written.open(QIODevice::ReadOnly)) return std::nullopt;
  return written.readAll();
}

}  // namespace evo
