#include "views/repeated_runs_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QShortcut>
#include <algorithm>
#include <cmath>

#include "common/desktop_conventions.h"
#include "common/dialogs.h"
#include "common/messages.h"
#include "common/spoken_notice.h"
#include "common/window_look.h"
#include "common/window_setup.h"
#include "engine/settings/setting_ranges.h"
#include "ui_repeated_runs_window.h"
#include "views/brief_note.h"
#include "views/charts/batch_words.h"
#include "views/charts/chart_data_out.h"
#include "views/charts/chart_menu.h"
#include "views/charts/runs_course_chart.h"
#include "views/charts/runs_histogram.h"

namespace evo {
namespace {

constexpr std::int64_t kMostRuns = 10'000;
constexpr std::int64_t kMostGenerations = 1'000'000;
constexpr std::int64_t kMostSeed = 4'294'967'295;
constexpr qsizetype kMostValues = 10;
constexpr int kPollMs = 100;
// The figures' table and the chart's descriptions change at most this often while runs come in.
constexpr qint64 kFiguresPauseMs = 1000;

// The settings that may be compared, in the order the choice offers them after "nothing".
constexpr Setting kComparable[] = {Setting::GoodMutationProbability, Setting::MutationsPerCycle,
                                   Setting::PopulationSize, Setting::StartingGeneValue};

const char* const kFigureColumns[] = {
    QT_TRANSLATE_NOOP("evo::RepeatedRunsWindow", "Runs"),
    QT_TRANSLATE_NOOP("evo::RepeatedRunsWindow", "Perfect genome"),
    QT_TRANSLATE_NOOP("evo::RepeatedRunsWindow", "All bad genome"),
    QT_TRANSLATE_NOOP("evo::RepeatedRunsWindow", "At the limit"),
    QT_TRANSLATE_NOOP("evo::RepeatedRunsWindow", "Minimum"),
    QT_TRANSLATE_NOOP("evo::RepeatedRunsWindow", "Lower quartile"),
    QT_TRANSLATE_NOOP("evo::RepeatedRunsWindow", "Median"),
    QT_TRANSLATE_NOOP("evo::RepeatedRunsWindow", "Upper quartile"),
    QT_TRANSLATE_NOOP("evo::RepeatedRunsWindow", "Maximum"),
    QT_TRANSLATE_NOOP("evo::RepeatedRunsWindow", "Mean"),
};

QString SecondsText(qint64 milliseconds) {
  return RepeatedRunsWindow::tr("%1 s").arg(static_cast<double>(milliseconds) / 1000, 0, 'f', 1);
}

// A decimal comma between digits, as German or French write 0,1.
bool HoldsADecimalComma(const QString& text) {
  static const QRegularExpression kDecimalComma(R"(\d,\d)");
  return kDecimalComma.match(text).hasMatch();
}

}  // namespace

RepeatedRunsWindow::RepeatedRunsWindow(std::function<std::optional<RunSettings>()> mainSettings,
                                       Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::RepeatedRunsWindow>()),
      mainSettings_(std::move(mainSettings)),
      dialogs_(dialogs) {
  ui_->setupUi(this);
  SetUpWindow(*this);
  setAttribute(Qt::WA_DeleteOnClose);
  ui_->CboCompare->addItem(tr("nothing"));
  for (const Setting setting : kComparable) {
    ui_->CboCompare->addItem(SettingName(setting), static_cast<int>(setting));
  }
  LetEscapePress(*ui_->CmdClose);
  ui_->TxtSeed->setText(QString::number(QRandomGenerator::system()->generate()));
  connect(ui_->CmdStart, &QPushButton::clicked, this, &RepeatedRunsWindow::CmdStart_Click);
  connect(ui_->CmdCancel, &QPushButton::clicked, this, &RepeatedRunsWindow::CmdCancel_Click);
  connect(ui_->CmdClose, &QPushButton::clicked, this, &QWidget::close);
  auto* note = new BriefNote(*ui_->LblNote);
  const auto runsCsv = [this] {
    return batch_ ? QByteArray::fromStdString(batch_->Csv(progress_.results)) : QByteArray();
  };
  const auto caption = [this] { return batch_ ? BatchCaption(batch_->Request()) : QStringList(); };
  const auto settings = [this] {
    return batch_ ? BatchSettingRows(batch_->Request()) : std::vector<SettingRow>();
  };
  const auto courseCsv = [this] {
    return batch_ ? QByteArray::fromStdString(batch_->CourseCsv(groups_)) : QByteArray();
  };
  for (auto* menu :
       {new ChartMenu(*ui_->Histogram, {"repeated-runs", runsCsv, caption, settings}, dialogs_),
        new ChartMenu(*ui_->CourseChart, {"repeated-runs-course", courseCsv, caption, settings},
                      dialogs_)}) {
    connect(menu, &ChartMenu::copied, note, &BriefNote::Show);
  }
  connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this,
          [note, runsCsv] { note->Show(CopyCsv(runsCsv())); });
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &RepeatedRunsWindow::Poll);
  ui_->TblFigures->verticalHeader()->hide();
  ui_->LblSettings->installEventFilter(this);
  ShowFigures();
  CentreOnScreen(*this);
}

