// What the tests of the view windows share: a critter.dat written byte by byte in a fresh
// directory and opened as the population file, a holder for windows that delete themselves when
// they close, checks of a control's place and font, and what a context menu offers.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QRect>
#include <QScreen>
#include <QString>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "engine/file/population_file.h"
#include "support/temp_dir.h"

namespace evo::test {

// The entries of the context menu that press opens, empty when it opens none; what press opens
// is closed again, or, with choose, the entry of that caption is chosen.
inline QStringList MenuOpenedBy(const std::function<void()>& press, const QString& choose = {}) {
  QStringList offered;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) return;
    watch.stop();
    for (QAction* action : menu->actions()) {
      offered << action->text();
      if (action->text() == choose) action->trigger();
    }
    menu->close();
  });
  watch.start(10);
  press();
  QTest::qWait(50);  // a press that opens nothing leaves the watch nothing to find
  return offered;
}

class PopulationOnDisk {
 public:
  explicit PopulationOnDisk(const std::string& bytes) {
    WriteFileBytes("critter.dat", bytes);
    file.Open("critter.dat");
  }

  TempDirectory directory;  // first: the file lives in it
  PopulationFile file;
};

// Records that tell their own number: record n holds n in ten digits, "0000000042".
inline std::string NumberedRecords(std::int64_t count) {
  std::string bytes;
  for (std::int64_t n = 1; n <= count; ++n)
    bytes += QString::number(n).rightJustified(10, '0').toStdString();
  return bytes;
}

inline QStringList NumberedLines(std::int64_t first, std::int64_t last) {
  QStringList lines;
  for (std::int64_t n = first; n <= last; ++n) lines << QString::number(n).rightJustified(10, '0');
  return lines;
}

// Runs the deletions that closed windows have asked for.
inline void DeleteClosedWindows() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Holds a window that may delete itself; deletes it at the end of the test if it did not.
template <typename Window>
class WindowUnderTest {
 public:
  explicit WindowUnderTest(Window* window) : window_(window) {}
  ~WindowUnderTest() { delete window_.data(); }
  WindowUnderTest(const WindowUnderTest&) = delete;
  WindowUnderTest& operator=(const WindowUnderTest&) = delete;

  Window* operator->() const { return window_.data(); }
  Window* get() const { return window_.data(); }
  bool alive() const { return !window_.isNull(); }

  template <typename Child>
  Child* child(const char* name) const {
    return window_->template findChild<Child*>(QString::fromLatin1(name));
  }

 private:
  QPointer<Window> window_;
};

// The control's place in twips of its window's client area, as the form's design gives it.
inline void ExpectTwips(const QWidget* control, int left, int top, int width, int height) {
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->geometry(), QRect(left / 15, top / 15, width / 15, height / 15))
      << control->objectName().toStdString();
}

inline void ExpectFont(const QWidget* control, double points, bool bold) {
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->font().family(), QString("Liberation Sans"))
      << control->objectName().toStdString();
  EXPECT_DOUBLE_EQ(control->font().pointSizeF(), points) << control->objectName().toStdString();
  EXPECT_EQ(control->font().bold(), bold) << control->objectName().toStdString();
}

// Centred on its screen, to the pixel that an odd size leaves over.
inline void ExpectCentred(const QWidget& window) {
  const QPoint offset = window.geometry().center() - window.screen()->availableGeometry().center();
  EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

}  // namespace evo::test
