// Every sentence the program tells the user about its population file, in one place.
#pragma once

#include <sys/types.h>

#include <string>

namespace evo {

// What failed, with the system's own words for why: "Cannot open critter.dat: Permission denied".
std::string CannotMessage(const std::string& action, const std::string& path, int error);

// The file at path is not one the population may be kept in: a symbolic link, a directory, a pipe,
// a device or a socket (as mode tells), or a file with other names as well (hard links).
std::string NotARegularFileMessage(const std::string& path, mode_t mode);
std::string HardLinkedMessage(const std::string& path);

std::string HeldByAnotherCopyMessage(const std::string& path);

// A record written while no population file is open.
std::string NotOpenMessage();

// What happened to the file of a population that is therefore lost.
enum class FileLoss { Shortened, Deleted, Replaced, Unreadable, Changed };
std::string PopulationLostMessage(const std::string& path, FileLoss loss);

}  // namespace evo
