// A line chart of the population's average gene, 0 to 9, against the generations since the
// population was created. Where a span of the history merges many records, the chart draws the
// span's whole range, so a brief high or low stays visible however long the run.
#pragma once

#include <QPointF>
#include <QRect>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "engine/average_gene_history.h"

class QPainter;

namespace evo {

class AverageGeneChart : public QWidget {
  Q_OBJECT
  Q_CLASSINFO("AccessibleRole", "Chart")

 public:
  explicit AverageGeneChart(QWidget* parent = nullptr);

  // Takes a copy: the chart keeps showing the history as it stood, like the rest of the summary.
  void SetHistory(const AverageGeneHistory& history);

  // Where an average after a number of generations is drawn, in the chart's own coordinates.
  QPointF PointAt(std::int64_t generation, double average) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect PlotRect() const;  // the area inside the axes
  void DescribeForScreenReaders();
  void DrawAxes(QPainter& painter) const;
  void DrawCourse(QPainter& painter) const;

  std::vector<AverageSpan> spans_;
  std::int64_t generations_ = 0;
};

}  // namespace evo
