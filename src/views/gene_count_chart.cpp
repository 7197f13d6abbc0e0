#include "views/gene_count_chart.h"

#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>

#include "common/window_look.h"

namespace evo {
namespace {

constexpr int kDigits = 10;
constexpr int kTopMargin = 4;

// What a screen reader says of the chart in place of the picture: each digit with its count.
QString CountsDescription(const std::array<double, 10>& counts) {
  QStringList parts;
  for (int digit = 0; digit < kDigits; ++digit) {
    parts << QString("%1: %2").arg(digit).arg(counts[static_cast<std::size_t>(digit)], 0, 'f', 0);
  }
  return "Genes of each value, " + parts.join(", ");
}

}  // namespace

GeneCountChart::GeneCountChart(QWidget* parent) : QWidget(parent) {
  setAccessibleName("Bar chart of the gene counts");
  setAccessibleDescription(CountsDescription(counts_));
}

void GeneCountChart::SetCounts(const std::array<double, 10>& counts) {
  counts_ = counts;
  setAccessibleDescription(CountsDescription(counts_));
  update();
}

QRect GeneCountChart::SlotRect(int digit) const {
  const int left = width() * digit / kDigits;
  const int right = width() * (digit + 1) / kDigits;
  return {left, 0, right - left, height()};
}

int GeneCountChart::BaseLine() const {
  return height() - fontMetrics().height() - 2;
}

QRect GeneCountChart::BarRect(int digit) const {
  const QRect slot = SlotRect(digit);
  const int barWidth = std::max(1, slot.width() * 2 / 3);
  const int left = slot.left() + (slot.width() - barWidth) / 2;
  const double largest = *std::max_element(counts_.begin(), counts_.end());
  const double count = counts_[static_cast<std::size_t>(digit)];
  if (largest <= 0 || count <= 0) return {left, BaseLine(), barWidth, 0};
  const int room = std::max(0, BaseLine() - kTopMargin);
  // A count far below the largest still shows as a sliver rather than vanishing.
  const int barHeight = std::max(1, static_cast<int>(std::lround(count / largest * room)));
  return {left, BaseLine() - barHeight, barWidth, barHeight};
}

void GeneCountChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawLine(0, BaseLine(), width() - 1, BaseLine());
  for (int digit = 0; digit < kDigits; ++digit) {
    painter.fillRect(BarRect(digit), ChartMarkColour(palette()));
    const QRect slot = SlotRect(digit);
    const QRect label(slot.left(), BaseLine() + 1, slot.width(), height() - BaseLine() - 1);
    painter.drawText(label, Qt::AlignCenter, QString::number(digit));
  }
}

}  // namespace evo
