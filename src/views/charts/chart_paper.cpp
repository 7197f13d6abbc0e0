#include "views/charts/chart_paper.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <vector>

#include "common/window_look.h"
#include "engine/record/generation_record.h"
#include "views/charts/chart.h"

namespace evo {
namespace {

constexpr int kMargin = 16;
// Sizes in the picture's own units, which every device scales alike: a printer's, whose points are
// far smaller than the picture's units, and an SVG's as well as an image's.
constexpr int kTitlePixels = 17;
constexpr int kTextPixels = 12;

QFont PaperFont(int pixels, bool bold) {
  QFont font(kProgramFontFamily);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// The texts of this unit, in the translation context that lupdate reads them in.
struct ChartPaper {
  Q_DECLARE_TR_FUNCTIONS(evo::ChartPaper)
};

QString Switch(bool on) {
  return on ? ChartPaper::tr("ON") : ChartPaper::tr("OFF");
}

}  // namespace

QPalette PaperPalette() {
  QPalette palette(Qt::black, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  palette.setColor(QPalette::Highlight, QColor::fromRgb(0x1f4e99));
  return palette;
}

QStringList SettingsCaption(const GenerationRecord& record) {
  if (record.Rows().empty()) return {};
  const RunSettings& settings = record.Rows().back().settings;
  const float good = settings.goodMutationProbability;
  return {ChartPaper::tr("Population size %1, starting gene value %2, generations %3 to %4")
              .arg(settings.populationSize)
              .arg(settings.startingGeneValue)
              .arg(record.Rows().front().generation)
              .arg(record.Rows().back().generation),
          ChartPaper::tr("Good mutation probability %1 (bad %2), %3 mutations per cycle")
              .arg(QString::number(good), QString::number(1.0f - good))
              .arg(settings.mutationsPerCycle),
          ChartPaper::tr("Sexual exchange %1, auto mutation %2")
              .arg(Switch(settings.options.sexualExchange), Switch(settings.options.autoMutation))};
}

std::vector<SettingRow> SettingRows(const GenerationRecord& record) {
  if (record.Rows().empty()) return {};
  const RunSettings& settings = record.Rows().back().settings;
  return {{ChartPaper::tr("population size"), QString::number(settings.populationSize)},
          {ChartPaper::tr("good mutation probability"),
           QString::number(settings.goodMutationProbability)},
          {ChartPaper::tr("mutations per cycle"), QString::number(settings.mutationsPerCycle)},
          {ChartPaper::tr("sexual exchange"), Switch(settings.options.sexualExchange)},
          {ChartPaper::tr("auto mutation"), Switch(settings.options.autoMutation)},
          {ChartPaper::tr("starting gene value"), QString::number(settings.startingGeneValue)},
          {ChartPaper::tr("first generation"), QString::number(record.Rows().front().generation)},
          {ChartPaper::tr("last generation"), QString::number(record.Rows().back().generation)}};
}

void DrawOnPaper(QPainter& painter, const Chart& chart, const QStringList& caption) {
  const QPalette paper = PaperPalette();
  const QRect page(QPoint(0, 0), kPaperPictureSize);
  painter.fillRect(page, paper.color(QPalette::Window));
  painter.setPen(paper.color(QPalette::WindowText));

  painter.setFont(PaperFont(kTitlePixels, true));
  const int titleHeight = painter.fontMetrics().height();
  const QRect title(kMargin, kMargin, page.width() - 2 * kMargin, titleHeight);
  painter.drawText(title, Qt::AlignCenter, chart.Title());

  painter.setFont(PaperFont(kTextPixels, false));
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height();
  // Each line of the caption wraps to the page's width.
  std::vector<QRect> rows;
  int height = 0;
  for (const QString& text : caption) {
    const QRect wrapped =
        metrics.boundingRect(QRect(0, 0, title.width(), page.height()), Qt::TextWordWrap, text);
    rows.push_back(QRect(kMargin, height, title.width(), wrapped.height()));
    height += wrapped.height();
  }
  const int captionTop = page.height() - kMargin - height;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    painter.drawText(rows[static_cast<std::size_t>(i)].translated(0, captionTop),
                     Qt::AlignLeft | Qt::TextWordWrap, caption[i]);
  }
  const QRect area(QPoint(kMargin, title.bottom() + line),
                   QPoint(page.width() - kMargin, captionTop - line));
  chart.Draw(painter, area, paper);
}

}  // namespace evo
