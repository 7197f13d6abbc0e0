#include "views/charts/runs_course_chart.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "common/window_look.h"
#include "views/charts/batch_words.h"
#include "views/charts/chart_axis.h"

namespace evo {
namespace {

constexpr double kHighestGene = 9;
constexpr int kSwatch = 16;

// Each group's line differs from the others' in its dashes as well as its colour.
QPen GroupPen(std::size_t group, const QPalette& palette, qreal width) {
  static const QColor kHues[] = {QColor(), QColor::fromRgb(0xd95f02), QColor::fromRgb(0x1b9e77),
                                 QColor::fromRgb(0x7570b3), QColor::fromRgb(0xe7298a)};
  static const Qt::PenStyle kDashes[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                         Qt::DashDotDotLine};
  const QColor& hue = kHues[group % std::size(kHues)];
  const QColor colour = hue.isValid() ? ChartColour(hue, palette) : ChartMarkColour(palette);
  return QPen(colour, width, kDashes[(group / std::size(kHues) + group) % std::size(kDashes)]);
}

}  // namespace

RunsCourseChart::RunsCourseChart(QWidget* parent) : Chart(parent) {
  setAccessibleName(tr("Course of the average gene over the generations of the runs"));
  Describe();
}

void RunsCourseChart::SetCourses(std::vector<std::vector<CoursePoint>> courses, QString compared,
                                 QStringList values) {
  courses_ = std::move(courses);
  compared_ = std::move(compared);
  values_ = std::move(values);
  Changed();
}

QString RunsCourseChart::Title() const {
  return tr("Average gene over the generations of the runs");
}

void RunsCourseChart::Describe() {
  QStringList parts;
  for (std::size_t g = 0; g < courses_.size(); ++g) {
    if (courses_[g].empty()) continue;
    const CoursePoint& first = courses_[g].front();
    const CoursePoint& last = courses_[g].back();
    const QString value = values_.value(static_cast<qsizetype>(g));
    parts << (compared_.isEmpty() ? QString() : compared_ + " " + value + ": ") +
                 tr("the median average gene went from %1 to %2 at generation %3, with %4 of %5 "
                    "still going")
                     .arg(QString::number(first.median, 'f', 2),
                          QString::number(last.median, 'f', 2))
                     .arg(last.generation)
                     .arg(last.runs)
                     .arg(RunsText(first.runs));
  }
  setAccessibleDescription(parts.isEmpty() ? tr("No run yet") : parts.join(". "));
  Changed();
}

std::int64_t RunsCourseChart::LastGeneration() const {
  std::int64_t last = 0;
  for (const auto& course : courses_) {
    if (!course.empty()) last = std::max(last, course.back().generation);
  }
  return last;
}

void RunsCourseChart::Draw(QPainter& painter, const QRect& area, const QPalette& palette) const {
  const QFontMetrics metrics = painter.fontMetrics();
  const int line = metrics.height();
  const QColor text = palette.color(QPalette::WindowText);
  painter.setPen(text);
  // The legend: the setting compared once, then each group's line with its value.
  int y = area.top();
  int x = area.left();
  if (!compared_.isEmpty()) {
    const QString heading = compared_ + ":";
    painter.drawText(QRect(x, y, area.width(), line), Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(heading, Qt::ElideRight, area.width()));
    x +=
        std::min(metrics.horizontalAdvance(heading), area.width()) + metrics.horizontalAdvance(' ');
  }
  for (std::size_t g = 0; g < courses_.size(); ++g) {
    const QString label =
        compared_.isEmpty() ? tr("median") : values_.value(static_cast<qsizetype>(g));
    const int width = kSwatch + 4 + metrics.horizontalAdvance(label);
    if (x > area.left() && x + width > area.right()) {
      x = area.left();
      y += line;
    }
    painter.setPen(GroupPen(g, palette, 2));
    painter.drawLine(x, y + line / 2, x + kSwatch, y + line / 2);
    painter.setPen(text);
    painter.drawText(QRect(x + kSwatch + 4, y, area.right() - x - kSwatch - 4, line),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     metrics.elidedText(label, Qt::ElideRight, area.right() - x - kSwatch - 4));
    x += width + 2 * metrics.horizontalAdvance(' ');
  }
  y += line;
  const QString statement =
      tr("Median and middle half (dotted band) of the runs still going at each generation: a run "
         "that ended counts no more.");
  const QRect said = metrics.boundingRect(QRect(area.left(), y, area.width(), 3 * line),
                                          Qt::TextWordWrap, statement);
  painter.drawText(QRect(area.left(), y, area.width(), said.height()), Qt::TextWordWrap, statement);
  y += said.height() + line / 2;

  double lowest = kHighestGene;
  double highest = 0;
  double mostRuns = 1;
  for (const auto& course : courses_) {
    for (const CoursePoint& point : course) {
      lowest = std::min(lowest, point.lowerQuartile);
      highest = std::max(highest, point.upperQuartile);
      mostRuns = std::max(mostRuns, static_cast<double>(point.runs));
    }
  }
  const AxisScale averages = lowest <= highest
                                 ? AxisScale::Fitted(lowest, highest, 0, kHighestGene)
                                 : AxisScale::Fitted(0, kHighestGene, 0, kHighestGene);
  const AxisScale going = AxisScale::FromZero(mostRuns);
  const int left = area.left() + line +
                   std::max(ValueAxisRoom(averages, metrics), ValueAxisRoom(going, metrics));
  const int bottom = area.bottom() - 2 * line - kChartTickLength;
  const int stripHeight = std::max(3 * line, (bottom - y) / 4);
  // On paper the strip is shorter than its full title: it is then titled in a word.
  const QString fullTitle = tr("runs going");
  const QString goingTitle =
      metrics.horizontalAdvance(fullTitle) <= stripHeight ? fullTitle : tr("runs");
  const QRect strip(QPoint(left, bottom - stripHeight + 1), QPoint(area.right(), bottom));
  const QRect plot(QPoint(left, y), QPoint(area.right(), strip.top() - line));
  DrawValueAxis(painter, plot, averages, palette);
  DrawValueAxis(painter, strip, going, palette);
  painter.setPen(text);
  DrawAxisTitle(
      painter,
      QRect(QPoint(area.left(), plot.top()), QPoint(area.left() + line - 1, plot.bottom())),
      tr("average gene"), Qt::Vertical);
  DrawAxisTitle(
      painter,
      QRect(QPoint(area.left(), strip.top()), QPoint(area.left() + line - 1, strip.bottom())),
      goingTitle, Qt::Vertical);
  const double last = static_cast<double>(std::max<std::int64_t>(LastGeneration(), 1));
  const std::vector<AxisLabel> labels =
      HorizontalAxisLabels(0, last, true, strip.left(), strip.right(),
                           strip.bottom() + kChartTickLength, metrics, area.left(), area.right());
  DrawHorizontalAxis(painter, strip, 0, last, labels, text);
  painter.drawLine(plot.bottomLeft(), plot.bottomRight());
  DrawAxisTitle(painter, QRect(QPoint(left, bottom + kChartTickLength + line), area.bottomRight()),
                tr("generation"), Qt::Horizontal);
  if (courses_.empty()) {
    painter.drawText(plot, Qt::AlignCenter | Qt::TextWordWrap, tr("No run yet"));
    return;
  }

  const auto at = [&](const QRect& in, const AxisScale& scale, std::int64_t generation, double v) {
    return QPointF(in.left() + static_cast<double>(generation) / last * in.width(),
                   ValueY(scale, in, std::clamp(v, scale.Low(), scale.High())));
  };
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  for (std::size_t g = 0; g < courses_.size(); ++g) {
    const auto& course = courses_[g];
    const QPen pen = GroupPen(g, palette, 2);
    QPolygonF band;
    for (const CoursePoint& point : course)
      band << at(plot, averages, point.generation, point.upperQuartile);
    for (auto point = course.rbegin(); point != course.rend(); ++point) {
      band << at(plot, averages, point->generation, point->lowerQuartile);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QBrush(pen.color(), Qt::Dense6Pattern));
    painter.drawPolygon(band);
    QPolygonF median;
    QPolygonF runs;
    for (const CoursePoint& point : course) {
      median << at(plot, averages, point.generation, point.median);
      runs << at(strip, going, point.generation, static_cast<double>(point.runs));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(pen);
    painter.drawPolyline(median);
    painter.drawPolyline(runs);
  }
  painter.restore();
}

}  // namespace evo
