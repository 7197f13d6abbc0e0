#include "views/charts/large_chart.h"

#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "common/window_look.h"
#include "common/window_setup.h"
#include "views/charts/chart_menu.h"

namespace evo {
namespace {

// The text of a chart seen across a classroom: a thirtieth of the height it is drawn in.
constexpr int kLinesInHeight = 30;
constexpr int kLargestPixels = 48;

}  // namespace

LargeChart::LargeChart(const Chart& shown, QWidget* parent) : Chart(parent), shown_(shown) {
  setAccessibleName(shown.accessibleName());
  setAccessibleDescription(shown.accessibleDescription());
  connect(&shown, &Chart::changed, this, [this] {
    setAccessibleDescription(shown_.accessibleDescription());
    Changed();
  });
}

QString LargeChart::Title() const {
  return shown_.Title();
}

void LargeChart::Draw(QPainter& painter, const QRect& area, const QPalette& palette) const {
  shown_.Draw(painter, area, palette);
}

void LargeChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QFont text = font();
  text.setPixelSize(
      std::clamp(height() / kLinesInHeight, QFontInfo(font()).pixelSize(), kLargestPixels));
  QFont title = text;
  title.setBold(true);
  title.setPixelSize(text.pixelSize() * 4 / 3);
  const QRect area = DrawingArea();
  painter.setFont(title);
  painter.setPen(palette().color(QPalette::WindowText));
  const int titleHeight = painter.fontMetrics().height();
  painter.drawText(QRect(area.left(), area.top(), area.width(), titleHeight), Qt::AlignCenter,
                   Title());
  painter.setFont(text);
  Draw(painter, area.adjusted(0, titleHeight + painter.fontMetrics().height() / 2, 0, 0),
       palette());
}

LargeChartWindow::LargeChartWindow(Chart& shown, const ChartData& data, Dialogs& dialogs)
    : QWidget(&shown, Qt::Window), chart_(new LargeChart(shown, this)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(shown.Title());
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(chart_);
  auto* menu = new ChartMenu(*chart_, data, dialogs, ChartMenu::Large::NotOffered);
  connect(menu, &ChartMenu::copied, this, &LargeChartWindow::copied);
  SetUpWindow(*this);
  connect(new QShortcut(QKeySequence(Qt::Key_F11), this), &QShortcut::activated, this,
          [this] { isFullScreen() ? showNormal() : showFullScreen(); });
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
          &QWidget::close);
  const QRect screen = shown.screen()->availableGeometry();
  resize(screen.width() * 3 / 4, screen.height() * 3 / 4);
  CentreOnScreen(*this);
  chart_->setFocus();
}

}  // namespace evo
