#include "common/help_window.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <algorithm>

#include "common/window_look.h"

// The guide lives in a static library, whose resources are registered only when asked for.
static void RegisterGuide() {
  Q_INIT_RESOURCE(guide);
}

namespace evo {
namespace {

QWidget* OpenGuide() {
  auto* window = new QWidget(nullptr, Qt::Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName("Guide");
  window->setWindowTitle(QCoreApplication::translate("evo::Guide", "Evolution Simulation Guide"));
  SetProgramFont(*window);
  auto* text = new QTextBrowser(window);
  text->setAccessibleName(QCoreApplication::translate("evo::Guide", "Guide"));
  text->setOpenLinks(false);
  RegisterGuide();
  QFile guide(":/guide/guide.md");
  if (guide.open(QIODevice::ReadOnly)) text->setMarkdown(QString::fromUtf8(guide.readAll()));
  auto* layout = new QVBoxLayout(window);
  layout->addWidget(text);
  QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), window), &QShortcut::activated,
                   window, &QWidget::close);
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  window->resize(std::min(720, screen.width()), screen.height() * 3 / 4);
  CentreOnScreen(*window);
  text->setFocus();
  return window;
}

}  // namespace

void ShowGuide() {
  static QPointer<QWidget> open;
  if (open == nullptr) open = OpenGuide();
  open->show();
  open->raise();
  open->activateWindow();
}

}  // namespace evo
