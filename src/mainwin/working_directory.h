// Where the program keeps critter.dat: the current directory when started from a shell, its own
// data directory when started from the desktop's menu (whose current directory is the home
// folder, where the file must neither land nor be deleted from).
#pragma once

#include <QString>
#include <filesystem>

namespace evo {

// The per-user data directory: evolution-simulation under $XDG_DATA_HOME, or under
// ~/.local/share when that is not set or is not an absolute path. Its name is the bytes that the
// environment holds, whatever they are.
std::filesystem::path DataDirectory();

// Makes the data directory (with its parents, when missing) and makes it the current directory.
// Returns an empty text on success, and otherwise what failed with the system's reason.
QString EnterDataDirectory();

}  // namespace evo
