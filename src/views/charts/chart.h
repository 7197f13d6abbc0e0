// What the summary window's charts share: they draw into any area in any palette, so that the
// window shows them in the desktop's colours and a picture for paper shows them dark on white.
#pragma once

#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

class QColor;
class QFontMetrics;
class QPainter;
class QPalette;

namespace evo {

class AxisScale;

class Chart : public QWidget {
  Q_OBJECT
  Q_CLASSINFO("AccessibleRole", "Chart")

 public:
  using QWidget::QWidget;

  // What the chart shows, as a picture's title.
  virtual QString Title() const = 0;

  // Draws the axes, their labels and the marks into area, with the painter's font and the
  // palette's colours; a chart's picture draws them so too.
  virtual void Draw(QPainter& painter, const QRect& area, const QPalette& palette) const = 0;

 signals:
  // The figures or their description changed: whatever shows the chart draws it anew.
  void changed();

 protected:
  // Redraws the chart and tells that it changed.
  void Changed();

  // Where the chart draws in the window: inside the edge that its focus frame takes, so that the
  // frame covers no label.
  QRect DrawingArea() const;

  void paintEvent(QPaintEvent* event) override;
};

// The width of the edge of a chart that only its focus frame draws on.
inline constexpr int kChartFocusEdge = 3;

// How far an axis's ticks reach out of the plot.
inline constexpr int kChartTickLength = 3;

// The room that the labels and ticks of a value axis take at the left of a plot.
int ValueAxisRoom(const AxisScale& scale, const QFontMetrics& metrics);

// Where a value stands on a value axis along the plot's left edge.
double ValueY(const AxisScale& scale, const QRect& plot, double value);

// A label of an axis: the value it marks, its text and where the text stands.
struct AxisLabel {
  double value;
  QString text;
  QRect rect;
};

// The labels of a horizontal axis that maps low to high onto left to right, their tops at top:
// at round steps (whole ones for whole values), as many as fit with a blank between neighbours,
// none passing leastX or mostX (a label at an end is moved in). At least the label of low.
std::vector<AxisLabel> HorizontalAxisLabels(double low, double high, bool whole, int left,
                                            int right, int top, const QFontMetrics& metrics,
                                            int leastX, int mostX);

// Draws the labels of a horizontal axis along the plot's bottom, each with its tick, and the
// base line.
void DrawHorizontalAxis(QPainter& painter, const QRect& plot, double low, double high,
                        const std::vector<AxisLabel>& labels, const QColor& text);

// Draws an axis's title: centred in rect below a horizontal axis, or turned to read upward along a
// vertical one.
void DrawAxisTitle(QPainter& painter, const QRect& rect, const QString& title,
                   Qt::Orientation axis);

// Draws a value axis along the plot's left edge in the palette's text colour: at each step a tick,
// its label and a faint guide across the plot. Crisp, without smoothing: smoothed, a line of one
// pixel on a pixel's edge would spread over two at half strength and lose the contrast that the
// palette gives it.
void DrawValueAxis(QPainter& painter, const QRect& plot, const AxisScale& scale,
                   const QPalette& palette);

}  // namespace evo
