// The program's icon, which every window and box of the program carries.
#pragma once

#include <QIcon>

namespace evo {

// The hand-drawn 16 and 32 pixel images.
QIcon ProgramIcon();

}  // namespace evo
