// Qt's test recorder of accessibility events defines an operator in its header, so one source
// file holds all its use.
#include <QtTest/qtestaccessible.h>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include "support/accessible.h"

namespace evo::test {
namespace {

QPlatformAccessibility* Platform() {
  return QGuiApplicationPrivate::platformIntegration()->accessibility();
}

// The recorder's own clearing forgets the copies it made without deleting them.
void ForgetEvents() {
  qDeleteAll(QTestAccessibility::events());
  QTestAccessibility::clearEvents();
}

}  // namespace

ScreenReaderListening::ScreenReaderListening() {
  QTestAccessibility::initialize();
  ForgetEvents();
  Platform()->setActive(true);
}

ScreenReaderListening::~ScreenReaderListening() {
  Platform()->setActive(false);
  ForgetEvents();
}

int ScreenReaderListening::Told(QAccessible::Event kind, const QObject* control) {
  int count = 0;
  for (const QAccessibleEvent* event : QTestAccessibility::events()) {
    if (event->type() == kind && event->object() == control) ++count;
  }
  return count;
}

}  // namespace evo::test
