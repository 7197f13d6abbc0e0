// A histogram of the generations repeated runs took to end, one beside the other for each value
// of a compared setting: runs that ended in a perfect genome and in an all-bad genome told apart
// by colour and pattern in the same bars, runs at the generation limit counted apart in a bar of
// their own.
#pragma once

#include <QString>
#include <vector>

#include "engine/runs/run_tally.h"
#include "views/charts/chart.h"

namespace evo {

// A figure of the runs as the window writes it: whole numbers as they are, others to a tenth.
QString RunFigure(double value);

// The runs made with one value of the compared setting (all runs when none is compared).
struct RunGroup {
  QString label;  // such as "good mutation probability 0.05"; empty when none is compared
  std::vector<RunResult> results;
};

class RunsHistogram : public Chart {
  Q_OBJECT
  Q_CLASSINFO("AccessibleRole", "Chart")

 public:
  explicit RunsHistogram(QWidget* parent = nullptr);

  // The runs finished so far. The description for screen readers follows only with Describe, so
  // that a batch under way does not keep announcing itself.
  void SetGroups(std::vector<RunGroup> groups);
  // States the figures of every group as the description.
  void Describe();

  QString Title() const override;
  void Draw(QPainter& painter, const QRect& area, const QPalette& palette) const override;

 private:
  // The bins, shared by every group: a round width, from a multiple of it, covering the
  // generations of every run that ended in a detection.
  struct Bins {
    std::int64_t first = 0;
    std::int64_t width = 1;
    int count = 0;
  };
  Bins BinsOfRuns() const;
  // A group's runs in each bin by their ending, and its runs at the limit.
  struct Counts {
    std::vector<std::int64_t> perfect;
    std::vector<std::int64_t> allBad;
    std::int64_t atLimit = 0;
  };
  static Counts CountInBins(const std::vector<RunResult>& results, const Bins& bins);
  static void DrawGenerationLabels(QPainter& painter, const Bins& bins, int left, int right,
                                   const QRect& below);

  std::vector<RunGroup> groups_;
};

}  // namespace evo
