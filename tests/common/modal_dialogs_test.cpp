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

// Acts on the modal box as soon as it is open, then closes any box left open so that the test
// cannot hang.
void WhenTheBoxOpens(const std::function<void(QDialog&)>& act) {
  QTimer::singleShot(0, [act] {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (box == nullptr) ADD_FAILURE() << "no modal box is open";
    if (box != nullptr) act(*box);
    if (box != nullptr && box->isVisible()) box->reject();
  });
}

// Gives a window the keyboard and waits until the application sees it active: a box that has
// just closed hands the activation back to its own window a little later.
void Activate(QWidget& window) {
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &window; }));
}

void ExpectDressedAsABoxOver(const QDialog& box, const QWidget& owner) {
  EXPECT_EQ(box.windowTitle(), "Evolution Simulation");
  EXPECT_EQ(box.parentWidget(), &owner);
  EXPECT_FALSE(box.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(box.windowFlags() & Qt::CustomizeWindowHint);
  const QPoint offset = box.frameGeometry().center() - owner.frameGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << "," << offset.y();
}

// Two windows away from the middle of the screen, so that centring over the active one differs
// from centring over the other or on the screen.
TEST(ModalDialogs, OpenTitledAndCentredOverTheActiveWindow) {
  QWidget windows[2];
  windows[0].setGeometry(40, 40, 300, 240);
  windows[1].setGeometry(420, 300, 300, 240);
  for (QWidget& window : windows) window.show();
  ModalDialogs dialogs;
  for (QWidget& owner : windows) {
    Activate(owner);
    WhenTheBoxOpens([&](QDialog& box) {
      ExpectDressedAsABoxOver(box, owner);
      auto* message = qobject_cast<QMessageBox*>(&box);
      ASSERT_NE(message, nullptr);
      EXPECT_EQ(message->text(), "No population exists");
      EXPECT_EQ(box.focusWidget(), message->button(QMessageBox::Ok));
    });
    dialogs.Message("No population exists");

    Activate(owner);

    WhenTheBoxOpens([&](QDialog& box) {
      ExpectDressedAsABoxOver(box, owner);
      // Return in the entry field presses OK, the box's default button.
      QTest::keyClicks(box.focusWidget(), "42");
      QTest::keyClick(box.focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(dialogs.Input("What value shall we start with?"), "42");
  }

  WhenTheBoxOpens([](QDialog& box) {  // Cancel takes back what was typed
    QTest::keyClicks(box.focusWidget(), "42");
    QTest::keyClick(box.focusWidget(), Qt::Key_Escape);
  });
  EXPECT_EQ(dialogs.Input("What value shall we start with?"), "");
}

}  // namespace
}  // namespace evo::test
