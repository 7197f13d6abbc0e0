// Qt's recorder of accessibility events defines an operator in its header: one file uses it.
#include <QtTest/qtestaccessible.h>
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <algorithm>

#include "support/accessible.h"

namespace evo::test {

int NameChangesTold(const QObject* control, const std::function<void()>& action) {
  // The offscreen platform has no screen reader that would ask Qt for its events.
  QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
  QTestAccessibility::initialize();
  platform->setActive(true);
  action();
  platform->setActive(false);
  const auto events = QTestAccessibility::events();
  const auto told = std::count_if(events.begin(), events.end(), [control](const auto* event) {
    return event->type() == QAccessible::NameChanged && event->object() == control;
  });
  qDeleteAll(events);  // the recorder's own clearing forgets its copies without deleting them
  QTestAccessibility::clearEvents();
  return static_cast<int>(told);
}

}  // namespace evo::test
