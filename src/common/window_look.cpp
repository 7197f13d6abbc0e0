#include "common/window_look.h"

#include <QApplication>
#include <QColor>
#include <QFont>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace evo {
namespace {

QFont ProgramFont() {
  QFont font(kProgramFontFamily);
  font.setPointSizeF(8.25);
  // Set, not inherited: a platform's bold or italic application font stays out of the windows.
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  return font;
}

double RelativeLuminance(const QColor& colour) {
  const auto linear = [](double channel) {
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
  };
  const QColor rgb = colour.toRgb();
  return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) + 0.0722 * linear(rgb.blueF());
}

}  // namespace

void InstallProgramFont() {
  QApplication::setFont(ProgramFont());
}

void SetProgramFont(QWidget& window) {
  window.setFont(ProgramFont());
}

void CentreOnScreen(QWidget& window) {
  const QScreen* screen =
      window.screen() != nullptr ? window.screen() : QApplication::primaryScreen();
  if (screen == nullptr) return;
  window.setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window.size(),
                                         screen->availableGeometry()));
}

QColor Blend(const QColor& from, const QColor& to, double share) {
  const auto mix = [share](double a, double b) { return a + (b - a) * share; };
  return QColor::fromRgbF(static_cast<float>(mix(from.redF(), to.redF())),
                          static_cast<float>(mix(from.greenF(), to.greenF())),
                          static_cast<float>(mix(from.blueF(), to.blueF())));
}

double ContrastRatio(const QColor& a, const QColor& b) {
  const double first = RelativeLuminance(a);
  const double second = RelativeLuminance(b);
  return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

QColor ContrastingColour(const QColor& colour, const QColor& background, double minimum) {
  const QColor black(Qt::black);
  const QColor white(Qt::white);
  const QColor& extreme =
      ContrastRatio(black, background) > ContrastRatio(white, background) ? black : white;
  constexpr int kSteps = 20;
  for (int step = 0; step < kSteps; ++step) {
    const QColor candidate = Blend(colour, extreme, static_cast<double>(step) / kSteps);
    if (ContrastRatio(candidate, background) >= minimum) return candidate;
  }
  return extreme;
}

QColor ChartMarkColour(const QPalette& palette) {
  constexpr double kGraphicsContrast = 3.0;
  return ContrastingColour(palette.color(QPalette::Highlight), palette.color(QPalette::Window),
                           kGraphicsContrast);
}

}  // namespace evo
