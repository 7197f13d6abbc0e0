#include "views/charts/chart_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeyEvent>

#include "common/desktop_conventions.h"
#include "views/charts/chart.h"
#include "views/charts/chart_data_out.h"
#include "views/charts/chart_focus_frame.h"
#include "views/charts/chart_pictures.h"
#include "views/charts/large_chart.h"

namespace evo {
namespace {

bool PressesTheChart(const QKeyEvent& key) {
  const bool pressing =
      key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Space;
  return pressing && (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
         !key.isAutoRepeat();
}

}  // namespace

ChartMenu::ChartMenu(Chart& chart, ChartData data, Dialogs& dialogs, Large large)
    : QObject(&chart),
      chart_(chart),
      data_(std::move(data)),
      dialogs_(dialogs),
      large_(large),
      focusFrame_(new ChartFocusFrame(chart)) {
  AddAction(tr("Copy Data"), [this] { emit copied(CopyCsv(data_.csv())); });
  AddAction(tr("Save Data As..."), [this] { SaveDataAs(data_, dialogs_); });
  AddAction(tr("Copy Image"), [this] {
    CopyImage(chart_, data_.caption());
    emit copied(tr("Copied the picture of the chart"));
  });
  AddAction(tr("Save Image As..."),
            [this] { SaveImageAs(chart_, data_.caption(), data_.subject, dialogs_); });
  AddAction(tr("Print..."),
            [this] { PrintChart(chart_, data_.caption(), data_.subject, dialogs_); });
  if (large_ == Large::Offered) AddAction(tr("Show Large"), [this] { ShowLarge(); });
  chart.setContextMenuPolicy(Qt::ActionsContextMenu);
  chart.setFocusPolicy(Qt::StrongFocus);
  chart.installEventFilter(this);
}

void ChartMenu::ShowLarge() {
  if (largeWindow_ == nullptr) {
    largeWindow_ = new LargeChartWindow(chart_, data_, dialogs_);
    connect(largeWindow_, &LargeChartWindow::copied, this, &ChartMenu::copied);
  }
  largeWindow_->show();
  largeWindow_->raise();
  largeWindow_->activateWindow();
}

void ChartMenu::AddAction(const QString& caption, const std::function<void()>& act) {
  auto* action = new QAction(caption, &chart_);
  connect(action, &QAction::triggered, this, act);
  chart_.addAction(action);
}

// Shift+F10 opens the menu as the Menu key does, at the chart's centre.
bool ChartMenu::eventFilter(QObject* watched, QEvent* event) {
  // The frame follows the chart's size too: a large chart grows when it goes full screen.
  if (event->type() == QEvent::FocusIn || event->type() == QEvent::Resize) {
    focusFrame_->setGeometry(chart_.rect());
  }
  if (event->type() == QEvent::FocusIn) focusFrame_->show();
  // The chart's own menu takes the keys only while it is open: the frame stays meanwhile.
  if (event->type() == QEvent::FocusOut &&
      static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
    focusFrame_->hide();
  }
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier) {
      OpenContextMenuFromKeyboard(chart_, chart_);
      return true;
    }
    if (large_ == Large::Offered && PressesTheChart(*key)) {
      ShowLarge();
      return true;
    }
  }
  if (event->type() == QEvent::MouseButtonDblClick && large_ == Large::Offered) {
    ShowLarge();
    return true;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace evo
