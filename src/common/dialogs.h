// The message and input boxes of the program, behind one service that tests replace.
#pragma once

#include <QString>
#include <QStringList>

class QPrinter;

namespace evo {

class Dialogs {
 public:
  virtual ~Dialogs() = default;

  // A modal box with the text only and a single OK button; returns when the user closes it.
  virtual void Message(const QString& text) = 0;

  // A modal box with a prompt, an empty entry field, OK and Cancel. Cancel gives empty text.
  virtual QString Input(const QString& prompt) = 0;

  // A modal file dialog that asks where to save: it starts at suggestedPath (folder and name)
  // and offers the types of filters, such as "PNG image (*.png)", the first chosen. Returns the
  // path chosen, empty on Cancel.
  virtual QString SaveFileName(const QString& caption, const QString& suggestedPath,
                               const QStringList& filters) = 0;

  // The system's modal print dialog, which sets printer up; false on Cancel.
  virtual bool ChoosePrinter(QPrinter& printer) = 0;
};

// The real boxes, titled with the program's name, modal over the whole program and centred over
// the window the user is working in.
class ModalDialogs final : public Dialogs {
 public:
  void Message(const QString& text) override;
  QString Input(const QString& prompt) override;
  QString SaveFileName(const QString& caption, const QString& suggestedPath,
                       const QStringList& filters) override;
  bool ChoosePrinter(QPrinter& printer) override;
};

}  // namespace evo
