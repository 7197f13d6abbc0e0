#include "views/charts/chart_menu.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSvgGenerator>
#include <QWidget>
#include <algorithm>

#include "common/desktop_conventions.h"
#include "common/dialogs.h"
#include "common/window_look.h"
#include "views/charts/chart.h"
#include "views/charts/chart_paper.h"

namespace evo {
namespace {

// A picture fit for a printed report even from a screen of ordinary density.
constexpr qreal kLeastImageScale = 2;

// In the documents folder: evolution-2026-12-09-1412.csv, evolution-gene-counts-2026-...png.
QString SuggestedPath(const QString& subject, const QString& suffix) {
  QString name = "evolution-";
  if (!subject.isEmpty()) name += subject + "-";
  name += QDateTime::currentDateTime().toString("yyyy-MM-dd-HHmm") + "." + suffix;
  return QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)).filePath(name);
}

// Hands the device everything, however many writes it takes; the write that fails leaves the
// device's error saying why.
bool WriteAll(QIODevice& device, const QByteArray& bytes) {
  for (qint64 written = 0; written < bytes.size();) {
    const qint64 now = device.write(bytes.constData() + written, bytes.size() - written);
    if (now <= 0) return false;
    written += now;
  }
  return true;
}

// Writes through a temporary file beside the target, which replaces it only once everything is
// written; unbuffered, so that no failure hides in a buffer flushed at the end.
void SaveWhole(const QString& path, const QByteArray& bytes, Dialogs& dialogs) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteAll(file, bytes) &&
      file.commit()) {
    return;
  }
  dialogs.Message("Could not save " + QDir::toNativeSeparators(path) + ": " + file.errorString());
}

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

// A frame on the edge of a chart that has the focus, where the chart draws nothing else, in the
// colour of the chart's marks: the palette's highlight, brought to 3:1 against the window where the
// palette leaves it fainter (qt6ct's "darker" scheme). A focus frame, which screen readers are not
// shown as a nameless part of the chart.
class ChartFocusFrame : public QFocusFrame {
 public:
  explicit ChartFocusFrame(QWidget& chart) : QFocusFrame(&chart) { hide(); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setPen(QPen(ChartMarkColour(palette()), 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
  }
};

QString CopyCsv(const QByteArray& csv) {
  auto* data = new QMimeData;
  data->setText(QString::fromUtf8(csv));
  data->setData("text/csv", csv);
  QApplication::clipboard()->setMimeData(data);
  const auto rows = std::max<qsizetype>(csv.count('\n') - 1, 0);
  return QString("Copied the data of %1 %2 as CSV").arg(rows).arg(rows == 1 ? "row" : "rows");
}

void SaveCsvAs(const QByteArray& csv, const QString& subject, Dialogs& dialogs) {
  const QString path =
      dialogs.SaveFileName("Save Data As", SuggestedPath(subject, "csv"), {"CSV file (*.csv)"});
  if (path.isEmpty()) return;
  SaveWhole(path, csv, dialogs);
}

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
void SaveImageAs(const Chart& chart, const QStringList& caption, const QString& subject,
                 Dialogs& dialogs) {
  const QString path = dialogs.SaveFileName("Save Image As", SuggestedPath(subject, "png"),
                                            {"PNG image (*.png)", "SVG image (*.svg)"});
  if (path.isEmpty()) return;
  const bool svg = path.endsWith(".svg", Qt::CaseInsensitive);
  SaveWhole(path, svg ? SvgOf(chart, caption) : PngOf(chart, caption), dialogs);
}

void PrintChart(const Chart& chart, const QStringList& caption, Dialogs& dialogs) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(chart.Title());
  if (!dialogs.ChoosePrinter(printer)) return;
  QPainter painter;
  if (!painter.begin(&printer)) {
    dialogs.Message("Could not print: the printer could not be opened.");
    return;
  }
  // The picture keeps its proportions, as wide as the page or as high.
  const QRect page = painter.viewport();
  const QSize fitted = kPaperPictureSize.scaled(page.size(), Qt::KeepAspectRatio);
  painter.setViewport(QRect(page.topLeft(), fitted));
  painter.setWindow(QRect(QPoint(0, 0), kPaperPictureSize));
  DrawOnPaper(painter, chart, caption);
}

ChartMenu::ChartMenu(Chart& chart, ChartData data, Dialogs& dialogs)
    : QObject(&chart), chart_(chart), focusFrame_(new ChartFocusFrame(chart)) {
  AddAction("Copy Data", [this, data] { emit copied(CopyCsv(data.csv())); });
  AddAction("Save Data As...",
            [data, &dialogs] { SaveCsvAs(data.csv(), data.dataSubject, dialogs); });
  AddAction("Copy Image", [this, &chart, data] {
    CopyImage(chart, data.caption());
    emit copied("Copied the picture of the chart");
  });
  AddAction("Save Image As...", [&chart, data, &dialogs] {
    SaveImageAs(chart, data.caption(), data.pictureSubject, dialogs);
  });
  AddAction("Print...", [&chart, data, &dialogs] { PrintChart(chart, data.caption(), dialogs); });
  chart.setContextMenuPolicy(Qt::ActionsContextMenu);
  chart.setFocusPolicy(Qt::StrongFocus);
  chart.installEventFilter(this);
}

void ChartMenu::AddAction(const QString& caption, const std::function<void()>& act) {
  auto* action = new QAction(caption, &chart_);
  connect(action, &QAction::triggered, this, act);
  chart_.addAction(action);
}

// Shift+F10 opens the menu as the Menu key does, at the chart's centre.
bool ChartMenu::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    focusFrame_->setGeometry(chart_.rect());
    focusFrame_->show();
  }
  // The chart's own menu takes the keys only while it is open: the frame stays meanwhile.
  if (event->type() == QEvent::FocusOut &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    focusFrame_->hide();
  }
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
      OpenContextMenuFromKeyboard(chart_, chart_);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace evo
