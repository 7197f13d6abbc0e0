// A small bar chart of the ten gene counts of a population, one bar per digit 0 to 9, against a
// value scale from zero.
#pragma once

#include <QRect>
#include <array>

#include "views/charts/chart.h"

class QFontMetrics;

namespace evo {

class AxisScale;

class GeneCountChart : public Chart {
  Q_OBJECT

 public:
  explicit GeneCountChart(QWidget* parent = nullptr);

  void SetCounts(const std::array<double, 10>& counts);

  QString Title() const override;
  void Draw(QPainter& painter, const QRect& area, const QPalette& palette) const override;

  // Where the bar of digit d (0 to 9) stands in the window, in the chart's own coordinates; an
  // empty rectangle on the base line for a count of 0.
  QRect BarRect(int digit) const;

 private:
  AxisScale Scale() const;
  // The bars' area within area: the value axis to its left, the digits below its base line.
  QRect PlotIn(const QRect& area, const QFontMetrics& metrics) const;
  QRect BarIn(const QRect& plot, int digit) const;

  std::array<double, 10> counts_{};
};

}  // namespace evo
