#include "views/charts/chart_focus_frame.h"

#include <QPainter>

#include "common/window_look.h"

namespace evo {

ChartFocusFrame::ChartFocusFrame(QWidget& chart) : QFocusFrame(&chart) {
  hide();
}

void ChartFocusFrame::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(ChartMarkColour(palette()), 2));
  painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

}  // namespace evo
