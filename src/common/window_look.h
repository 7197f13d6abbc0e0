// What the program's windows share in their look.
#pragma once

class QWidget;

namespace evo {

// The family that stands in for the MS Sans Serif and Arial of the original design; Liberation
// Sans has Arial's metrics, so every caption fits its control as designed.
inline constexpr char kProgramFontFamily[] = "Liberation Sans";

// Makes the program's default font (Liberation Sans, 8.25 pt) the application's font.
void InstallProgramFont();

// Moves a top-level window so that it stands in the middle of its screen.
void CentreOnScreen(QWidget& window);

}  // namespace evo
