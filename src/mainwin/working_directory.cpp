#include "mainwin/working_directory.h"

#include <QDir>
#include <QStandardPaths>

namespace evo {
namespace {

QString DataDirectory() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         "/evolution-simulation";
}

}  // namespace

QString EnterWorkingDirectory(const QStringList& arguments) {
  if (!arguments.contains(kInDataDirectoryOption)) return {};
  const QString directory = DataDirectory();
  if (!QDir().mkpath(directory)) return "Cannot create the data folder " + directory;
  if (!QDir::setCurrent(directory)) return "Cannot open the data folder " + directory;
  return {};
}

}  // namespace evo
