#include <QInputDialog>
#include <QMessageBox>

#include "common/dialogs.h"

namespace evo {

void ModalDialogs::Message(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok);
  box.exec();
}

QString ModalDialogs::Input(const QString& prompt) {
  bool accepted = false;
  const QString answer =
      QInputDialog::getText(nullptr, QString(), prompt, QLineEdit::Normal, QString(), &accepted);
  return accepted ? answer : QString();
}

}  // namespace evo
