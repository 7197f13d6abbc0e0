#include "views/charts/runs_histogram.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>

#include "common/window_look.h"
#include "views/charts/batch_words.h"
#include "views/charts/chart_axis.h"

namespace evo {
namespace {

// About this many bins span the generations of the runs that ended in a detection.
constexpr int kBinsWanted = 12;
constexpr int kLargestPanelGap = 12;
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

void FillBar(QPainter& painter, const QRect& bar, RunEnd end, const QPalette& palette) {
  if (bar.height() <= 0 || bar.width() <= 0) return;
  const QBrush brush = EndingBrush(end, palette);
  painter.fillRect(bar, brush);
  painter.setPen(brush.color());
  painter.drawRect(bar.adjusted(0, 0, -1, -1));
}

// The median's mark: a line down the panel, with a box over the middle half above the bars.
void DrawMedianMark(QPainter& painter, const QRect& box, int median, const QRect& plot,
                    const QColor& colour) {
  painter.setPen(QPen(colour, 1, Qt::DashLine));
  painter.drawLine(median, box.bottom(), median, plot.bottom());
  painter.setPen(QPen(colour, 1));
  painter.drawRect(box);
  painter.setPen(QPen(colour, 3));
  painter.drawLine(median, box.top(), median, box.bottom());
}

int MarkHeight(const QFontMetrics& metrics) {
  return std::max(4, metrics.height() / 2);
}

// The words of the legend, each beside its swatch.
const char* const kLegendWords[] = {
    QT_TRANSLATE_NOOP("evo::RunsHistogram", "perfect genome"),
    QT_TRANSLATE_NOOP("evo::RunsHistogram", "all bad genome"),
    QT_TRANSLATE_NOOP("evo::RunsHistogram", "limit reached"),
    QT_TRANSLATE_NOOP("evo::RunsHistogram", "median and middle half of the runs that ended"),
};

// The lines of a panel's title that fit its width: the name in up to two lines, else the value.
QStringList TitleLines(const QString& name, const QString& value, int width,
                       const QFontMetrics& metrics) {
  if (name.isEmpty()) return {};
  if (metrics.horizontalAdvance(name) <= width) return {name};
  const QStringList words = name.split(' ');
  for (qsizetype split = words.size() - 1; split > 0; --split) {
    const QString first = words.mid(0, split).join(' ');
    const QString second = words.mid(split).join(' ');
    if (metrics.horizontalAdvance(first) <= width && metrics.horizontalAdvance(second) <= width) {
      return {first, second};
    }
  }
  return {metrics.elidedText(value, Qt::ElideRight, width)};
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

RunsHistogram::RunsHistogram(QWidget* parent) : Chart(parent) {
  setAccessibleName(tr("Histogram of the generations each run took to end"));
  Describe();
}

void RunsHistogram::SetGroups(std::vector<RunGroup> groups, QStringList names, QStringList values) {
  groups_ = std::move(groups);
  names_ = std::move(names);
  values_ = std::move(values);
  Changed();
}

QString RunsHistogram::Title() const {
  return tr("Generations to the end of each run");
}

void RunsHistogram::Describe() {
  QStringList parts;
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    const RunTally& tally = groups_[g].tally;
    const QString name = names_.value(static_cast<qsizetype>(g));
    QString part =
        (name.isEmpty() ? QString() : name + ": ") +
        tr("%1, %2 ended with a perfect genome, %3 with an all bad genome, %4 at the limit")
            .arg(RunsText(static_cast<std::int64_t>(groups_[g].runs.size())))
            .arg(tally.perfect)
            .arg(tally.allBad)
            .arg(tally.atLimit);
    const GenerationSpread& spread = tally.ended;
    if (spread.runs > 0) {
      part += tr("; generations from %1 to %2, median %3, quartiles %4 and %5, mean %6")
                  .arg(RunFigure(spread.minimum), RunFigure(spread.maximum),
                       RunFigure(spread.median), RunFigure(spread.lowerQuartile),
                       RunFigure(spread.upperQuartile), RunFigure(spread.mean));
    }
    parts << part;
  }
  setAccessibleDescription(parts.isEmpty() ? tr("No run yet") : parts.join(". "));
  Changed();
}

RunsHistogram::Bins RunsHistogram::BinsOfRuns() const {
  std::int64_t lowest = std::numeric_limits<std::int64_t>::max();
  std::int64_t highest = 0;
  for (const RunGroup& group : groups_) {
    for (const RunResult& run : group.runs) {
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

double RunsHistogram::Tallest(const Bins& bins) const {
  double tallest = 1;
  for (const RunGroup& group : groups_) {
    const Counts counts = CountInBins(group.runs, bins);
    for (int b = 0; b < bins.count; ++b) {
      tallest = std::max(tallest, static_cast<double>(counts.perfect[b] + counts.allBad[b]));
    }
    tallest = std::max(tallest, static_cast<double>(counts.atLimit));
  }
  return tallest;
}

RunsHistogram::Layout RunsHistogram::LayOut(const QRect& area, const QFontMetrics& metrics) const {
  Layout layout;
  const int line = metrics.height();
  // The legend flows over as many lines as the area's width needs.
  QPoint at = area.topLeft();
  for (const char* words : kLegendWords) {
    const QString text = tr(words);
    const int width = kLegendSwatch + 4 + metrics.horizontalAdvance(text);
    if (at.x() > area.left() && at.x() + width > area.right()) at = {area.left(), at.y() + line};
    layout.swatches.push_back(
        QRect(at.x(), at.y() + (line - kLegendSwatch) / 2, kLegendSwatch, kLegendSwatch));
    const int room = area.right() + 1 - (at.x() + kLegendSwatch + 4);
    const int textWidth = std::min(metrics.horizontalAdvance(text), std::max(room, 0));
    layout.legend.push_back({textWidth < metrics.horizontalAdvance(text)
                                 ? metrics.elidedText(text, Qt::ElideRight, textWidth)
                                 : text,
                             QRect(at.x() + kLegendSwatch + 4, at.y(), textWidth, line)});
    at.rx() += width + 2 * metrics.horizontalAdvance(' ');
  }
  const int legendBottom = at.y() + line;

  const Bins bins = BinsOfRuns();
  const AxisScale scale = AxisScale::FromZero(Tallest(bins));
  layout.scale = scale;
  const bool titled = groups_.size() > 1;
  const int panels = std::max<int>(1, static_cast<int>(groups_.size()));
  const int left = area.left() + line + ValueAxisRoom(scale, metrics);
  // Many panels in a narrow area leave the bars the room that gaps would take.
  const int gap = std::clamp((area.right() - left) / (10 * panels), 2, kLargestPanelGap);
  const int panelWidth = std::max(1, (area.right() - left - gap * (panels - 1)) / panels);
  // Two lines of title where a name needs them.
  int titleLines = 0;
  for (std::size_t g = 0; titled && g < groups_.size(); ++g) {
    titleLines = std::max<int>(
        titleLines,
        static_cast<int>(TitleLines(names_.value(static_cast<qsizetype>(g)),
                                    values_.value(static_cast<qsizetype>(g)), panelWidth, metrics)
                             .size()));
  }
  // A strip above the bars holds the mark of the median and the middle half.
  const int markTop = legendBottom + line / 2 + titleLines * line + line / 2;
  const int top = markTop + MarkHeight(metrics) + 2;
  const int bottom = area.bottom() - 2 * line - kChartTickLength;
  layout.valueAxis = QRect(QPoint(left, top), QPoint(area.right(), bottom));
  layout.runsTitle = QRect(QPoint(area.left(), top), QPoint(area.left() + line - 1, bottom));
  layout.generationsTitle =
      QRect(QPoint(left, bottom + kChartTickLength + line), QPoint(area.right(), area.bottom()));
  if (groups_.empty()) layout.emptyNote = layout.valueAxis;

  const bool anyAtLimit = std::any_of(groups_.begin(), groups_.end(), [](const RunGroup& group) {
    return group.tally.atLimit > 0;
  });
  const int columns = std::max(bins.count, 1) + (anyAtLimit ? 2 : 0);
  for (int g = 0; g < static_cast<int>(groups_.size()); ++g) {
    Panel panel;
    panel.plot = QRect(left + g * (panelWidth + gap), top, panelWidth, bottom - top + 1);
    panel.mark = QRect(panel.plot.left(), markTop, panelWidth, MarkHeight(metrics));
    const auto column = [&](int c) { return panel.plot.left() + panel.plot.width() * c / columns; };
    panel.bins = QRect(QPoint(column(0), top), QPoint(column(std::max(bins.count, 1)) - 1, bottom));
    const int labelsTop = bottom + kChartTickLength;
    if (anyAtLimit) {
      panel.limit = QRect(QPoint(column(columns - 1), top), QPoint(column(columns) - 1, bottom));
      // The word under the limit's column, where it fits within the panel: the legend names the
      // dotted bar as well.
      const int width = metrics.horizontalAdvance(tr("limit"));
      const int wordLeft =
          std::min(panel.limit.center().x() - width / 2, panel.plot.right() + 1 - width);
      if (wordLeft >= panel.bins.right()) {
        panel.limitWord = QRect(wordLeft, labelsTop, width, line);
      }
    }
    // The generations' labels stay within the panel and clear of the limit's word.
    const int labelsEnd =
        panel.limitWord.isEmpty() ? panel.plot.right() + 1 : panel.limitWord.left();
    if (bins.count > 0) {
      panel.generations =
          HorizontalAxisLabels(static_cast<double>(bins.first), static_cast<double>(bins.End()),
                               true, panel.bins.left(), panel.bins.right(), labelsTop, metrics,
                               panel.plot.left(), labelsEnd - metrics.horizontalAdvance(' '));
    }
    if (titled) {
      panel.title = TitleLines(names_.value(g), values_.value(g), panelWidth, metrics);
      panel.titleRect =
          QRect(panel.plot.left(), markTop - line / 2 - static_cast<int>(panel.title.size()) * line,
                panelWidth, static_cast<int>(panel.title.size()) * line);
    }
    PlaceBars(panel, groups_[static_cast<std::size_t>(g)], bins, scale);
    layout.panels.push_back(std::move(panel));
  }
  return layout;
}

std::vector<RunsHistogram::Text> RunsHistogram::Texts(const QRect& area,
                                                      const QFontMetrics& metrics) const {
  const Layout layout = LayOut(area, metrics);
  std::vector<Text> texts = layout.legend;
  for (const Panel& panel : layout.panels) {
    if (!panel.title.isEmpty()) texts.push_back({panel.title.join('\n'), panel.titleRect});
    for (const AxisLabel& label : panel.generations) texts.push_back({label.text, label.rect});
    if (!panel.limitWord.isEmpty()) texts.push_back({tr("limit"), panel.limitWord});
  }
  return texts;
}

void RunsHistogram::Draw(QPainter& painter, const QRect& area, const QPalette& palette) const {
  const QFontMetrics metrics = painter.fontMetrics();
  const Layout layout = LayOut(area, metrics);
  const QColor text = palette.color(QPalette::WindowText);
  const RunEnd endings[] = {RunEnd::PerfectGenome, RunEnd::AllBadGenome, RunEnd::LimitReached};
  for (std::size_t i = 0; i < layout.legend.size(); ++i) {
    if (i < std::size(endings)) {
      FillBar(painter, layout.swatches[i], endings[i], palette);
    } else {
      const QRect swatch = layout.swatches[i];
      DrawMedianMark(painter, swatch.adjusted(0, 2, 0, -2), swatch.center().x(), swatch, text);
    }
    painter.setPen(text);
    painter.drawText(layout.legend[i].rect, Qt::AlignLeft | Qt::AlignVCenter,
                     layout.legend[i].text);
  }
  DrawValueAxis(painter, layout.valueAxis, layout.scale, palette);
  painter.setPen(text);
  DrawAxisTitle(painter, layout.runsTitle, tr("runs"), Qt::Vertical);
  DrawAxisTitle(painter, layout.generationsTitle, tr("generations to the end"), Qt::Horizontal);
  if (groups_.empty()) {
    painter.drawText(layout.emptyNote, Qt::AlignCenter | Qt::TextWordWrap, tr("No run yet"));
    return;
  }
  const Bins bins = BinsOfRuns();
  for (const Panel& panel : layout.panels) {
    for (const Bar& bar : panel.bars) {
      FillBar(painter, bar.perfect, RunEnd::PerfectGenome, palette);
      FillBar(painter, bar.allBad, RunEnd::AllBadGenome, palette);
    }
    painter.setPen(text);
    if (!panel.title.isEmpty()) {
      painter.drawText(panel.titleRect, Qt::AlignHCenter | Qt::AlignBottom, panel.title.join('\n'));
    }
    DrawHorizontalAxis(
        painter,
        QRect(panel.bins.left(), panel.plot.top(), panel.bins.width(), panel.plot.height()),
        static_cast<double>(bins.first), static_cast<double>(bins.End()), panel.generations, text);
    painter.drawLine(panel.plot.bottomLeft(), panel.plot.bottomRight());
    if (!panel.limit.isEmpty()) {
      FillBar(painter, panel.limitBar, RunEnd::LimitReached, palette);
      painter.setPen(text);
      if (!panel.limitWord.isEmpty())
        painter.drawText(panel.limitWord, Qt::AlignCenter, tr("limit"));
    }
    if (!panel.middleHalf.isEmpty()) {
      DrawMedianMark(painter, panel.middleHalf, panel.median, panel.plot, text);
    }
  }
}

void RunsHistogram::PlaceBars(Panel& panel, const RunGroup& group, const Bins& bins,
                              const AxisScale& scale) {
  const QRect& plot = panel.plot;
  const auto height = [&](double count) {
    return static_cast<int>(std::lround(plot.bottom() - ValueY(scale, plot, count)));
  };
  const Counts counts = CountInBins(group.runs, bins);
  for (int b = 0; b < bins.count; ++b) {
    const int left = panel.bins.left() + panel.bins.width() * b / bins.count;
    const int right = panel.bins.left() + panel.bins.width() * (b + 1) / bins.count;
    const int perfect = height(static_cast<double>(counts.perfect[b]));
    const int stacked = height(static_cast<double>(counts.perfect[b] + counts.allBad[b]));
    // A pixel between bars while there is room for one, and a bar of a pixel at least.
    const int apart = right - left > 3 ? 1 : 0;
    const int width = std::max(1, right - left - 2 * apart);
    panel.bars.push_back(
        {bins.first + b * bins.width,
         QRect(left + apart, plot.bottom() - perfect + 1, width, perfect),
         QRect(left + apart, plot.bottom() - stacked + 1, width, stacked - perfect)});
  }
  if (!panel.limit.isEmpty()) {
    const int bar = height(static_cast<double>(counts.atLimit));
    panel.limitBar =
        QRect(panel.limit.left() + 1, plot.bottom() - bar + 1, panel.limit.width() - 2, bar);
  }
  const GenerationSpread& spread = group.tally.ended;
  if (spread.runs == 0 || bins.count == 0) return;
  const double span = static_cast<double>(bins.End() - bins.first);
  // A generation stands for the middle of its own span, where its bar is when a bin is one wide.
  const auto x = [&](double generation) {
    return panel.bins.left() +
           static_cast<int>(std::lround((generation + 0.5 - static_cast<double>(bins.first)) /
                                        span * panel.bins.width()));
  };
  panel.middleHalf = QRect(
      QPoint(x(spread.lowerQuartile), panel.mark.top()),
      QPoint(std::max(x(spread.upperQuartile), x(spread.lowerQuartile) + 1), panel.mark.bottom()));
  panel.median = x(spread.median);
}

}  // namespace evo
