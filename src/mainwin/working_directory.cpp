#include "mainwin/working_directory.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <system_error>

namespace evo {
namespace {

// The texts of this unit, in the translation context that lupdate reads them in.
struct WorkingDirectory {
  Q_DECLARE_TR_FUNCTIONS(evo::WorkingDirectory)
};

// The path as the user reads it in a message; only a message loses what is not text.
QString Readable(const std::filesystem::path& path) {
  return QFile::decodeName(path.c_str());
}

std::filesystem::path HomeFolder() {
  if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') return home;
  return QFile::encodeName(QDir::homePath()).toStdString();
}

}  // namespace

std::filesystem::path DataDirectory() {
  const char* variable = std::getenv("XDG_DATA_HOME");
  std::filesystem::path base = variable != nullptr ? variable : "";
  // The XDG base directory rules take a relative path for invalid: it would depend on the folder
  // the program happens to be started in.
  if (!base.is_absolute()) base = HomeFolder() / ".local/share";
  return base / "evolution-simulation";
}

QString EnterDataDirectory() {
  const std::filesystem::path directory = DataDirectory();
  std::error_code failure;
  std::filesystem::create_directories(directory, failure);
  if (failure) {
    return WorkingDirectory::tr("Cannot create the data folder %1: %2")
        .arg(Readable(directory), QString::fromStdString(failure.message()));
  }
  if (::chdir(directory.c_str()) != 0) {
    return WorkingDirectory::tr("Cannot open the data folder %1: %2")
        .arg(Readable(directory), QString::fromLocal8Bit(std::strerror(errno)));
  }
  return {};
}

}  // namespace evo
