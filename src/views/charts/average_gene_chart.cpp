#include "views/charts/average_gene_chart.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "common/number_caption.h"
#include "common/window_look.h"

namespace evo {
namespace {

constexpr double kHighestGene = 9;

constexpr char kNoRecord[] = QT_TRANSLATE_NOOP("evo::AverageGeneChart", "No generation run yet");

QString GenerationsText(std::int64_t generations) {
  return (generations == 1 ? AverageGeneChart::tr("%1 generation")
                           : AverageGeneChart::tr("%1 generations"))
      .arg(generations);
}

}  // namespace

AverageGeneChart::AverageGeneChart(QWidget* parent) : Chart(parent) {
  setAccessibleName(tr("Average gene by generation since the population was created"));
  DescribeForScreenReaders();
}

void AverageGeneChart::SetHistory(const AverageGeneHistory& history) {
  spans_ = history.Spans();
  generations_ = history.GenerationsSinceCreation();
  generationScale_ = AxisScale::FromZero(static_cast<double>(generations_));
  if (!spans_.empty()) {
    double lowest = kHighestGene;
    double highest = 0;
    for (const AverageSpan& span : spans_) {
      lowest = std::min(lowest, span.lowest);
      highest = std::max(highest, span.highest);
    }
    averageScale_ = AxisScale::Fitted(lowest, highest, 0, kHighestGene);
  }
  DescribeForScreenReaders();
  Changed();
}

QString AverageGeneChart::Title() const {
  return tr("Average gene by generation");
}

void AverageGeneChart::DescribeForScreenReaders() {
  if (spans_.empty()) {
    setAccessibleDescription(tr(kNoRecord));
    return;
  }
  setAccessibleDescription(tr("%1: the average gene went from%2 to%3")
                               .arg(GenerationsText(generations_),
                                    NumberCaption(spans_.front().first),
                                    NumberCaption(spans_.back().last)));
}

// Half a line above the top for the highest label, a line below for the generations, and half
// the widest generation's label at the right, where the last one is centred on its tick.
QRect AverageGeneChart::PlotIn(const QRect& area, const QFontMetrics& metrics) const {
  const int line = metrics.height();
  const int lastLabel = metrics.horizontalAdvance(generationScale_.Label(generationScale_.High()));
  return QRect(
      QPoint(area.left() + line + ValueAxisRoom(averageScale_, metrics), area.top() + line / 2),
      QPoint(area.right() - lastLabel / 2, area.bottom() - 2 * line - kChartTickLength));
}

QRect AverageGeneChart::ChartArea() const {
  return DrawingArea().adjusted(0, fontMetrics().height(), 0, 0);
}

QPointF AverageGeneChart::PointIn(const QRect& plot, std::int64_t generation,
                                  double average) const {
  const double clamped = std::clamp(average, averageScale_.Low(), averageScale_.High());
  return {plot.left() + generationScale_.Fraction(static_cast<double>(generation)) * plot.width(),
          ValueY(averageScale_, plot, clamped)};
}

QPointF AverageGeneChart::PointAt(std::int64_t generation, double average) const {
  return PointIn(PlotIn(ChartArea(), fontMetrics()), generation, average);
}

void AverageGeneChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  const QRect area = DrawingArea();
  painter.drawText(QRect(area.left(), area.top(), area.width(), fontMetrics().height()),
                   Qt::AlignCenter, Title());
  Draw(painter, ChartArea(), palette());
}

void AverageGeneChart::Draw(QPainter& painter, const QRect& area, const QPalette& palette) const {
  const QRect plot = PlotIn(area, painter.fontMetrics());
  const QColor text = palette.color(QPalette::WindowText);
  const int line = painter.fontMetrics().height();
  DrawValueAxis(painter, plot, averageScale_, palette);
  DrawGenerationAxis(painter, plot, text);
  DrawAxisTitle(
      painter,
      QRect(QPoint(area.left(), plot.top()), QPoint(area.left() + line - 1, plot.bottom())),
      tr("average gene"), Qt::Vertical);
  DrawAxisTitle(painter,
                QRect(QPoint(plot.left(), plot.bottom() + kChartTickLength + line),
                      QPoint(plot.right(), area.bottom())),
                tr("generation"), Qt::Horizontal);
  if (spans_.empty()) {
    painter.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, tr(kNoRecord));
    return;
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  DrawCourse(painter, plot, ChartMarkColour(palette));
  painter.restore();
}

// The base line with a tick and a label at each step of the generations.
void AverageGeneChart::DrawGenerationAxis(QPainter& painter, const QRect& plot,
                                          const QColor& text) const {
  painter.setPen(text);
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  const int line = painter.fontMetrics().height();
  for (const double tick : generationScale_.Ticks()) {
    const int x =
        static_cast<int>(std::lround(plot.left() + generationScale_.Fraction(tick) * plot.width()));
    painter.drawLine(x, plot.bottom(), x, plot.bottom() + kChartTickLength);
    const QString label = generationScale_.Label(tick);
    const int width = painter.fontMetrics().horizontalAdvance(label) + 2;
    painter.drawText(QRect(x - width / 2, plot.bottom() + kChartTickLength, width, line),
                     Qt::AlignCenter, label);
  }
}

// A line through every span's first and last average, and a stroke from its lowest to its
// highest across it, which is all that remains of the records merged into it.
void AverageGeneChart::DrawCourse(QPainter& painter, const QRect& plot, const QColor& marks) const {
  // Two pixels wide, so that a smoothed line covers at least one pixel in full.
  painter.setPen(QPen(marks, 2));
  QPolygonF course;
  for (const AverageSpan& span : spans_) {
    course << PointIn(plot, span.firstGeneration, span.first)
           << PointIn(plot, span.lastGeneration, span.last);
    if (span.lowest < span.highest) {
      const double x =
          (PointIn(plot, span.firstGeneration, 0).x() + PointIn(plot, span.lastGeneration, 0).x()) /
          2;
      painter.drawLine(QPointF(x, PointIn(plot, 0, span.lowest).y()),
                       QPointF(x, PointIn(plot, 0, span.highest).y()));
    }
  }
  painter.drawPolyline(course);
  const AverageSpan& only = spans_.front();
  if (spans_.size() == 1 && only.firstGeneration == only.lastGeneration) {
    // The record of a single generation has no second point to draw a line to: it is a dot.
    painter.setBrush(marks);
    painter.drawEllipse(PointIn(plot, only.lastGeneration, only.last), 2.5, 2.5);
  }
}

}  // namespace evo
