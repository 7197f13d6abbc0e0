#include "views/repeated_runs_window.h"

#include <QCloseEvent>
#include <QLocale>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QShortcut>
#include <algorithm>
#include <cmath>

#include "common/desktop_conventions.h"
#include "common/dialogs.h"
#include "common/focus_ring.h"
#include "common/messages.h"
#include "common/spoken_notice.h"
#include "common/window_look.h"
#include "engine/engine_error.h"
#include "engine/settings/setting_ranges.h"
#include "ui_repeated_runs_window.h"
#include "views/brief_note.h"
#include "views/charts/chart_menu.h"
#include "views/charts/runs_histogram.h"

namespace evo {
namespace {

constexpr std::int64_t kMostRuns = 10'000;
constexpr std::int64_t kMostGenerations = 1'000'000;
constexpr std::int64_t kMostSeed = 4'294'967'295;
constexpr qsizetype kMostValues = 10;
constexpr int kPollMs = 100;
// The figures' table changes at most this often while runs come in, each change being told to
// screen readers.
constexpr qint64 kFiguresPauseMs = 1000;

// The setting of the main window that a compared setting is.
Setting SettingCompared(ComparedSetting compared) {
  switch (compared) {
    case ComparedSetting::GoodMutationProbability:
      return Setting::GoodMutationProbability;
    case ComparedSetting::MutationsPerCycle:
      return Setting::MutationsPerCycle;
    case ComparedSetting::StartingGeneValue:
      return Setting::StartingGeneValue;
    case ComparedSetting::PopulationSize:
    case ComparedSetting::None:
      break;
  }
  return Setting::PopulationSize;
}

const char* kFigureColumns[] = {
    "Runs",           "Perfect genome", "All bad genome", "At the limit", "Minimum",
    "Lower quartile", "Median",         "Upper quartile", "Maximum",      "Mean"};

QString SecondsText(qint64 milliseconds) {
  return QString::number(static_cast<double>(milliseconds) / 1000, 'f', 1) + " s";
}

}  // namespace

RepeatedRunsWindow::RepeatedRunsWindow(std::function<std::optional<MainSettings>()> mainSettings,
                                       Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::RepeatedRunsWindow>()),
      mainSettings_(std::move(mainSettings)),
      dialogs_(dialogs) {
  ui_->setupUi(this);
  SetProgramFont(*this);
  setAttribute(Qt::WA_DeleteOnClose);
  LetEnterPressButtons(*this);
  TieLabelsToControls(*this);
  new FocusRing(*this);
  ui_->TxtSeed->setText(QString::number(QRandomGenerator::system()->generate()));
  connect(ui_->CmdStart, &QPushButton::clicked, this, &RepeatedRunsWindow::CmdStart_Click);
  connect(ui_->CmdCancel, &QPushButton::clicked, this, &RepeatedRunsWindow::CmdCancel_Click);
  auto* note = new BriefNote(*ui_->LblNote);
  const auto csv = [this] { return Csv(); };
  auto* menu = new ChartMenu(
      *ui_->Histogram, {"repeated-runs", "repeated-runs", csv, [this] { return batch_.caption; }},
      dialogs_);
  connect(menu, &ChartMenu::copied, note, &BriefNote::Show);
  connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this,
          [note, csv] { note->Show(CopyCsv(csv())); });
  poll_.setInterval(kPollMs);
  connect(&poll_, &QTimer::timeout, this, &RepeatedRunsWindow::Poll);
  ui_->TblFigures->verticalHeader()->hide();
  ShowFigures({});
  CentreOnScreen(*this);
}

RepeatedRunsWindow::~RepeatedRunsWindow() = default;

bool RepeatedRunsWindow::Running() const {
  return runs_ != nullptr && !runs_->Ended();
}

void RepeatedRunsWindow::closeEvent(QCloseEvent* event) {
  runs_.reset();  // cancels the runs left and waits for the workers
  QWidget::closeEvent(event);
}

void RepeatedRunsWindow::CmdStart_Click() {
  if (Running()) return;
  std::optional<Batch> batch = ReadBatch();
  if (!batch) return;
  batch_ = std::move(*batch);
  ui_->LblSettings->setText(batch_.caption.join("\n"));
  ui_->PrgRuns->setRange(0, static_cast<int>(batch_.plans.size()));
  ui_->PrgRuns->setValue(0);
  ui_->CmdStart->setEnabled(false);
  ui_->CmdCancel->setEnabled(true);
  ui_->CmdCancel->setFocus(Qt::OtherFocusReason);
  runs_ = std::make_unique<RepeatedRuns>(batch_.plans);
  elapsed_.start();
  figuresShown_.invalidate();
  poll_.start();
  Poll();
}

