// The frame that shows which chart has the focus.
#pragma once

#include <QFocusFrame>

namespace evo {

// A frame on the edge of a chart that has the focus, where the chart draws nothing else, in the
// colour of the chart's marks: the palette's highlight, brought to 3:1 against the window where
// the palette leaves it fainter (qt6ct's "darker" scheme). A focus frame, which screen readers
// are not shown as a nameless part of the chart.
class ChartFocusFrame final : public QFocusFrame {
 public:
  explicit ChartFocusFrame(QWidget& chart);

 protected:
  void paintEvent(QPaintEvent*) override;
};

}  // namespace evo
