// A histogram of the generations repeated runs took to end, a panel beside the other for each
// value of a compared setting: runs that ended in a perfect genome and in an all-bad genome told
// apart by colour and pattern in the same bars, runs at the generation limit counted apart in a
// bar of their own, and in each panel the median and the middle half of the runs that ended.
#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

#include "engine/runs/compared_runs.h"
#include "views/charts/chart.h"
#include "views/charts/chart_axis.h"

class QFontMetrics;

namespace evo {

class RunsHistogram : public Chart {
  Q_OBJECT

 public:
  explicit RunsHistogram(QWidget* parent = nullptr);

  // The runs finished so far, and the name of each group ("good mutation probability .05",
  // nothing when none is compared) with its value alone (".05") for a narrow panel. The
  // description for screen readers follows only with Describe, so that a batch under way does
  // not keep announcing itself.
  void SetGroups(std::vector<RunGroup> groups, QStringList names, QStringList values);
  // States the figures of every group as the description.
  void Describe();

  QString Title() const override;
  void Draw(QPainter& painter, const QRect& area, const QPalette& palette) const override;

  // Where everything stands in an area, worked out once for drawing, and for tests.
  struct Text {
    QString text;
    QRect rect;
  };
  // A bin's bar: the runs that ended in a perfect genome at its foot, those that ended in an
  // all-bad genome above them.
  struct Bar {
    std::int64_t firstGeneration = 0;
    QRect perfect;
    QRect allBad;
  };
  struct Panel {
    QRect plot;
    QRect mark;       // above the plot: where the median and the middle half are marked
    QRect bins;       // the part of the plot that the bins span
    QRect limit;      // the column of the runs at the limit, empty when there are none
    QRect limitWord;  // the word "limit" under it, empty where it does not fit
    QStringList title;
    QRect titleRect;
    std::vector<AxisLabel> generations;
    std::vector<Bar> bars;
    QRect limitBar;
    QRect middleHalf;  // the box over the lower to the upper quartile, empty without one
    int median = 0;    // where the median stands, with the box
  };
  struct Layout {
    std::vector<Text> legend;
    std::vector<QRect> swatches;
    QRect valueAxis;  // the plots' left edge and height
    AxisScale scale = AxisScale::FromZero(1);
    std::vector<Panel> panels;
    QRect runsTitle;
    QRect generationsTitle;
    QRect emptyNote;  // where "No run yet" stands, when no run has finished
  };
  Layout LayOut(const QRect& area, const QFontMetrics& metrics) const;
  // Every text the chart draws in area, and where.
  std::vector<Text> Texts(const QRect& area, const QFontMetrics& metrics) const;

 private:
  // The bins, shared by every group: a round width, from a multiple of it, covering the
  // generations of every run that ended in a detection.
  struct Bins {
    std::int64_t first = 0;
    std::int64_t width = 1;
    int count = 0;
    std::int64_t End() const { return first + count * width; }
  };
  // A group's runs in each bin by their ending, and its runs at the limit.
  struct Counts {
    std::vector<std::int64_t> perfect;
    std::vector<std::int64_t> allBad;
    std::int64_t atLimit = 0;
  };

  Bins BinsOfRuns() const;
  static Counts CountInBins(const std::vector<RunResult>& results, const Bins& bins);
  double Tallest(const Bins& bins) const;
  // The bars and the marks of a group in its panel.
  static void PlaceBars(Panel& panel, const RunGroup& group, const Bins& bins,
                        const AxisScale& scale);

  std::vector<RunGroup> groups_;
  QStringList names_;
  QStringList values_;
};

}  // namespace evo
