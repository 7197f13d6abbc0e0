// What went wrong in a command of the simulation, as data: the window says it in words, in one
// place of its own.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <variant>

#include "engine/setting.h"

namespace evo {

// A box whose text holds a value that the simulation cannot hold (beyond its integers or floats,
// a population past the largest whose doubled pool counts in 32 bits), or a start text that
// does not begin with a digit from 1 to 8.
struct UnreadableSetting {
  Setting setting;
  bool operator==(const UnreadableSetting&) const = default;
};

// A population size larger than the records that the population file holds.
struct PopulationBeyondFile {
  std::int32_t populationSize;
  std::int64_t recordsWritten;
  bool operator==(const PopulationBeyondFile&) const = default;
};

// A setting outside what the main window accepts, handed to repeated runs.
struct RefusedSetting {
  Setting setting;
  double value;
  bool operator==(const RefusedSetting&) const = default;
};

// The memory that runs of this many critters on this many workers at once need is not there.
struct OutOfMemory {
  std::int32_t critters;
  unsigned workers;
  bool operator==(const OutOfMemory&) const = default;
};

// What the program did to its population file, and the system's error number for why it failed.
enum class FileAction { Open, ReadSize, Lock, Map, Check, Grow };
struct FileActionFailed {
  FileAction action;
  std::string path;
  int error;
  bool operator==(const FileActionFailed&) const = default;
};

// What stands at the population file's path in place of a regular file.
enum class FileKind { SymbolicLink, Directory, NamedPipe, Device, Socket, Other };
struct NotARegularFile {
  std::string path;
  FileKind kind;
  bool operator==(const NotARegularFile&) const = default;
};

// The file has other names as well (hard links), through which it could be written.
struct HardLinkedFile {
  std::string path;
  bool operator==(const HardLinkedFile&) const = default;
};

struct FileHeldByAnotherCopy {
  std::string path;
  bool operator==(const FileHeldByAnotherCopy&) const = default;
};

// A record written while no population file is open.
struct FileNotOpen {
  bool operator==(const FileNotOpen&) const = default;
};

// What happened to the file of a population that is therefore lost.
enum class FileLoss { Shortened, Deleted, Replaced, Unreadable, Changed };
struct PopulationLost {
  std::string path;
  FileLoss loss;
  bool operator==(const PopulationLost&) const = default;
};

using Problem = std::variant<UnreadableSetting, PopulationBeyondFile, RefusedSetting, OutOfMemory,
                             FileActionFailed, NotARegularFile, HardLinkedFile,
                             FileHeldByAnotherCopy, FileNotOpen, PopulationLost>;

// A command of the simulation that cannot go on, and why. Nothing the command would have changed
// has been changed, unless its documentation says otherwise.
class EngineError : public std::exception {
 public:
  explicit EngineError(Problem problem) : problem_(std::move(problem)) {}

  const Problem& problem() const { return problem_; }
  // What kind of problem it is, for a log; the user is told it in the window's words.
  const char* what() const noexcept override { return "evo::EngineError"; }

 private:
  Problem problem_;
};

// A failure of the population file: the population is gone with it.
class FileError : public EngineError {
 public:
  using EngineError::EngineError;
};

}  // namespace evo
