#include "common/focus_ring.h"

#include <QApplication>
#include <QPainter>

#include "common/desktop_conventions.h"
#include "common/window_look.h"

namespace evo {

FocusRing::FocusRing(QWidget& window) : QFocusFrame(&window), window_(window) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  hide();
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* focused) { Follow(focused); });
}

void FocusRing::Follow(QWidget* focused) {
  if (focused == nullptr || focused == &window_ || focused->window() != &window_ ||
      IsChart(*focused)) {
    hide();
    return;
  }
  const QRect control(focused->mapTo(&window_, QPoint(0, 0)), focused->size());
  setGeometry(
      control.adjusted(-kFocusRingMargin, -kFocusRingMargin, kFocusRingMargin, kFocusRingMargin));
  raise();
  show();
}

void FocusRing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(FocusRingColour(palette()), kFocusRingWidth));
  const qreal inset = kFocusRingWidth / 2.0;
  painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

}  // namespace evo
