// What the program's windows share in their look.
#pragma once

#include <initializer_list>

class QColor;
class QPalette;
class QWidget;

namespace evo {

// The family that stands in for the MS Sans Serif and Arial of the original design; Liberation
// Sans has Arial's metrics, so every caption fits its control as designed.
inline constexpr char kProgramFontFamily[] = "Liberation Sans";

// Makes the program's default font (Liberation Sans, 8.25 pt) the application's font, for the
// message and input boxes.
void InstallProgramFont();

// Gives a window the program's default font as its own, which its controls inherit. A platform
// theme (qt6ct, KDE's) may replace the application's font after start-up; a window that only
// inherited it would then cut its captions.
void SetProgramFont(QWidget& window);

// Moves a top-level window so that it stands in the middle of its screen.
void CentreOnScreen(QWidget& window);

// The colour share of the way from from to to: 0 gives from, 1 gives to.
QColor Blend(const QColor& from, const QColor& to, double share);

// The contrast ratio of two colours as WCAG 2.1 defines it: 1 for equal luminance up to 21 for
// black against white.
double ContrastRatio(const QColor& a, const QColor& b);

// The colour itself when its contrast with each background reaches the minimum; otherwise the
// colour blended toward black or white just far enough to reach it, toward whichever of the two
// gets there sooner. A palette's colour that fails on its own background stays recognisable.
// Where no blend reaches the minimum, the blend that comes nearest.
QColor ContrastingColour(const QColor& colour, std::initializer_list<QColor> backgrounds,
                         double minimum);

// The colour of a chart's bars and lines: the palette's highlight, brought to the 3:1 contrast
// with the window behind them that graphics need (WCAG 2.1 AA). A dark palette's highlight is
// often made for light text on it, not for marks on the window.
QColor ChartMarkColour(const QPalette& palette);
// Any other colour of a chart's marks, brought to that contrast with the window the same way.
QColor ChartColour(const QColor& colour, const QPalette& palette);

// The colour of the ring around the control that has the focus: the palette's highlight, brought
// to 3:1 against the window around the control and against a field's background.
QColor FocusRingColour(const QPalette& palette);

}  // namespace evo
