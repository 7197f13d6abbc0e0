// A line chart of the population's average gene against the generations since the population was
// created, its value axis fitted to the averages so that a small change shows. Where a span of the
// history merges many records, the chart draws the span's whole range, so a brief high or low
// stays visible however long the run.
#pragma once

#include <QPointF>
#include <QRect>
#include <cstdint>
#include <vector>

#include "engine/record/average_gene_history.h"
#include "views/charts/chart.h"
#include "views/charts/chart_axis.h"

class QFontMetrics;

namespace evo {

class AverageGeneChart : public Chart {
  Q_OBJECT

 public:
  explicit AverageGeneChart(QWidget* parent = nullptr);

  // Takes a copy: the chart keeps showing the history as it stood, like the rest of the summary.
  void SetHistory(const AverageGeneHistory& history);

  QString Title() const override;
  void Draw(QPainter& painter, const QRect& area, const QPalette& palette) const override;

  // Where an average after a number of generations is drawn in the window, in the chart's own
  // coordinates.
  QPointF PointAt(std::int64_t generation, double average) const;

 protected:
  // The title above the chart, which the window shows in no label of its own.
  void paintEvent(QPaintEvent* event) override;

 private:
  // The plot within area: the value axis to its left, the generations below it.
  QRect PlotIn(const QRect& area, const QFontMetrics& metrics) const;
  QRect ChartArea() const;  // in the window, below the title
  QPointF PointIn(const QRect& plot, std::int64_t generation, double average) const;
  void DescribeForScreenReaders();
  void DrawGenerationAxis(QPainter& painter, const QRect& plot, const QColor& text) const;
  void DrawCourse(QPainter& painter, const QRect& plot, const QColor& marks) const;

  std::vector<AverageSpan> spans_;
  std::int64_t generations_ = 0;
  AxisScale generationScale_ = AxisScale::FromZero(0);
  AxisScale averageScale_ = AxisScale::Fitted(0, 9, 0, 9);
};

}  // namespace evo
