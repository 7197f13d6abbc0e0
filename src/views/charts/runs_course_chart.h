// The course of the average gene over the generations of many runs: for each value compared, the
// median over the runs still going at each generation and the band of their middle half, and
// beneath, how many runs were still going.
#pragma once

#include <QStringList>
#include <cstdint>
#include <vector>

#include "engine/runs/compared_runs.h"
#include "views/charts/chart.h"

namespace evo {

class RunsCourseChart : public Chart {
  Q_OBJECT

 public:
  explicit RunsCourseChart(QWidget* parent = nullptr);

  // The course of each group, the name of the setting compared and each group's value (nothing
  // when none is compared). The description follows only with Describe.
  void SetCourses(std::vector<std::vector<CoursePoint>> courses, QString compared,
                  QStringList values);
  void Describe();

  QString Title() const override;
  void Draw(QPainter& painter, const QRect& area, const QPalette& palette) const override;

 private:
  std::int64_t LastGeneration() const;

  std::vector<std::vector<CoursePoint>> courses_;
  QString compared_;
  QStringList values_;
};

}  // namespace evo
