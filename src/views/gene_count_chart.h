// A small bar chart of the ten gene counts of a population, one bar per digit 0 to 9, the
// tallest count filling the chart's height.
#pragma once

#include <QRect>
#include <QWidget>
#include <array>

namespace evo {

class GeneCountChart : public QWidget {
  Q_OBJECT
  Q_CLASSINFO("AccessibleRole", "Chart")

 public:
  explicit GeneCountChart(QWidget* parent = nullptr);

  void SetCounts(const std::array<double, 10>& counts);

  // Where the bar of digit d (0 to 9) stands, in the chart's own coordinates; an empty rectangle
  // on the base line for a count of 0.
  QRect BarRect(int digit) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QRect SlotRect(int digit) const;  // the column of a digit, bar and label
  int BaseLine() const;             // the y of the bars' common foot

  std::array<double, 10> counts_{};
};

}  // namespace evo
