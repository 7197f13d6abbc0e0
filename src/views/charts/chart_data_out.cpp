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

// The texts of this unit, in the translation context that lupdate reads them in.
struct ChartDataOut {
  Q_DECLARE_TR_FUNCTIONS(evo::ChartDataOut)
};

}  // namespace

QString CopyCsv(const QByteArray& csv) {
  auto* data = new QMimeData;
  data->setText(QString::fromUtf8(csv));
  data->setData("text/csv", csv);
  QApplication::clipboard()->setMimeData(data);
  const auto rows = std::max<qsizetype>(csv.count('\n') - 1, 0);
  return (rows == 1 ? ChartDataOut::tr("Copied the data of %1 row as CSV")
                    : ChartDataOut::tr("Copied the data of %1 rows as CSV"))
      .arg(rows);
}

void SaveDataAs(const ChartData& data, Dialogs& dialogs) {
  const QString path = dialogs.SaveFileName(
      ChartDataOut::tr("Save Data As"), SuggestedPath(data.subject + "-data", "csv"),
      {ChartDataOut::tr("CSV file (*.csv)"), ChartDataOut::tr("Excel workbook (*.xlsx)")});
  if (path.isEmpty()) return;
  if (!path.endsWith(".xlsx", Qt::CaseInsensitive)) {
    SaveWhole(path, data.csv(), dialogs);
    return;
  }
  const std::optional<QByteArray> book =
      Workbook(data.csv(), data.settings ? data.settings() : std::vector<SettingRow>());
  if (!book) {
    dialogs.Message(ChartDataOut::tr("Could not make the workbook %1.").arg(path));
    return;
  }
  SaveWhole(path, *book, dialogs);
}

}  // namespace evo
