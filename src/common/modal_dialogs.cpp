#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QRegularExpression>
#include <QSpacerItem>

#include "common/dialogs.h"

namespace evo {
namespace {

// A box without a title of its own carries the program's name, as the desktop it was designed
// for titles such boxes; the windows' own captions stay without it.
QString BoxTitle() {
  return QCoreApplication::translate("evo::ModalDialogs", "Evolution Simulation");
}

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
  box.setWindowTitle(BoxTitle());
  box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowCloseButtonHint);
}

// Widens a box so that its title bar shows the whole title: a box sized to a short message
// would otherwise show a cut title. The title bar's face is the window manager's; a bold face
// somewhat larger than the program's stands in for it, with room for the window menu and three
// buttons beside the title. The boxes size themselves to their layouts, so the room goes there.
void LeaveRoomForTheTitle(QLayout& layout) {
  QFont titleFont = QApplication::font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
  const QFontMetrics metrics(titleFont);
  auto* room = new QSpacerItem(metrics.horizontalAdvance(BoxTitle()) + 8 * metrics.height(), 0,
                               QSizePolicy::Minimum, QSizePolicy::Minimum);
  if (auto* grid = qobject_cast<QGridLayout*>(&layout)) {
    grid->addItem(room, grid->rowCount(), 0, 1, grid->columnCount());
  } else {
    layout.addItem(room);
  }
}

// The suffix of the first pattern of a filter: "svg" of "SVG image (*.svg)".
QString SuffixOf(const QString& filter) {
  return QRegularExpression(R"(\*\.(\w+))").match(filter).captured(1);
}

}  // namespace

void ModalDialogs::Message(const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, OwnerWindow());
  DressAsBox(box);
  LeaveRoomForTheTitle(*box.layout());
  box.button(QMessageBox::Ok)->setFocus();
  box.exec();
}

QString ModalDialogs::Input(const QString& prompt) {
  QInputDialog box(OwnerWindow());
  DressAsBox(box);
  box.setLabelText(prompt);
  box.setTextValue(QString());
  box.sizeHint();  // lays the box out, which it otherwise does only when shown
  LeaveRoomForTheTitle(*box.layout());
  return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

// A name typed without a suffix takes the one of the type chosen, and the dialog asks before it
// replaces a file.
QString ModalDialogs::SaveFileName(const QString& caption, const QString& suggestedPath,
                                   const QStringList& filters) {
  QFileDialog dialog(OwnerWindow(), caption);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(filters);
  dialog.setDefaultSuffix(SuffixOf(filters.value(0)));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog](const QString& filter) { dialog.setDefaultSuffix(SuffixOf(filter)); });
  const QFileInfo suggested(suggestedPath);
  dialog.setDirectory(suggested.absolutePath());
  dialog.selectFile(suggested.fileName());
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

bool ModalDialogs::ChoosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, OwnerWindow());
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace evo
