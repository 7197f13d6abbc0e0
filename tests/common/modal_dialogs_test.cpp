#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "common/dialogs.h"

namespace evo::test {
namespace {

// Acts on the program's box as soon as it is open; a box that the action leaves open, or one that
// is not the modal box looked for, is closed so that the test cannot hang.
void WhenTheBoxOpens(const std::function<void(QDialog&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      ADD_FAILURE() << "no modal box is open";
    } else {
      act(*box);
    }
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (auto* open = qobject_cast<QDialog*>(widget); open != nullptr && open->isVisible()) {
        open->reject();
      }
    }
  });
}

// A window of the program away from the middle of the screen, so that centring over it and
// centring on the screen differ.
struct ProgramWindow {
  explicit ProgramWindow(const QPoint& topLeft) {
    window.setGeometry(QRect(topLeft, QSize(300, 240)));
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }
  void Activate() {
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  QWidget window;
};

void ExpectDressedAsABoxOver(const QDialog& box, const QWidget& owner) {
  EXPECT_EQ(box.windowTitle(), "Evolution Simulation");
  EXPECT_EQ(box.parentWidget(), &owner);
  const Qt::WindowFlags flags = box.windowFlags();
  EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
  EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
  EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  const QPoint offset = box.frameGeometry().center() - owner.frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
}

TEST(ModalDialogs, ShowsAMessageTitledAndCentredOverTheActiveWindowWithOkFocused) {
  ProgramWindow first(QPoint(40, 40));
  ProgramWindow second(QPoint(420, 300));
  ModalDialogs dialogs;
  for (ProgramWindow* owner : {&first, &second}) {
    owner->Activate();
    bool opened = false;
    WhenTheBoxOpens([&](QDialog& box) {
      opened = true;
      ExpectDressedAsABoxOver(box, owner->window);
      auto* message = qobject_cast<QMessageBox*>(&box);
      ASSERT_NE(message, nullptr);
      EXPECT_EQ(message->text(), "No population exists");
      EXPECT_EQ(message->buttons().size(), 1);
      EXPECT_EQ(box.focusWidget(), message->button(QMessageBox::Ok));
    });
    dialogs.Message("No population exists");
    EXPECT_TRUE(opened);
  }
}

TEST(ModalDialogs, AsksOverTheActiveWindowAndReturnsTheAnswer) {
  ProgramWindow window(QPoint(60, 300));
  window.Activate();
  ModalDialogs dialogs;
  WhenTheBoxOpens([&](QDialog& box) {
    ExpectDressedAsABoxOver(box, window.window);
    // Return in the entry field presses OK, the box's default button.
    QTest::keyClicks(box.focusWidget(), "42");
    QTest::keyClick(box.focusWidget(), Qt::Key_Return);
  });
  EXPECT_EQ(dialogs.Input("What value shall we start with?"), "42");
}

}  // namespace
}  // namespace evo::test
