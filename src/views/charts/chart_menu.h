// The menu of a chart: its data and its picture taken out, and the chart shown large.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

#include "views/charts/chart_data.h"

namespace evo {

class Chart;
class ChartFocusFrame;
class Dialogs;
class LargeChartWindow;

// Gives a chart the context menu "Copy Data", "Save Data As...", "Copy Image", "Save Image
// As...", "Print...", and, where the chart is not the large one already, "Show Large", opened by
// the right mouse button, the Menu key or Shift+F10. The chart takes the focus from Tab and from
// a click, after the window's own controls, and shows a frame while it has it; a double click,
// Enter or Space on it shows it large (LargeChartWindow). What the data's functions reach and the
// dialogs must outlive the chart.
class ChartMenu : public QObject {
  Q_OBJECT

 public:
  enum class Large { Offered, NotOffered };
  ChartMenu(Chart& chart, ChartData data, Dialogs& dialogs, Large large = Large::Offered);

  // Opens the chart large, or brings forward the large window that is open.
  void ShowLarge();

 signals:
  // A copy to the clipboard was made; note says what, for the user.
  void copied(const QString& note);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void AddAction(const QString& caption, const std::function<void()>& act);

  Chart& chart_;
  const ChartData data_;
  Dialogs& dialogs_;
  const Large large_;
  ChartFocusFrame* focusFrame_;
  QPointer<LargeChartWindow> largeWindow_;
};

}  // namespace evo
