#include "views/charts/chart_data_out.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QMimeData>
#include <algorithm>

#include "common/dialogs.h"
#include "views/charts/chart_saving.h"
#include "views/charts/workbook.h"

namespace evo {
namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("evo::ChartDataOut", text);
}

}  // namespace

QString CopyCsv(const QByteArray& csv) {
  auto* data = new QMimeData;
  data->setText(QString::fromUtf8(csv));
  data->setData("text/csv", csv);
  QApplication::clipboard()->setMimeData(data);
  const auto rows = std::max<qsizetype>(csv.count('\n') - 1, 0);
  return (rows == 1 ? Tr("Copied the data of %1 row as CSV")
                    : Tr("Copied the data of %1 rows as CSV"))
      .arg(rows);
}

void SaveDataAs(const ChartData& data, Dialogs& dialogs) {
  const QString path =
      dialogs.SaveFileName(Tr("Save Data As"), SuggestedPath(data.subject + "-data", "csv"),
                           {Tr("CSV file (*.csv)"), Tr("Excel workbook (*.xlsx)")});
  if (path.isEmpty()) return;
  if (!path.endsWith(".xlsx", Qt::CaseInsensitive)) {
    SaveWhole(path, data.csv(), dialogs);
    return;
  }
  const std::optional<QByteArray> book =
      Workbook(data.csv(), data.settings ? data.settings() : std::vector<SettingRow>());
  if (!book) {
    dialogs.Message(Tr("Could not make the workbook %1.").arg(path));
    return;
  }
  SaveWhole(path, *book, dialogs);
}

}  // namespace evo
