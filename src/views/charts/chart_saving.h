// Where the program suggests saving what a chart gives, and how it writes a file.
#pragma once

#include <QByteArray>
#include <QString>

namespace evo {

class Dialogs;

// The folder a save or a print to a file starts in: the folder last saved or printed into since
// the program started, else the documents folder when there is one, else the home folder. Never
// the folder the program was started in, which a start from the menu makes its data folder.
QString SaveFolder();
// Remembers the folder of a file just written, for the next save.
void RememberSaveFolder(const QString& path);

// In SaveFolder(), a name that says what and when: evolution-gene-counts-2026-12-09-1412.png.
QString SuggestedPath(const QString& what, const QString& suffix);

// Writes bytes to path whole or not at all: a failure (a full disk, a folder without write
// access) is told in a message and leaves no file behind, nor changes a file that was there.
// Remembers the folder when it was written.
void SaveWhole(const QString& path, const QByteArray& bytes, Dialogs& dialogs);

}  // namespace evo
