#include "views/charts/gene_count_chart.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "common/window_look.h"
#include "views/charts/chart_axis.h"

namespace evo {
namespace {

constexpr int kDigits = 10;

// What a screen reader says of the chart in place of the picture: each digit with its count.
QString CountsDescription(const std::array<double, 10>& counts) {
  QStringList parts;
  for (int digit = 0; digit < kDigits; ++digit) {
    parts << QString("%1: %2").arg(digit).arg(counts[static_cast<std::size_t>(digit)], 0, 'f', 0);
  }
  return GeneCountChart::tr("Genes of each value, %1").arg(parts.join(", "));
}

}  // namespace

GeneCountChart::GeneCountChart(QWidget* parent) : Chart(parent) {
  setAccessibleName(tr("Bar chart of the gene counts"));
  setAccessibleDescription(CountsDescription(counts_));
}

void GeneCountChart::SetCounts(const std::array<double, 10>& counts) {
  counts_ = counts;
  setAccessibleDescription(CountsDescription(counts_));
  Changed();
}

QString GeneCountChart::Title() const {
  return tr("Genes of each value");
}

AxisScale GeneCountChart::Scale() const {
  return AxisScale::FromZero(*std::max_element(counts_.begin(), counts_.end()));
}

// Half a line above the top for the highest label; the axis's title and its labels at the left,
// a line below the base for the digits and another for the title.
QRect GeneCountChart::PlotIn(const QRect& area, const QFontMetrics& metrics) const {
  const int line = metrics.height();
  return QRect(QPoint(area.left() + line + ValueAxisRoom(Scale(), metrics), area.top() + line / 2),
               QPoint(area.right(), area.bottom() - 2 * line - 1));
}

QRect GeneCountChart::BarIn(const QRect& plot, int digit) const {
  const int slotLeft = plot.left() + 1 + (plot.width() - 1) * digit / kDigits;
  const int slotRight = plot.left() + 1 + (plot.width() - 1) * (digit + 1) / kDigits;
  const int slotWidth = slotRight - slotLeft;
  const int barWidth = std::max(1, slotWidth * 2 / 3);
  const int left = slotLeft + (slotWidth - barWidth) / 2;
  const double count = counts_[static_cast<std::size_t>(digit)];
  const int base = plot.bottom();
  if (count <= 0) return {left, base, barWidth, 0};
  // A count far below the largest still shows as a sliver rather than vanishing.
  const int barHeight =
      std::max(1, static_cast<int>(std::lround(base - ValueY(Scale(), plot, count))));
  return {left, base - barHeight, barWidth, barHeight};
}

QRect GeneCountChart::BarRect(int digit) const {
  return BarIn(PlotIn(DrawingArea(), fontMetrics()), digit);
}

void GeneCountChart::Draw(QPainter& painter, const QRect& area, const QPalette& palette) const {
  const QRect plot = PlotIn(area, painter.fontMetrics());
  const QColor text = palette.color(QPalette::WindowText);
  DrawValueAxis(painter, plot, Scale(), palette);
  painter.setPen(text);
  painter.drawLine(plot.left(), plot.bottom(), plot.right(), plot.bottom());
  const QColor marks = ChartMarkColour(palette);
  const int line = painter.fontMetrics().height();
  for (int digit = 0; digit < kDigits; ++digit) {
    const QRect bar = BarIn(plot, digit);
    painter.fillRect(bar, marks);
    const QRect label(bar.center().x() - 20, plot.bottom() + 1, 41, line);
    painter.drawText(label, Qt::AlignCenter, QString::number(digit));
  }
  DrawAxisTitle(
      painter,
      QRect(QPoint(area.left(), plot.top()), QPoint(area.left() + line - 1, plot.bottom())),
      tr("genes"), Qt::Vertical);
  DrawAxisTitle(
      painter,
      QRect(QPoint(plot.left(), plot.bottom() + line + 1), QPoint(plot.right(), area.bottom())),
      tr("gene value"), Qt::Horizontal);
}

}  // namespace evo