RepeatedRunsWindow::~RepeatedRunsWindow() = default;

bool RepeatedRunsWindow::Running() const {
  return runs_ != nullptr && !progress_.ended;
}

// The workers stop within a block of draws, whatever the settings.
void RepeatedRunsWindow::closeEvent(QCloseEvent* event) {
  runs_.reset();
  QWidget::closeEvent(event);
}

bool RepeatedRunsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->LblSettings && event->type() == QEvent::Resize) KeepCaptionInView();
  return QWidget::eventFilter(watched, event);
}

// The lines a wrapped label needs do not enter its window's least height by themselves: in a
// narrow window a caption of many values would push the charts over the table.
void RepeatedRunsWindow::KeepCaptionInView() {
  QLabel& caption = *ui_->LblSettings;
  caption.setMinimumHeight(caption.heightForWidth(caption.width()));
}

void RepeatedRunsWindow::CmdStart_Click() {
  if (Running()) return;
  std::optional<BatchRequest> request = ReadRequest();
  if (!request) return;
  try {
    auto batch = std::make_unique<ComparedRuns>(std::move(*request));
    runs_ = std::make_unique<RepeatedRuns>(batch->Plans());
    batch_ = std::move(batch);
  } catch (const EngineError& refusal) {
    dialogs_.Message(Sentence(refusal.problem()));
    return;
  }
  progress_ = {};
  ui_->LblSettings->setText(BatchCaption(batch_->Request()).join("\n"));
  KeepCaptionInView();
  ui_->PrgRuns->setRange(0, static_cast<int>(batch_->Plans().size()));
  ui_->PrgRuns->setValue(0);
  ui_->LblTimeLeft->clear();
  ui_->CmdStart->setEnabled(false);
  ui_->CmdCancel->setEnabled(true);
  ui_->CmdCancel->setFocus(Qt::OtherFocusReason);
  elapsed_.start();
  figuresShown_.invalidate();
  poll_.start();
  Poll();
}

// Returns at once: the window sees the runs stop as it polls them.
void RepeatedRunsWindow::CmdCancel_Click() {
  if (!Running()) return;
  runs_->Cancel();
  ui_->LblTimeLeft->setText(tr("Cancelling..."));
}

std::optional<BatchRequest> RepeatedRunsWindow::ReadRequest() {
  BatchRequest request;
  const auto runs = WholeNumber(*ui_->TxtRuns, 1, kMostRuns, tr("Runs"));
  if (!runs) return std::nullopt;
  const auto limit =
      WholeNumber(*ui_->TxtGenerationLimit, 1, kMostGenerations, tr("Generation limit"));
  if (!limit) return std::nullopt;
  const auto seed = WholeNumber(*ui_->TxtSeed, 0, kMostSeed, tr("Seed"));
  if (!seed) return std::nullopt;
  const QVariant compared = ui_->CboCompare->currentData();
  if (compared.isValid()) {
    request.compared = static_cast<Setting>(compared.toInt());
    std::optional<std::vector<double>> values = ComparedValues(*request.compared);
    if (!values) return std::nullopt;
    request.values = std::move(*values);
  }
  const std::optional<RunSettings> main = mainSettings_();
  if (!main) return std::nullopt;
  request.base = *main;
  request.runsPerValue = *runs;
  request.generationLimit = *limit;
  request.seed = static_cast<std::uint64_t>(*seed);
  return request;
}

std::optional<std::int64_t> RepeatedRunsWindow::WholeNumber(QLineEdit& field, std::int64_t least,
                                                            std::int64_t most,
                                                            const QString& name) {
  bool whole = false;
  const qlonglong number = field.text().trimmed().toLongLong(&whole);
  if (whole && number >= least && number <= most) return number;
  Refuse(field, tr("%1 must be a whole number from %2 to %3.").arg(name).arg(least).arg(most));
  return std::nullopt;
}

// Numbers apart by blanks, semicolons or a comma and a blank; each finite, in the setting's
// range, whole for a count. A comma between digits is a decimal comma, refused as such rather
// than taken to part two values.
std::optional<std::vector<double>> RepeatedRunsWindow::ComparedValues(Setting compared) {
  const SettingRange accepted = AcceptedRange(compared);
  const QString text = ui_->TxtCompareValues->text();
  if (HoldsADecimalComma(text)) {
    Refuse(*ui_->TxtCompareValues,
           tr("Write decimals with a point, such as 0.1, not 0,1; put a space, a semicolon or a "
              "comma and a space between two values."));
    return std::nullopt;
  }
  static const QRegularExpression kApart(R"([;\s]+|,\s+|,$)");
  const QStringList texts = text.split(kApart, Qt::SkipEmptyParts);
  std::vector<double> values;
  for (const QString& item : texts) {
    bool number = false;
    double value = QLocale::c().toDouble(item, &number);
    if (!number || !std::isfinite(value) || !accepted.Holds(value) ||
        (accepted.whole && value != std::floor(value))) {
      values.clear();
      break;
    }
    values.push_back(value == 0 ? 0.0 : value);
  }
  if (!values.empty() && static_cast<qsizetype>(values.size()) <= kMostValues) return values;
  const QString least = ValueText(accepted.least);
  const QString most = ValueText(accepted.most);
  Refuse(*ui_->TxtCompareValues,
         (accepted.whole ? tr("Values of %1 must be 1 to %2 numbers, each a whole number from %3 "
                              "to %4, such as %3, %4.")
                         : tr("Values of %1 must be 1 to %2 numbers, each a number from %3 to %4, "
                              "such as .05, .1, .2."))
             .arg(SettingName(compared))
             .arg(kMostValues)
             .arg(least, most));
  return std::nullopt;
}

