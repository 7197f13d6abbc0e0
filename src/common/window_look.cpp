#include "common/window_look.h"

#include <QApplication>
#include <QFont>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace evo {

void InstallProgramFont() {
  QFont font(kProgramFontFamily);
  font.setPointSizeF(8.25);
  QApplication::setFont(font);
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen =
      window.screen() != nullptr ? window.screen() : QApplication::primaryScreen();
  if (screen == nullptr) return;
  window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                         screen->availableGeometry()));
}

}  // namespace evo
