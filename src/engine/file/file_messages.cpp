#include "engine/file/file_messages.h"

#include <sys/stat.h>

#include <system_error>

namespace evo {
namespace {

constexpr char kRemoveAndRetry[] = " Remove or rename it, then try again.";

std::string KindOf(mode_t mode) {
  if (S_ISLNK(mode)) return "a symbolic link";
  if (S_ISDIR(mode)) return "a directory";
  if (S_ISFIFO(mode)) return "a named pipe";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

const char* WhatHappened(FileLoss loss) {
  switch (loss) {
    case FileLoss::Shortened:
      return "was shortened by another program";
    case FileLoss::Deleted:
      return "was deleted or renamed by another program";
    case FileLoss::Replaced:
      return "was replaced by another file";
    case FileLoss::Unreadable:
      return "could not be read or written (shortened by another program, or its disk is full)";
    case FileLoss::Changed:
      return "was changed by another program";
  }
  return "was lost";
}

}  // namespace

std::string CannotMessage(const std::string& action, const std::string& path, int error) {
  return action + " " + path + ": " + std::system_category().message(error);
}

std::string NotARegularFileMessage(const std::string& path, mode_t mode) {
  return "Cannot use " + path + ": it is " + KindOf(mode) +
         ", and the population is kept only in a regular file." + kRemoveAndRetry;
}

std::string HardLinkedMessage(const std::string& path) {
  return "Cannot use " + path +
         ": it is one of several names (hard links) of the same file, and the population is "
         "kept only in a file of its own, so that nothing else is written through it." +
         kRemoveAndRetry;
}

std::string HeldByAnotherCopyMessage(const std::string& path) {
  return "The population file " + path +
         " is in use by another running copy of this program in the same folder. Close that "
         "copy, or start this one in another folder.";
}

std::string NotOpenMessage() {
  return "The population file is not open";
}

std::string PopulationLostMessage(const std::string& path, FileLoss loss) {
  return "The population file " + path + " " + WhatHappened(loss) +
         ", so the population in it is lost. Create a population to start again.";
}

}  // namespace evo