// Tells the user what the field accepts and sends them back to it, as the main window's fields do.
void RepeatedRunsWindow::Refuse(QWidget& field, const QString& message) {
  dialogs_.Message(message);
  field.setFocus(Qt::OtherFocusReason);
}

void RepeatedRunsWindow::Poll() {
  progress_ = runs_->Now();
  groups_ = batch_->Groups(progress_.results);
  ShowCharts();
  ui_->PrgRuns->setValue(static_cast<int>(progress_.finished));
  if (progress_.ended) {
    EndBatch();
    return;
  }
  if (progress_.finished > 0 && runs_ != nullptr && ui_->CmdCancel->isEnabled()) {
    const auto total = static_cast<qint64>(batch_->Plans().size());
    ui_->LblTimeLeft->setText(
        tr("about %1 left")
            .arg(SecondsText(elapsed_.elapsed() * (total - progress_.finished) /
                             progress_.finished)));
  }
  if (!figuresShown_.isValid() || figuresShown_.elapsed() >= kFiguresPauseMs) {
    ShowFigures();
    figuresShown_.start();
  }
}

void RepeatedRunsWindow::ShowCharts() {
  QStringList names;
  QStringList values;
  std::vector<std::vector<CoursePoint>> courses;
  for (const RunGroup& group : groups_) {
    names << GroupName(batch_->Request(), group);
    values << (group.value ? ValueText(*group.value) : QString());
    courses.push_back(ComparedRuns::Course(group, batch_->CourseStep()));
  }
  ui_->Histogram->SetGroups(groups_, names, values);
  const std::optional<Setting> compared = batch_->Request().compared;
  ui_->CourseChart->SetCourses(std::move(courses), compared ? SettingName(*compared) : QString(),
                               values);
}

void RepeatedRunsWindow::ShowFigures() {
  QTableWidget& table = *ui_->TblFigures;
  const std::optional<Setting> compared = batch_ ? batch_->Request().compared : std::nullopt;
  QStringList headers;
  if (compared) headers << SettingName(*compared);
  for (const char* column : kFigureColumns) headers << tr(column);
  table.setColumnCount(static_cast<int>(headers.size()));
  table.setHorizontalHeaderLabels(headers);
  table.setRowCount(static_cast<int>(groups_.size()));
  for (std::size_t g = 0; g < groups_.size(); ++g) {
    const RunGroup& group = groups_[g];
    const GenerationSpread& spread = group.tally.ended;
    QStringList cells;
    if (compared && group.value) cells << ValueText(*group.value);
    cells << QString::number(group.runs.size()) << QString::number(group.tally.perfect)
          << QString::number(group.tally.allBad) << QString::number(group.tally.atLimit);
    for (const double figure : {spread.minimum, spread.lowerQuartile, spread.median,
                                spread.upperQuartile, spread.maximum, spread.mean}) {
      cells << (spread.runs > 0 ? RunFigure(figure) : QString());
    }
    for (int c = 0; c < cells.size(); ++c) {
      auto* item = table.item(static_cast<int>(g), c);
      if (item == nullptr) table.setItem(static_cast<int>(g), c, item = new QTableWidgetItem);
      if (item->text() != cells[c]) item->setText(cells[c]);
    }
  }
  table.resizeColumnsToContents();
}

void RepeatedRunsWindow::EndBatch() {
  poll_.stop();
  ShowFigures();
  ui_->CmdStart->setEnabled(true);
  ui_->CmdCancel->setEnabled(false);
  ui_->CmdStart->setFocus(Qt::OtherFocusReason);
  const auto planned = static_cast<std::int64_t>(batch_->Plans().size());
  const BatchEnd end = progress_.failure               ? BatchEnd::Failed
                       : progress_.finished == planned ? BatchEnd::Whole
                                                       : BatchEnd::Cancelled;
  const QString ended = BatchEndSentence(end, progress_.finished, planned,
                                         static_cast<double>(elapsed_.elapsed()) / 1000);
  ui_->LblTimeLeft->setText(ended);
  ui_->Histogram->Describe();
  ui_->CourseChart->Describe();
  emit batchEnded();
  if (progress_.failure) {
    dialogs_.Message(Sentence(*progress_.failure));
  } else {
    TellScreenReaders(*this, ended + " " + MediansSentence(batch_->Request(), groups_));
  }
}

}  // namespace evo
