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

// Graphics and the parts of controls that tell their state need 3:1 (WCAG 2.1 AA).
constexpr double kGraphicsContrast = 3.0;

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

QColor ContrastingColour(const QColor& colour, std::initializer_list<QColor> backgrounds,
                         double minimum) {
  const auto leastContrast = [backgrounds](const QColor& candidate) {
    double least = 21;
    for (const QColor& background : backgrounds) {
      least = std::min(least, ContrastRatio(candidate, background));
    }
    return least;
  };
  constexpr int kSteps = 20;
  QColor nearest = colour;
  for (int step = 0; step <= kSteps; ++step) {
    for (const QColor& extreme : {QColor(Qt::black), QColor(Qt::white)}) {
      const QColor candidate = Blend(colour, extreme, static_cast<double>(step) / kSteps);
      if (leastContrast(candidate) >= minimum) return candidate;
      if (leastContrast(candidate) > leastContrast(nearest)) nearest = candidate;
    }
  }
  return nearest;
}

QColor ChartMarkColour(const QPalette& palette) {
  return ChartColour(palette.color(QPalette::Highlight), palette);
}

QColor ChartColour(const QColor& colour, const QPalette& palette) {
  return ContrastingColour(colour, {palette.color(QPalette::Window)}, kGraphicsContrast);
}

QColor FocusRingColour(const QPalette& palette) {
  return ContrastingColour(palette.color(QPalette::Highlight),
                           {palette.color(QPalette::Window), palette.color(QPalette::Base)},
                           kGraphicsContrast);
}

}  // namespace evo
