// Where the program keeps critter.dat: the current directory when started from a shell, its own
// data directory when started from the desktop's menu (whose current directory is the home
// folder, where the file must neither land nor be deleted from).
#pragma once

#include <QString>
#include <QStringList>

namespace evo {

// The option of the menu entry's command that asks for the data directory.
inline constexpr char kInDataDirectoryOption[] = "--in-data-directory";

// With the option among the arguments, makes the per-user data directory (evolution-simulation
// under $XDG_DATA_HOME, or under ~/.local/share when that is not set; created when missing) the
// current directory; otherwise leaves the current directory as it is. Returns an empty text on
// success and the reason otherwise.
QString EnterWorkingDirectory(const QStringList& arguments);

}  // namespace evo