void RepeatedRunsWindow::CmdCancel_Click() {
  if (!Running()) return;
  runs_->Cancel();
  runs_->Wait();
  Poll();
}

std::optional<RepeatedRunsWindow::Batch> RepeatedRunsWindow::ReadBatch() {
  const auto runs = WholeNumber(*ui_->TxtRuns, 1, kMostRuns, "Runs");
  if (!runs) return std::nullopt;
  const auto limit = WholeNumber(*ui_->TxtGenerationLimit, 1, kMostGenerations, "Generation limit");
  if (!limit) return std::nullopt;
  const auto seed = WholeNumber(*ui_->TxtSeed, 0, kMostSeed, "Seed");
  if (!seed) return std::nullopt;
  const auto compared = static_cast<ComparedSetting>(ui_->CboCompare->currentIndex());
  const std::optional<std::vector<double>> values = ComparedValues(compared);
  if (!values) return std::nullopt;

  const std::optional<MainSettings> main = mainSettings_();
  if (!main) return std::nullopt;
  RunSettings base;
  try {
    base = ReadSettings(main->texts);
    base.startingGeneValue = StartingGene(main->texts.startingGeneValue) - '0';
  } catch (const EngineError& refusal) {
    dialogs_.Message(Sentence(refusal.problem()));
    return std::nullopt;
  }
  base.options = main->options;

  Batch batch;
  batch.plans = PlanRuns(base, compared, *values, *runs, *limit, static_cast<std::uint64_t>(*seed));
  batch.runsPerValue = *runs;
  const QString setting = ui_->CboCompare->currentText();
  if (compared == ComparedSetting::None) {
    batch.valueLabels = {QString()};
  } else {
    for (const double value : *values)
      batch.valueLabels.push_back(setting + " " + QString::number(value));
  }
  const float good = base.goodMutationProbability;
  batch.caption = {
      QString("Population size %1, starting gene value %2, %3 runs from seed %4, generation "
              "limit %5")
          .arg(base.populationSize)
          .arg(base.startingGeneValue)
          .arg(*runs)
          .arg(*seed)
          .arg(*limit),
      QString("Good mutation probability %1 (bad %2), %3 mutations per cycle")
          .arg(QString::number(good), QString::number(1.0f - good))
          .arg(base.mutationsPerCycle),
      QString("Sexual exchange %1, auto mutation %2")
          .arg(base.options.sexualExchange ? "ON" : "OFF",
               base.options.autoMutation ? "ON" : "OFF")};
  if (compared != ComparedSetting::None) {
    QStringList shown;
    for (const double value : *values) shown << QString::number(value);
    batch.caption << "Compared: " + setting + " " + shown.join(", ");
  }
  return batch;
}

std::optional<std::int64_t> RepeatedRunsWindow::WholeNumber(QLineEdit& field, std::int64_t least,
                                                            std::int64_t most,
                                                            const QString& name) {
  bool whole = false;
  const qlonglong number = field.text().trimmed().toLongLong(&whole);
  if (whole && number >= least && number <= most) return number;
  Refuse(field, QString("%1 must be a whole number from %2 to %3.").arg(name).arg(least).arg(most));
  return std::nullopt;
}

std::optional<std::vector<double>> RepeatedRunsWindow::ComparedValues(ComparedSetting compared) {
  if (compared == ComparedSetting::None) return std::vector<double>{};
  const SettingRange accepted = AcceptedRange(SettingCompared(compared));
  const QStringList texts =
      ui_->TxtCompareValues->text().split(QRegularExpression("[,;\\s]+"), Qt::SkipEmptyParts);
  std::vector<double> values;
  for (const QString& text : texts) {
    bool number = false;
    const double value = QLocale::c().toDouble(text, &number);
    if (!number || value < accepted.least || value > accepted.most ||
        (accepted.whole && value != std::floor(value))) {
      values.clear();
      break;
    }
    values.push_back(value);
  }
  if (!values.empty() && static_cast<qsizetype>(values.size()) <= kMostValues) return values;
  Refuse(*ui_->TxtCompareValues,
         QString("Values of %1 must be 1 to %2 numbers, each %3 from %4 to %5, such as %6.")
             .arg(ui_->CboCompare->currentText())
             .arg(kMostValues)
             .arg(accepted.whole ? "a whole number" : "a number")
             .arg(accepted.least)
             .arg(accepted.most)
             .arg(accepted.whole ? QString("%1, %2").arg(accepted.least).arg(accepted.most)
                                 : QString(".05, .1, .2")));
  return std::nullopt;
}

