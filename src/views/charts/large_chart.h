// A chart shown large, for a class to see it on a projector.
#pragma once

#include <QWidget>

#include "views/charts/chart.h"
#include "views/charts/chart_data.h"

namespace evo {

class Dialogs;

// The figures of another chart drawn over all of a widget, in a font that grows with it, redrawn
// whenever the other chart's figures change.
class LargeChart final : public Chart {
  Q_OBJECT

 public:
  LargeChart(const Chart& shown, QWidget* parent);

  QString Title() const override;
  void Draw(QPainter& painter, const QRect& area, const QPalette& palette) const override;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Chart& shown_;
};

// A resizable window of its own for a chart shown large, with the chart's menu. F11 shows it over
// the whole screen and back, Escape closes it; it goes with the chart.
class LargeChartWindow final : public QWidget {
  Q_OBJECT

 public:
  LargeChartWindow(Chart& shown, const ChartData& data, Dialogs& dialogs);

  LargeChart& Shown() { return *chart_; }

 signals:
  // A copy was made through the large chart's menu; note says what.
  void copied(const QString& note);

 private:
  LargeChart* chart_;
};

}  // namespace evo
