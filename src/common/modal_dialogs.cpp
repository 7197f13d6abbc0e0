#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QInputDialog>
#include <QMessageBox>

#include "common/dialogs.h"

namespace evo {
namespace {

// A box without a title of its own carries the program's name, as the desktop it was designed
// for titles such boxes; the windows' own captions stay without it.
constexpr char kBoxTitle[] = "Evolution Simulation";

// The program's window that the user is working in: the active one, or the one a box that is
// already open belongs to; with none active (the program is in the background), a window of
// the program that stands on the screen. Null when no window is shown.
QWidget* OwnerWindow() {
  QWidget* window = QApplication::activeWindow();
  while (qobject_cast<QDialog*>(window) != nullptr && window->parentWidget() != nullptr) {
    window = window->parentWidget()->window();
  }
  if (window != nullptr && qobject_cast<QDialog*>(window) == nullptr) return window;
  for (QWidget* candidate : QApplication::topLevelWidgets()) {
    if (candidate->isVisible() && qobject_cast<QDialog*>(candidate) == nullptr) return candidate;
  }
  return nullptr;
}

// Titles a box and gives it the frame of a dialog over its window: a title bar with a close
// button and no minimise or maximise button. A box with a parent opens centred over it.
void DressAsBox(QDialog& box) {
  box.setWindowTitle(kBoxTitle);
  box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowCloseButtonHint);
}

}  // namespace

void ModalDialogs::Message(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, OwnerWindow());
  DressAsBox(box);
  box.button(QMessageBox::Ok)->setFocus();
  box.exec();
}

QString ModalDialogs::Input(const QString& prompt) {
  QInputDialog box(OwnerWindow());
  DressAsBox(box);
  box.setLabelText(prompt);
  box.setTextValue(QString());
  return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

}  // namespace evo
