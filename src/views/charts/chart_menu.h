// What the user takes out of a chart: the data behind it as CSV, and the chart as a picture for
// paper. Each to the clipboard, to a file or, for the picture, to a printer.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace evo {

class Chart;
class Dialogs;
class ChartFocusFrame;

// The data behind a chart, taken when it is asked for: it may grow while the chart is open.
struct ChartData {
  // What the names of the files saved say: "gene-counts" for a picture, evolution-gene-counts-...;
  // none for the data of the summary, evolution-2026-...csv.
  QString pictureSubject;
  QString dataSubject;
  std::function<QByteArray()> csv;       // with a first line naming the columns
  std::function<QStringList()> caption;  // of a picture: what the figures were made with
};

// Puts CSV on the clipboard, as plain text and as text/csv, and returns what the user is told of
// it: "Copied the data of 51 rows as CSV".
QString CopyCsv(const QByteArray& csv);
// Asks where to save CSV, starting in the documents folder with a name that says what (subject)
// and when (evolution-2026-12-09-1412.csv, evolution-repeated-runs-2026-...csv), and writes it.
void SaveCsvAs(const QByteArray& csv, const QString& subject, Dialogs& dialogs);

// The chart's picture for paper (chart_paper.h), with the caption under it, drawn at the screen's
// pixel ratio and at least at twice its size in pixels.
QImage ChartImage(const Chart& chart, const QStringList& caption);
void CopyImage(const Chart& chart, const QStringList& caption);
// Asks where to save the chart's picture, as PNG or SVG, with a name that says what (subject,
// such as "gene-counts") and when, and writes it there.
void SaveImageAs(const Chart& chart, const QStringList& caption, const QString& subject,
                 Dialogs& dialogs);
// Asks for a printer through the print dialog and prints the chart's picture on one page, as
// large as the page allows.
void PrintChart(const Chart& chart, const QStringList& caption, Dialogs& dialogs);

// A file is written whole or not at all: a failure (a full disk, a folder without write access)
// is told in a message and leaves no file behind, nor changes a file that was there.

// Gives a chart the context menu "Copy Data", "Save Data As...", "Copy Image", "Save Image
// As...", "Print...", opened by the right mouse button, the Menu key or Shift+F10. The chart takes
// the focus from Tab and from a click, after the window's own controls, and shows a frame while it
// has it. What the data's functions reach and the dialogs must outlive the chart.
class ChartMenu : public QObject {
  Q_OBJECT

 public:
  ChartMenu(Chart& chart, ChartData data, Dialogs& dialogs);

 signals:
  // A copy to the clipboard was made; note says what, for the user.
  void copied(const QString& note);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddAction(const QString& caption, const std::function<void()>& act);

  Chart& chart_;
  ChartFocusFrame* focusFrame_;
};

}  // namespace evo
