#include "views/charts/runs_histogram.h"

#include <QFontMetrics>
#include <QPainter>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

#include "common/window_look.h"
#include "views/charts/chart_axis.h"

namespace evo {
namespace {

// About this many bins span the generations of the runs that ended in a detection.
constexpr int kBinsWanted = 12;
constexpr int kPanelGap = 12;
constexpr int kLegendSwatch = 10;

// A bar's look for each ending: solid, hatched, dotted, so that they differ without colour too.
QBrush EndingBrush(RunEnd end, const QPalette& palette) {
  switch (end) {
    case RunEnd::PerfectGenome:
      return ChartMarkColour(palette);
    case RunEnd::AllBadGenome:
      return {ChartColour(QColor::fromRgb(0xd95f02), palette), Qt::BDiagPattern};
    case RunEnd::LimitReached:
      break;
  }
  return {palette.color(QPalette::WindowText), Qt::Dense5Pattern};
}

QColor EndingOutline(RunEnd end, const QPalette& palette) {
  return EndingBrush(end, palette).color();
}

void FillBar(QPainter& painter, const QRect& bar, RunEnd end, const QPalette& palette) {
  if (bar.height() <= 0) return;
  painter.fillRect(bar, EndingBrush(end, palette));
  painter.setPen(EndingOutline(end, palette));
  painter.drawRect(bar.adjusted(0, 0, -1, -1));
}

// A line at the top naming each ending beside its look.
void DrawLegend(QPainter& painter, const QRect& area, const QPalette& palette) {
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height();
  int x = area.left();
  for (const auto& [end, name] : {std::pair{RunEnd::PerfectGenome, "perfect genome"},
                                  std::pair{RunEnd::AllBadGenome, "all bad genome"},
                                  std::pair{RunEnd::LimitReached, "limit reached"}}) {
    FillBar(painter,
            QRect(x, area.top() + (line - kLegendSwatch) / 2, kLegendSwatch, kLegendSwatch), end,
            palette);
    x += kLegendSwatch + 4;
    painter.setPen(palette.color(QPalette::WindowText));
    painter.drawText(QRect(x, area.top(), metrics.horizontalAdvance(name) + 2, line),
                     Qt::AlignLeft | Qt::AlignVCenter, name);
    x += metrics.horizontalAdvance(name) + 14;
  }
}

}  // namespace

RunsHistogram::Counts RunsHistogram::CountInBins(const std::vector<RunResult>& results,
                                                 const Bins& bins) {
  Counts counts;
  counts.perfect.assign(static_cast<std::size_t>(bins.count), 0);
  counts.allBad.assign(static_cast<std::size_t>(bins.count), 0);
  for (const RunResult& run : results) {
    if (run.end == RunEnd::LimitReached) {
      ++counts.atLimit;
      continue;
    }
    const auto bin = static_cast<std::size_t>((run.generations - bins.first) / bins.width);
    ++(run.end == RunEnd::PerfectGenome ? counts.perfect : counts.allBad)[bin];
  }
  return counts;
}

QString RunFigure(double value) {
  return QString::number(value, 'f', value == std::floor(value) ? 0 : 1);
}

RunsHistogram::RunsHistogram(QWidget* parent) : Chart(parent) {
  setAccessibleName("Histogram of the generations each run took to end");
  Describe();
}

void RunsHistogram::SetGroups(std::vector<RunGroup> groups) {
  groups_ = std::move(groups);
  update();
}

QString RunsHistogram::Title() const {
  return "Generations to the end of each run";
}

void RunsHistogram::Describe() {
  QStringList parts;
  for (const RunGroup& group : groups_) {
    const RunTally tally = Tally(group.results);
    QString part = (group.label.isEmpty() ? QString() : group.label + ": ") +
                   QString("%1 runs, %2 perfect genome, %3 all bad genome, %4 at the limit")
                       .arg(group.results.size())
                       .arg(tally.perfect)
                       .arg(tally.allBad)
                       .arg(tally.atLimit);
    const GenerationSpread& spread = tally.ended;
    if (spread.runs > 0) {
      part += QString("; generations from %1 to %2, median %3, quartiles %4 and %5, mean %6")
                  .arg(RunFigure(spread.minimum), RunFigure(spread.maximum),
                       RunFigure(spread.median), RunFigure(spread.lowerQuartile),
                       RunFigure(spread.upperQuartile), RunFigure(spread.mean));
    }
    parts << part;
  }
  setAccessibleDescription(parts.isEmpty() ? "No run yet" : parts.join(". "));
}

RunsHistogram::Bins RunsHistogram::BinsOfRuns() const {
  std::int64_t lowest = std::numeric_limits<std::int64_t>::max();
  std::int64_t highest = 0;
  for (const RunGroup& group : groups_) {
    for (const RunResult& run : group.results) {
      if (run.end == RunEnd::LimitReached) continue;
      lowest = std::min(lowest, run.generations);
      highest = std::max(highest, run.generations);
    }
  }
  if (highest == 0) return {};
  const auto width = std::max<std::int64_t>(
      1, std::llround(RoundStep(static_cast<double>(highest - lowest + 1), kBinsWanted)));
  const std::int64_t first = lowest / width * width;
  return {first, width, static_cast<int>((highest - first) / width + 1)};
}

// Ticks and labels at round generations along the bins from left to right, about three of them.
void RunsHistogram::DrawGenerationLabels(QPainter& painter, const Bins& bins, int left, int right,
                                         const QRect& below) {
  const std::int64_t end = bins.first + bins.count * bins.width;
  const double span = static_cast<double>(end - bins.first);
  const auto step = std::max<std::int64_t>(1, std::llround(RoundStep(span, 3)));
  const QFontMetrics metrics = painter.fontMetrics();
  for (std::int64_t at = (bins.first + step - 1) / step * step; at <= end; at += step) {
    const int x = left + static_cast<int>(std::lround(static_cast<double>(at - bins.first) / span *
                                                      (right + 1 - left)));
    painter.drawLine(x, below.top() - kChartTickLength, x, below.top());
    const QString label = QString::number(at);
    const int width = metrics.horizontalAdvance(label) + 2;
    painter.drawText(QRect(x - width / 2, below.top(), width, below.height()), Qt::AlignCenter,
                     label);
  }
}

void RunsHistogram::Draw(QPainter& painter, const QRect& area, const QPalette& palette) const {
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height();
  const QColor text = palette.color(QPalette::WindowText);
  DrawLegend(painter, area, palette);

  const Bins bins = BinsOfRuns();
  std::vector<Counts> counts;
  double tallest = 1;
  bool anyAtLimit = false;
  for (const RunGroup& group : groups_) {
    counts.push_back(CountInBins(group.results, bins));
    const Counts& counted = counts.back();
    for (int b = 0; b < bins.count; ++b) {
      tallest = std::max(tallest, static_cast<double>(counted.perfect[b] + counted.allBad[b]));
    }
    tallest = std::max(tallest, static_cast<double>(counted.atLimit));
    anyAtLimit = anyAtLimit || counted.atLimit > 0;
  }

  const AxisScale scale = AxisScale::FromZero(tallest);
  const bool labelled = groups_.size() > 1;
  const int top = area.top() + line + 4 + (labelled ? line : 0) + line / 2;
  const QRect plots(QPoint(area.left() + ValueAxisRoom(scale, metrics), top),
                    QPoint(area.right(), area.bottom() - line - kChartTickLength));
  DrawValueAxis(painter, plots, scale, palette);
  if (groups_.empty()) {
    painter.drawText(plots, Qt::AlignCenter | Qt::TextWordWrap, "No run yet");
    return;
  }

  const int panels = static_cast<int>(groups_.size());
  const int panelWidth = (plots.width() - kPanelGap * (panels - 1)) / panels;
  // A column per bin, and a gap and a column for the runs at the limit where there are any.
  const int columns = std::max(bins.count, 1) + (anyAtLimit ? 2 : 0);
  for (int g = 0; g < panels; ++g) {
    const QRect panel(plots.left() + g * (panelWidth + kPanelGap), plots.top(), panelWidth,
                      plots.height());
    painter.setPen(text);
    painter.drawLine(panel.bottomLeft(), panel.bottomRight());
    if (labelled) {
      painter.drawText(QRect(panel.left(), top - line / 2 - line, panel.width(), line),
                       Qt::AlignCenter,
                       metrics.elidedText(groups_[g].label, Qt::ElideRight, panel.width()));
    }
    const auto columnRect = [&](int column, double fromCount, double toCount) {
      const int left = panel.left() + panel.width() * column / columns;
      const int right = panel.left() + panel.width() * (column + 1) / columns;
      const int bottom = static_cast<int>(std::lround(ValueY(scale, panel, fromCount)));
      const int topY = static_cast<int>(std::lround(ValueY(scale, panel, toCount)));
      return QRect(QPoint(left + 1, topY), QPoint(right - 1, bottom - 1));
    };
    const Counts& group = counts[static_cast<std::size_t>(g)];
    for (int b = 0; b < bins.count; ++b) {
      const double perfect = static_cast<double>(group.perfect[b]);
      const double stacked = perfect + static_cast<double>(group.allBad[b]);
      FillBar(painter, columnRect(b, 0, perfect), RunEnd::PerfectGenome, palette);
      FillBar(painter, columnRect(b, perfect, stacked), RunEnd::AllBadGenome, palette);
    }
    const QRect below(panel.left(), panel.bottom() + kChartTickLength, panel.width(), line);
    painter.setPen(text);
    if (bins.count > 0) {
      DrawGenerationLabels(painter, bins, columnRect(0, 0, 0).left(),
                           columnRect(bins.count - 1, 0, 0).right(), below);
    }
    if (anyAtLimit) {
      const QRect limit = columnRect(columns - 1, 0, static_cast<double>(group.atLimit));
      FillBar(painter, limit, RunEnd::LimitReached, palette);
      painter.setPen(text);
      painter.drawText(QRect(limit.center().x() - 20, below.top(), 41, line), Qt::AlignCenter,
                       "limit");
    }
  }
}

}  // namespace evo
