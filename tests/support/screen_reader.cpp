// What the tests hear as a screen reader would: the events Qt tells it, through Qt's private
// platform headers.
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>

#include <QElapsedTimer>

#include "support/accessible.h"

namespace evo::test {
namespace {

// Runs action as a screen reader listens, each event Qt tells it going to listen: the offscreen
// platform has no screen reader that would ask Qt for its events.
void Listening(QAccessible::UpdateHandler listen, const std::function<void()>& action) {
  QPlatformAccessibility* platform = QGuiApplicationPrivate::platformIntegration()->accessibility();
  const QAccessible::UpdateHandler before = QAccessible::installUpdateHandler(listen);
  platform->setActive(true);
  action();
  platform->setActive(false);
  QAccessible::installUpdateHandler(before);
}

// What the handlers below record; a handler is a plain function.
QStringList* noticesTold = nullptr;
const QObject* eventsSource = nullptr;
QList<QAccessible::Event>* eventsTold = nullptr;
QElapsedTimer* sinceStart = nullptr;
QList<qint64>* nameChangeTimes = nullptr;

}  // namespace

int NameChangesTold(const QObject* control, const std::function<void()>& action) {
  return static_cast<int>(EventsTold(control, action).count(QAccessible::NameChanged));
}

QStringList NoticesTold(const std::function<void()>& action) {
  QStringList told;
  noticesTold = &told;
  Listening(
      [](QAccessibleEvent* event) {
        QAccessibleInterface* shown = event->accessibleInterface();
        if (event->type() == QAccessible::ObjectShow && shown != nullptr &&
            shown->role() == QAccessible::Notification) {
          noticesTold->append(shown->text(QAccessible::Name));
        }
      },
      action);
  noticesTold = nullptr;
  return told;
}

QList<QAccessible::Event> EventsTold(const QObject* object, const std::function<void()>& action) {
  QList<QAccessible::Event> told;
  eventsSource = object;
  eventsTold = &told;
  Listening(
      [](QAccessibleEvent* event) {
        if (event->object() == eventsSource) eventsTold->append(event->type());
      },
      action);
  eventsTold = nullptr;
  return told;
}

QList<qint64> NameChangeTimes(const QObject* control, const std::function<void()>& action) {
  QList<qint64> times;
  QElapsedTimer started;
  eventsSource = control;
  nameChangeTimes = &times;
  sinceStart = &started;
  started.start();
  Listening(
      [](QAccessibleEvent* event) {
        if (event->object() == eventsSource && event->type() == QAccessible::NameChanged) {
          nameChangeTimes->append(sinceStart->elapsed());
        }
      },
      action);
  nameChangeTimes = nullptr;
  sinceStart = nullptr;
  return times;
}

}  // namespace evo::test
