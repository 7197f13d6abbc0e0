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
  if (followed_) followed_->removeEventFilter(this);
  followed_ = nullptr;
  if (focused == nullptr || focused == &window_ || focused->window() != &window_ ||
      IsChart(*focused)) {
    hide();
    return;
  }
  // A layout may move or resize the control while it has the focus: a caption that wraps to
  // another line moves the buttons beneath it.
  followed_ = focused;
  focused->installEventFilter(this);
  Place();
  raise();
  show();
}

void FocusRing::Place() {
  const QRect control(followed_->mapTo(&window_, QPoint(0, 0)), followed_->size());
  setGeometry(
      control.adjusted(-kFocusRingMargin, -kFocusRingMargin, kFocusRingMargin, kFocusRingMargin));
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event) {
  if (watched == followed_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
    Place();
  }
  return QFocusFrame::eventFilter(watched, event);
}

void FocusRing::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QPen(FocusRingColour(palette()), kFocusRingWidth));
  const qreal inset = kFocusRingWidth / 2.0;
  painter.drawRect(QRectF(rect()).adjusted(inset, inset, -inset, -inset));
}

}  // namespace evo
