#include "mainwin/working_directory.h"

#include <unistd.h>

#include <QDir>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace evo {

QString DataDirectory() {
  QString base = qEnvironmentVariable("XDG_DATA_HOME");
  // The XDG base directory rules take a relative path for invalid: it would depend on the folder
  // the program happens to be started in.
  if (!QDir::isAbsolutePath(base)) base = QDir::homePath() + "/.local/share";
  return base + "/evolution-simulation";
}

QString EnterDataDirectory() {
  const QString directory = DataDirectory();
  const std::filesystem::path path = directory.toStdString();
  std::error_code failure;
  std::filesystem::create_directories(path, failure);
  if (failure) {
    return "Cannot create the data folder " + directory + ": " +
           QString::fromStdString(failure.message());
  }
  if (::chdir(path.c_str()) != 0) {
    return "Cannot open the data folder " + directory + ": " +
           QString::fromLocal8Bit(std::strerror(errno));
  }
  return {};
}

}  // namespace evo