// Tells the user what the field accepts and sends them back to it, as the main window's fields do.
void RepeatedRunsWindow::Refuse(QWidget& field, const QString& message) {
  dialogs_.Message(message);
  field.setFocus(Qt::OtherFocusReason);
}

void RepeatedRunsWindow::Poll() {
  const std::vector<std::optional<RunResult>> results = runs_->Results();
  std::vector<std::vector<RunResult>> groups(batch_.valueLabels.size());
  for (std::size_t i = 0; i < results.size(); ++i) {
    if (results[i])
      groups[i / static_cast<std::size_t>(batch_.runsPerValue)].push_back(*results[i]);
  }
  std::vector<RunGroup> shown;
  for (std::size_t g = 0; g < groups.size(); ++g)
    shown.push_back({batch_.valueLabels[g], groups[g]});
  ui_->Histogram->SetGroups(std::move(shown));
  const std::int64_t done = runs_->Finished();
  ui_->PrgRuns->setValue(static_cast<int>(done));
  const bool ended = runs_->Ended();
  if (ended) {
    ShowFigures(groups);
    EndBatch(groups);
    return;
  }
  if (done > 0) {
    const auto total = static_cast<qint64>(batch_.plans.size());
    ui_->LblTimeLeft->setText("about " + SecondsText(elapsed_.elapsed() * (total - done) / done) +
                              " left");
  }
  if (!figuresShown_.isValid() || figuresShown_.elapsed() >= kFiguresPauseMs) {
    ShowFigures(groups);
    figuresShown_.start();
  }
}

void RepeatedRunsWindow::ShowFigures(const std::vector<std::vector<RunResult>>& groups) {
  QTableWidget& table = *ui_->TblFigures;
  const bool compared = std::any_of(batch_.valueLabels.begin(), batch_.valueLabels.end(),
                                    [](const QString& label) { return !label.isEmpty(); });
  QStringList headers;
  if (compared) headers << ui_->CboCompare->itemText(ui_->CboCompare->currentIndex());
  for (const char* column : kFigureColumns) headers << column;
  table.setColumnCount(static_cast<int>(headers.size()));
  table.setHorizontalHeaderLabels(headers);
  table.setRowCount(static_cast<int>(groups.size()));
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const RunTally tally = Tally(groups[g]);
    const GenerationSpread& spread = tally.ended;
    QStringList cells;
    if (compared) cells << batch_.valueLabels[g].section(' ', -1);
    cells << QString::number(groups[g].size()) << QString::number(tally.perfect)
          << QString::number(tally.allBad) << QString::number(tally.atLimit);
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

// What a listener is told as a batch ends: the runs, their time and the median of each value, in
// a sentence or two; the rest is a Tab away, in the figures' table.
QString RepeatedRunsWindow::MediansSentence(
    const std::vector<std::vector<RunResult>>& groups) const {
  QStringList medians;
  for (std::size_t g = 0; g < groups.size(); ++g) {
    const GenerationSpread spread = Tally(groups[g]).ended;
    const QString median =
        spread.runs > 0 ? RunFigure(spread.median) : QString("none within the limit");
    const QString value = batch_.valueLabels[g].section(' ', -1);
    medians << (value.isEmpty() ? median : median + " for " + value);
  }
  return "Median generations to the end: " + medians.join(", ") + ".";
}

void RepeatedRunsWindow::EndBatch(const std::vector<std::vector<RunResult>>& groups) {
  poll_.stop();
  ui_->CmdStart->setEnabled(true);
  ui_->CmdCancel->setEnabled(false);
  ui_->CmdStart->setFocus(Qt::OtherFocusReason);
  const std::int64_t done = runs_->Finished();
  const auto total = static_cast<std::int64_t>(batch_.plans.size());
  const QString took = done == total
                           ? QString("%1 runs in %2").arg(done).arg(SecondsText(elapsed_.elapsed()))
                           : QString("Cancelled: %1 of %2 runs finished").arg(done).arg(total);
  ui_->LblTimeLeft->setText(took);
  ui_->Histogram->Describe();
  TellScreenReaders(*this, took + ". " + MediansSentence(groups));
  emit batchEnded();
}

QByteArray RepeatedRunsWindow::Csv() const {
  std::vector<RunRow> rows;
  if (runs_ != nullptr) {
    const std::vector<std::optional<RunResult>> results = runs_->Results();
    for (std::size_t i = 0; i < results.size(); ++i) {
      if (!results[i]) continue;
      const RunPlan& plan = batch_.plans[i];
      rows.push_back({static_cast<std::int64_t>(i) + 1, plan.seed, plan.settings, *results[i]});
    }
  }
  return QByteArray::fromStdString(RunsCsv(rows));
}

}  // namespace evo
