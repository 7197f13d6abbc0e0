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

}  // namespace evo
