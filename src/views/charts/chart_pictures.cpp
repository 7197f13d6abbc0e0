#include "views/charts/chart_pictures.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSvgGenerator>
#include <algorithm>

#include "common/dialogs.h"
#include "views/charts/chart.h"
#include "views/charts/chart_paper.h"
#include "views/charts/chart_saving.h"

namespace evo {
namespace {

// A picture fit for a printed report even from a screen of ordinary density.
constexpr qreal kLeastImageScale = 2;

// The texts of this unit, in the translation context that lupdate reads them in.
struct ChartPictures {
  Q_DECLARE_TR_FUNCTIONS(evo::ChartPictures)
};

QByteArray SvgOf(const Chart& chart, const QStringList& caption) {
  QBuffer bytes;
  QSvgGenerator svg;
  svg.setOutputDevice(&bytes);
  svg.setSize(kPaperPictureSize);
  svg.setViewBox(QRect(QPoint(0, 0), kPaperPictureSize));
  svg.setTitle(chart.Title());
  svg.setDescription(chart.accessibleDescription());
  QPainter painter(&svg);
  DrawOnPaper(painter, chart, caption);
  painter.end();
  return bytes.data();
}

QByteArray PngOf(const Chart& chart, const QStringList& caption) {
  QBuffer bytes;
  ChartImage(chart, caption).save(&bytes, "PNG");
  return bytes.data();
}

}  // namespace

QImage ChartImage(const Chart& chart, const QStringList& caption) {
  const qreal scale = std::max(chart.devicePixelRatioF(), kLeastImageScale);
  QImage image(kPaperPictureSize * scale, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(scale);
  QPainter painter(&image);
  DrawOnPaper(painter, chart, caption);
  return image;
}

void CopyImage(const Chart& chart, const QStringList& caption) {
  QApplication::clipboard()->setImage(ChartImage(chart, caption));
}

// The type follows the name's suffix: .svg for SVG, any other for PNG.
void SaveImageAs(const Chart& chart, const QStringList& caption, const QString& what,
                 Dialogs& dialogs) {
  const QString path = dialogs.SaveFileName(
      ChartPictures::tr("Save Image As"), SuggestedPath(what, "png"),
      {ChartPictures::tr("PNG image (*.png)"), ChartPictures::tr("SVG image (*.svg)")});
  if (path.isEmpty()) return;
  const bool svg = path.endsWith(".svg", Qt::CaseInsensitive);
  SaveWhole(path, svg ? SvgOf(chart, caption) : PngOf(chart, caption), dialogs);
}

void PrintChart(const Chart& chart, const QStringList& caption, const QString& what,
                Dialogs& dialogs) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(chart.Title());
  // The print dialog's file for "Print to File": a name of the file takes the printer to PDF,
  // which a desktop with a printer of its own is taken back from.
  printer.setOutputFileName(SuggestedPath(what, "pdf"));
  if (!QPrinterInfo::defaultPrinter().isNull()) printer.setOutputFormat(QPrinter::NativeFormat);
  if (!dialogs.ChoosePrinter(printer)) return;
  QPainter painter;
  if (!painter.begin(&printer)) {
    dialogs.Message(ChartPictures::tr("Could not print: the printer could not be opened."));
    return;
  }
  if (!printer.outputFileName().isEmpty()) RememberSaveFolder(printer.outputFileName());
  // The picture keeps its proportions, as wide as the page or as high.
  const QRect page = painter.viewport();
  const QSize fitted = kPaperPictureSize.scaled(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(QRect(page.topLeft(), fitted));
  painter.setWindow(QRect(QPoint(0, 0), kPaperPictureSize));
  DrawOnPaper(painter, chart, caption);
}

}  // namespace evo
