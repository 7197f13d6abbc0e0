#include "views/average_gene_chart.h"

#include <QPainter>
#include <QPolygonF>
#include <algorithm>

#include "common/number_caption.h"
#include "common/window_look.h"

namespace evo {
namespace {

constexpr double kHighestGene = 9;
constexpr char kTitle[] = "Average gene by generation";
constexpr char kNoGeneration[] = "No generation run yet";
constexpr char kGenerationsCaption[] = "generations";

QString GenerationsText(std::int64_t generations) {
  return QString::number(generations) + (generations == 1 ? " generation" : " generations");
}

}  // namespace

AverageGeneChart::AverageGeneChart(QWidget* parent) : QWidget(parent) {
  setAccessibleName("Average gene by generation since the population was created");
  DescribeForScreenReaders();
}

void AverageGeneChart::SetHistory(const AverageGeneHistory& history) {
  spans_ = history.Spans();
  generations_ = history.GenerationsSinceCreation();
  DescribeForScreenReaders();
  update();
}

void AverageGeneChart::DescribeForScreenReaders() {
  if (generations_ == 0) {
    setAccessibleDescription(kNoGeneration);
    return;
  }
  setAccessibleDescription(GenerationsText(generations_) + ": the average gene went from" +
                           NumberCaption(spans_.front().first) + " to" +
                           NumberCaption(spans_.back().last));
}

// A line of text above the axes for the title, one below for the generations; the gene labels
// at the left stand half a line above and below their guides.
QRect AverageGeneChart::PlotRect() const {
  const int line = fontMetrics().height();
  const int left = fontMetrics().horizontalAdvance("9") + 4;
  return QRect(QPoint(left, line + line / 2 + 1), QPoint(width() - 2, height() - line - 2));
}

QPointF AverageGeneChart::PointAt(std::int64_t generation, double average) const {
  const QRect plot = PlotRect();
  // Before the first generation the axis still needs a length to divide.
  const double lastGeneration = static_cast<double>(std::max<std::int64_t>(generations_, 1));
  const double clamped = std::clamp(average, 0.0, kHighestGene);
  return {plot.left() + static_cast<double>(generation) / lastGeneration * plot.width(),
          plot.bottom() - clamped / kHighestGene * plot.height()};
}

void AverageGeneChart::paintEvent(QPaintEvent*) {
  // The axes stay crisp: smoothed, a line of one pixel on a pixel's edge would be spread over
  // two at half strength and lose the contrast that the palette gives it.
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(QRect(0, 0, width(), fontMetrics().height()), Qt::AlignCenter, kTitle);
  DrawAxes(painter);
  if (generations_ == 0) {
    painter.drawText(PlotRect(), Qt::AlignCenter | Qt::TextWordWrap, kNoGeneration);
    return;
  }
  painter.setRenderHint(QPainter::Antialiasing);
  DrawCourse(painter);
}

// The gene values 0, 3, 6 and 9 on the left with faint guide lines; the first and last
// generation below.
void AverageGeneChart::DrawAxes(QPainter& painter) const {
  const QRect plot = PlotRect();
  const int line = fontMetrics().height();
  const QColor text = palette().color(QPalette::WindowText);
  QColor guide = text;
  guide.setAlphaF(0.2);
  for (int gene = 0; gene <= kHighestGene; gene += 3) {
    const double y = PointAt(0, gene).y();
    painter.setPen(guide);
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(text);
    painter.drawText(QRectF(0, y - line / 2.0, plot.left() - 3, line),
                     Qt::AlignRight | Qt::AlignVCenter, QString::number(gene));
  }
  painter.drawLine(plot.bottomLeft(), plot.topLeft());
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  const QRect below(plot.left(), plot.bottom() + 2, plot.width(), line);
  painter.drawText(below, Qt::AlignLeft | Qt::AlignVCenter, "0");
  painter.drawText(below, Qt::AlignHCenter | Qt::AlignVCenter, kGenerationsCaption);
  if (generations_ > 0) {
    painter.drawText(below, Qt::AlignRight | Qt::AlignVCenter, QString::number(generations_));
  }
}

// A line through every span's first and last average, and a stroke from its lowest to its
// highest across it, which is all that remains of the records merged into it.
void AverageGeneChart::DrawCourse(QPainter& painter) const {
  // Two pixels wide, so that a smoothed line covers at least one pixel in full.
  painter.setPen(QPen(ChartMarkColour(palette()), 2));
  QPolygonF course;
  for (const AverageSpan& span : spans_) {
    course << PointAt(span.firstGeneration, span.first) << PointAt(span.lastGeneration, span.last);
    if (span.lowest < span.highest) {
      const double x =
          (PointAt(span.firstGeneration, 0).x() + PointAt(span.lastGeneration, 0).x()) / 2;
      painter.drawLine(QPointF(x, PointAt(0, span.lowest).y()),
                       QPointF(x, PointAt(0, span.highest).y()));
    }
  }
  painter.drawPolyline(course);
  const AverageSpan& only = spans_.front();
  if (spans_.size() == 1 && only.firstGeneration == only.lastGeneration) {
    // The record of a single generation has no second point to draw a line to: it is a dot.
    painter.setBrush(palette().color(QPalette::Highlight));
    painter.drawEllipse(PointAt(only.lastGeneration, only.last), 2.5, 2.5);
  }
}

}  // namespace evo
