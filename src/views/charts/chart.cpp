#include "views/charts/chart.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>

#include "common/window_look.h"
#include "views/charts/chart_axis.h"

namespace evo {
namespace {

// Room enough for any label, right-aligned against the ticks.
constexpr int kWidestLabel = 200;

}  // namespace

QRect Chart::DrawingArea() const {
  return rect().adjusted(kChartFocusEdge, kChartFocusEdge, -kChartFocusEdge, -kChartFocusEdge);
}

void Chart::Changed() {
  update();
  emit changed();
}

void Chart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  Draw(painter, DrawingArea(), palette());
}

int ValueAxisRoom(const AxisScale& scale, const QFontMetrics& metrics) {
  int widest = 0;
  for (const double tick : scale.Ticks()) {
    widest = std::max(widest, metrics.horizontalAdvance(scale.Label(tick)));
  }
  return widest + kChartTickLength + 2;
}

double ValueY(const AxisScale& scale, const QRect& plot, double value) {
  return plot.bottom() - scale.Fraction(value) * plot.height();
}

void DrawValueAxis(QPainter& painter, const QRect& plot, const AxisScale& scale,
                   const QPalette& palette) {
  const int line = painter.fontMetrics().height();
  const QColor text = palette.color(QPalette::WindowText);
  // Opaque, for pictures whose readers ignore a colour's transparency.
  const QColor guide = Blend(palette.color(QPalette::Window), text, 0.2);
  for (const double tick : scale.Ticks()) {
    const int y = static_cast<int>(std::lround(ValueY(scale, plot, tick)));
    painter.setPen(guide);
    painter.drawLine(plot.left() + 1, y, plot.right(), y);
    painter.setPen(text);
    painter.drawLine(plot.left() - kChartTickLength, y, plot.left(), y);
    const int labelRight = plot.left() - kChartTickLength - 1;
    painter.drawText(QRect(labelRight - kWidestLabel, y - line / 2, kWidestLabel, line),
                     Qt::AlignRight | Qt::AlignVCenter, scale.Label(tick));
  }
  painter.drawLine(plot.bottomLeft(), plot.topLeft());
}

std::vector<AxisLabel> HorizontalAxisLabels(double low, double high, bool whole, int left,
                                            int right, int top, const QFontMetrics& metrics,
                                            int leastX, int mostX) {
  const double span = std::max(high - low, whole ? 1.0 : 1e-9);
  const int gap = metrics.horizontalAdvance(' ');
  const auto at = [&](double value) {
    return left + static_cast<int>(std::lround((value - low) / span * (right - left)));
  };
  const auto labelled = [&](double step) {
    std::vector<AxisLabel> labels;
    const int decimals = whole ? 0 : std::max(0, static_cast<int>(-std::floor(std::log10(step))));
    for (double value = std::ceil(low / step - 1e-9) * step; value <= high + step * 1e-9;
         value += step) {
      const QString text = QString::number(value, 'f', decimals);
      const int width = metrics.horizontalAdvance(text);
      const int x = std::clamp(at(value) - width / 2, leastX, std::max(leastX, mostX - width));
      labels.push_back({value, text, QRect(x, top, width, metrics.height())});
    }
    return labels;
  };
  const auto apart = [gap](const std::vector<AxisLabel>& labels) {
    for (std::size_t i = 1; i < labels.size(); ++i) {
      if (labels[i].rect.left() < labels[i - 1].rect.right() + gap) return false;
    }
    return true;
  };
  for (int parts = 6; parts >= 1; --parts) {
    const double step = std::max(RoundStep(span, parts), whole ? 1.0 : 0.0);
    std::vector<AxisLabel> labels = labelled(step);
    if (!labels.empty() && apart(labels)) return labels;
  }
  std::vector<AxisLabel> first = labelled(span);
  first.resize(std::min<std::size_t>(first.size(), 1));
  return first;
}

void DrawHorizontalAxis(QPainter& painter, const QRect& plot, double low, double high,
                        const std::vector<AxisLabel>& labels, const QColor& text) {
  painter.setPen(text);
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  const double span = std::max(high - low, 1e-9);
  for (const AxisLabel& label : labels) {
    const int x =
        plot.left() +
        static_cast<int>(std::lround((label.value - low) / span * (plot.right() - plot.left())));
    painter.drawLine(x, plot.bottom(), x, plot.bottom() + kChartTickLength);
    painter.drawText(label.rect, Qt::AlignCenter, label.text);
  }
}

void DrawAxisTitle(QPainter& painter, const QRect& rect, const QString& title,
                   Qt::Orientation axis) {
  // A title longer than its axis is shortened, never drawn over what is beside it.
  const QFontMetrics metrics = painter.fontMetrics();
  if (axis == Qt::Horizontal) {
    painter.drawText(rect, Qt::AlignCenter,
                     metrics.elidedText(title, Qt::ElideRight, rect.width()));
    return;
  }
  painter.save();
  painter.translate(rect.left(), rect.bottom());
  painter.rotate(-90);
  painter.drawText(QRect(0, 0, rect.height(), rect.width()), Qt::AlignCenter,
                   metrics.elidedText(title, Qt::ElideRight, rect.height()));
  painter.restore();
}

}  // namespace evo
