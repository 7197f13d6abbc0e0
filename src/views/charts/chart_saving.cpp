#include "views/charts/chart_saving.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "common/dialogs.h"

namespace evo {
namespace {

QString& LastFolder() {
  static QString folder;
  return folder;
}

// Hands the device everything, however many writes it takes; the write that fails leaves the
// device's error saying why.
bool WriteAll(QIODevice& device, const QByteArray& bytes) {
  for (qint64 written = 0; written < bytes.size();) {
    const qint64 now = device.write(bytes.constData() + written, bytes.size() - written);
    if (now <= 0) return false;
    written += now;
  }
  return true;
}

}  // namespace

QString SaveFolder() {
  if (!LastFolder().isEmpty() && QFileInfo(LastFolder()).isDir()) return LastFolder();
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (!documents.isEmpty() && QFileInfo(documents).isDir()) return documents;
  return QDir::homePath();
}

void RememberSaveFolder(const QString& path) {
  LastFolder() = QFileInfo(path).absolutePath();
}

QString SuggestedPath(const QString& what, const QString& suffix) {
  const QString name = "evolution-" + what + "-" +
                       QDateTime::currentDateTime().toString("yyyy-MM-dd-HHmm") + "." + suffix;
  return QDir(SaveFolder()).filePath(name);
}

// Through a temporary file beside the target, which replaces it only once everything is written;
// unbuffered, so that no failure hides in a buffer flushed at the end.
void SaveWhole(const QString& path, const QByteArray& bytes, Dialogs& dialogs) {
  QSaveFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && WriteAll(file, bytes) &&
      file.commit()) {
    RememberSaveFolder(path);
    return;
  }
  dialogs.Message(QCoreApplication::translate("evo::ChartSaving", "Could not save %1: %2")
                      .arg(QDir::toNativeSeparators(path), file.errorString()));
}

}  // namespace evo
