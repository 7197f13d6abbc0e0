// The real main window over scripted message boxes and draws, shown and active in a fresh
// directory, with ways to reach its controls by their names.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "mainwin/frm_main.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_random.h"
#include "support/temp_dir.h"

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
  *out << "{ \"" << texts.join("\", \"").toStdString() << "\" }";
}

namespace evo::test {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }

  template <typename Control = QWidget>
  Control& Find(const char* name) {
    auto* control = window.findChild<Control*>(name);
    if (control == nullptr) throw std::runtime_error(std::string("no control ") + name);
    return *control;
  }
  QLineEdit& Box(const char* name) { return Find<QLineEdit>(name); }

  // The program's top-level windows of a kind that stand open on the screen.
  template <typename View>
  static QList<View*> OpenWindows() {
    QList<View*> views;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* view = qobject_cast<View*>(widget); view != nullptr && view->isVisible()) {
        views << view;
      }
    }
    return views;
  }
  QAbstractButton& Button(const char* name) { return Find<QAbstractButton>(name); }
  // Clicks a button as a user can: one that is shown and enabled. A click on any other does
  // nothing, and a test that made it would pass for the wrong reason.
  void Click(const char* name) {
    QAbstractButton& button = Button(name);
    ASSERT_TRUE(button.isVisible()) << name << " is not on the screen";
    ASSERT_TRUE(button.isEnabled()) << name << " is disabled";
    QTest::mouseClick(&button, Qt::LeftButton);
  }

  // The name of the control that holds the window's focus.
  QString Focused() const {
    const QWidget* focused = window.focusWidget();
    return focused == nullptr ? QString() : focused->objectName();
  }

  // Puts the focus in a box with the user's text in it, as if typed there.
  void TypeInto(const char* name, const QString& text) {
    QLineEdit& box = Box(name);
    box.setFocus(Qt::MouseFocusReason);
    if (Focused() != name) ADD_FAILURE() << "the focus did not go to " << name;
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Backspace);
    QTest::keyClicks(&box, text);
  }

  void PressTab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
  void PressAlt(char letter) {
    QTest::keyClick(&window, static_cast<Qt::Key>(Qt::Key_A + (letter - 'A')), Qt::AltModifier);
  }

  TempDirectory directory;  // first: the window's data file lives in it
  ScriptedDialogs dialogs;
  ScriptedRandom random;
  FrmMain window{dialogs, random};
};

}  // namespace evo::test
