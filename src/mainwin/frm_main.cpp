#include "mainwin/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QPushButton>
#include <QShortcut>
#include <cmath>
#include <cstdlib>

#include "common/desktop_conventions.h"
#include "common/messages.h"
#include "common/number_caption.h"
#include "common/window_look.h"
#include "common/window_setup.h"
#include "engine/numeric.h"
#include "engine/settings/setting_ranges.h"
#include "mainwin/program_icon.h"
#include "ui_frm_main.h"
#include "views/frm_show.h"
#include "views/frm_summary.h"
#include "views/repeated_runs_window.h"

namespace evo {
namespace {

// A view closed inside a run's yield is deleted only later: until then it is closed, not open.
template <typename View>
bool IsOpen(const QPointer<View>& view) {
  return view && view->isVisible();
}

std::string Text(const QLineEdit& box) {
  return box.text().toStdString();
}

void SetNumberText(QLineEdit& box, double number) {
  box.setText(NumberCaption(number));
}

}  // namespace

FrmMain::FrmMain(Dialogs& dialogs, RandomSource& random, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::FrmMain>()),
      dialogs_(dialogs),
      random_(random),
      simulation_(*this, random) {
  ui_->setupUi(this);
  // The layout is fixed, so the window can be minimised but not maximised.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowIcon(ProgramIcon());
  SetUpWindow(*this);
  counterVoice_ = new SpokenPace(*ui_->LblGencount);
  // A drop would change a box's text without the focus ever leaving it, so past its check.
  for (auto* box : findChildren<QLineEdit*>()) box->setAcceptDrops(false);
  WireControls();
  OfferRepeatedRuns();
  Form_Load();
  ui_->TxtPopSize->setFocus();
  CentreOnScreen(*this);
}

FrmMain::~FrmMain() {
  delete genes_;
  delete summary_;
  delete repeatedRuns_;
}

void FrmMain::WireControls() {
  connect(ui_->CmdCreate, &QPushButton::clicked, this, &FrmMain::CmdCreate_Click);
  connect(ui_->CmdMutate, &QPushButton::clicked, this, &FrmMain::CmdMutate_Click);
  connect(ui_->CmdExit, &QPushButton::clicked, this, &FrmMain::CmdExit_Click);
  connect(ui_->CmdViewPop, &QPushButton::clicked, this, &FrmMain::CmdViewPop_Click);
  connect(ui_->CmdViewSum, &QPushButton::clicked, this, &FrmMain::CmdViewSum_Click);
  connect(ui_->CmdRun, &QPushButton::clicked, this, [this] { runs_.CmdRun_Click(); });
  connect(ui_->CmdRunIndef, &QPushButton::clicked, this, [this] { runs_.CmdRunIndef_Click(); });
  connect(ui_->CmdHaltRun, &QPushButton::clicked, this, [this] { runs_.cmdhaltrun_click(); });
  connect(ui_->CmdResetCounter, &QPushButton::clicked, this,
          [this] { runs_.CmdResetCounter_Click(); });
  connect(ui_->CmdRestartAll, &QPushButton::clicked, this, [this] { runs_.CmdRestartAll_Click(); });
  ui_->CmdHaltRun->installEventFilter(this);
  leaveValidation_.Watch(ui_->TxtPopSize, [this] { TxtPopSize_lostfocus(); });
  leaveValidation_.Watch(ui_->TxtGoodFactor, [this] { TxtGoodFactor_Lostfocus(); });
  leaveValidation_.Watch(ui_->TxtStartNum, [this] { TxtStartNum_LostFocus(); });
  for (auto* button : findChildren<QAbstractButton*>()) focusFirstClicks_.Watch(button);
}

SettingTexts FrmMain::Texts() const {
  return {Text(*ui_->TxtPopSize), Text(*ui_->TxtGoodFactor), Text(*ui_->TxtMutateNum),
          Text(*ui_->TxtGenNum), Text(*ui_->TxtStartNum)};
}

Options FrmMain::CurrentOptions() const {
  return {ui_->OptSexOn->isChecked(), ui_->OptMutationOn->isChecked()};
}

// Beside the window's own controls, in a context menu of its own: the right button anywhere but
// in a field, the Menu key, Shift+F10; and Ctrl+R.
void FrmMain::OfferRepeatedRuns() {
  auto* repeatedRuns = new QAction(tr("Repeated Runs..."), this);
  repeatedRuns->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
  connect(repeatedRuns, &QAction::triggered, this, &FrmMain::OpenRepeatedRuns);
  // Listed ahead of Help, which every window has.
  insertAction(actions().value(0), repeatedRuns);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this), &QShortcut::activated, this,
          [this] {
            OpenContextMenuFromKeyboard(*this, focusWidget() != nullptr ? *focusWidget() : *this);
          });
}

void FrmMain::OpenRepeatedRuns() {
  if (repeatedRuns_ == nullptr) {
    repeatedRuns_ = new RepeatedRunsWindow([this] { return SettingsForRepeatedRuns(); }, dialogs_);
  }
  repeatedRuns_->show();
  repeatedRuns_->raise();
  repeatedRuns_->activateWindow();
}

std::string FrmMain::GenerationCounter() const {
  return ui_->LblGencount->text().toStdString();
}

void FrmMain::SetGenerationCounter(const std::string& caption) {
  ui_->LblGencount->setText(QString::fromStdString(caption));
  counterVoice_->Changed();
}

void FrmMain::Yield() {
  QCoreApplication::processEvents();
}

void FrmMain::SetCommandsEnabled(bool enabled) {
  for (QPushButton* command :
       {ui_->CmdCreate, ui_->CmdMutate, ui_->CmdViewPop, ui_->CmdViewSum, ui_->CmdRestartAll,
        ui_->CmdResetCounter, ui_->CmdRun, ui_->CmdExit}) {
    command->setEnabled(enabled);
  }
}

// The focus goes straight to the halt button, before anything is hidden or disabled: a control
// hidden or disabled with the focus passes it to the next one in the chain, and a screen reader
// would announce each on the way. After the run it goes back to the run button from the halt
// button, and stays where the user put it otherwise.
void FrmMain::ShowHaltButton(bool shown) {
  QPushButton* coming = shown ? ui_->CmdHaltRun : ui_->CmdRunIndef;
  QPushButton* going = shown ? ui_->CmdRunIndef : ui_->CmdHaltRun;
  coming->show();
  if (shown || going->hasFocus()) coming->setFocus(Qt::OtherFocusReason);
  going->hide();
  if (shown) ui_->CmdHaltRun->setText(tr("Halt Run"));
}

void FrmMain::FocusHaltButton() {
  ui_->CmdHaltRun->setFocus(Qt::OtherFocusReason);
}

void FrmMain::BeginTellingCounter() {
  counterVoice_->Begin();
}

void FrmMain::AnnounceCounter() {
  counterVoice_->Flush();
}

void FrmMain::CmdCreate_Click() {
  if (runs_.RefuseWhileRunning() || !FieldsAccepted()) return;
  if (!Attempt([this] { simulation_.CreatePopulation(Texts(), CurrentOptions()); })) return;
  ShowMessage(tr("Population successfully created!"));
}

void FrmMain::CmdExit_Click() {
  simulation_.CloseAndDeleteFile();
  if (whenEnding_) whenEnding_();
  std::_Exit(0);
}

// Works during a fixed-length run as well: the pass runs between two generations, on the
// population the run works on, and neither closes nor replaces its file.
void FrmMain::CmdMutate_Click() {
  if (!FieldsAccepted()) return;
  if (!Attempt([this] { simulation_.GetParameters(Texts()); }) || !PopulationExists()) return;
  Attempt([this] { simulation_.InsertMutations(CurrentOptions()); });
}

void FrmMain::CmdViewPop_Click() {
  OpenViewOfFile(genes_, MainWindowHidden::BeforeLoading, [this](std::int32_t size) {
    auto* genes = new FrmShow(simulation_.File(), size, dialogs_);
    connect(genes, &FrmShow::pageListed, this, [this] { CloseViewOfLostFile(genes_); });
    return genes;
  });
}

void FrmMain::CmdViewSum_Click() {
  OpenViewOfFile(summary_, MainWindowHidden::AfterShowing, [this](std::int32_t size) {
    return new FrmSummary(simulation_.File(), size, simulation_.History(), simulation_.Record(),
                          dialogs_);
  });
}

template <typename View, typename Load>
void FrmMain::OpenViewOfFile(QPointer<View>& view, MainWindowHidden hidden, const Load& load) {
  if (!FieldsAccepted() || !PopulationExists() || !FileStillHoldsPopulation()) return;
  std::optional<std::int32_t> size;
  if (!IsOpen(view) && !(size = ViewedPopulationSize())) return;
  if (hidden == MainWindowHidden::BeforeLoading) hide();
  if (!IsOpen(view)) {
    view = load(*size);
    connect(view, &View::closed, this, &QWidget::show);
  }
  view->show();
  hide();
  CloseViewOfLostFile(view);
}

void FrmMain::Form_Load() {
  random_.SeedFromTimeOfDay(SecondsSinceMidnight());
  simulation_.Initialise();
}

void FrmMain::TxtGoodFactor_Lostfocus() {
  GoodFactorAccepted();
}

void FrmMain::TxtPopSize_lostfocus() {
  PopSizeAccepted();
}

void FrmMain::TxtStartNum_LostFocus() {
  StartNumAccepted();
}

bool FrmMain::GoodFactorAccepted() {
  const double good = NumericValue(Text(*ui_->TxtGoodFactor));
  if (!AcceptedRange(Setting::GoodMutationProbability).Holds(good)) {
    TakeBackEmptied(*ui_->TxtGoodFactor, Refusal(Setting::GoodMutationProbability, good));
    return false;
  }
  SetNumberText(*ui_->TxtBadFactor, 1 - good);
  return true;
}

bool FrmMain::PopSizeAccepted() {
  QLineEdit& box = *ui_->TxtPopSize;
  SetNumberText(box, std::floor(NumericValue(Text(box))));
  const double size = NumericValue(Text(box));
  const SettingRange accepted = AcceptedRange(Setting::PopulationSize);
  bool refused = false;
  if (size < accepted.least) {
    ShowMessage(Refusal(Setting::PopulationSize, size));
    refused = true;
  }
  if (size > accepted.most) {
    ShowMessage(Refusal(Setting::PopulationSize, size));
    refused = true;
  }
  if (refused) box.setText(QString::number(accepted.least));
  return !refused;
}

bool FrmMain::StartNumAccepted() {
  QLineEdit& box = *ui_->TxtStartNum;
  const double start = NumericValue(Text(box));
  if (!AcceptedRange(Setting::StartingGeneValue).Holds(start)) {
    TakeBackEmptied(box, Refusal(Setting::StartingGeneValue, start));
    return false;
  }
  SetNumberText(box, std::floor(start));
  return true;
}

// The field that has the focus first, as when it is left, then every other: a field may hold what
// no check has seen, written into it by a screen reader or a script through its accessible text.
std::optional<RunSettings> FrmMain::SettingsForRepeatedRuns() {
  if (!FieldsAccepted() || !PopSizeAccepted() || !GoodFactorAccepted() || !StartNumAccepted()) {
    return std::nullopt;
  }
  try {
    RunSettings settings = ReadSettings(Texts());
    settings.startingGeneValue = StartingGene(Text(*ui_->TxtStartNum)) - '0';
    settings.options = CurrentOptions();
    return settings;
  } catch (const EngineError& refusal) {
    ShowMessage(Sentence(refusal.problem()));
    return std::nullopt;
  }
}

// A command pressed without the focus leaving the field (a screen reader's or voice control's
// press, a program's click) would read a text that no check has seen.
bool FrmMain::FieldsAccepted() {
  const QWidget* focused = focusWidget();
  if (focused == ui_->TxtPopSize) return PopSizeAccepted();
  if (focused == ui_->TxtGoodFactor) return GoodFactorAccepted();
  if (focused == ui_->TxtStartNum) return StartNumAccepted();
  return true;
}

void FrmMain::closeEvent(QCloseEvent* event) {
  event->accept();
  simulation_.CloseFile();
  if (whenEnding_) whenEnding_();
  std::_Exit(0);
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ui_->CmdHaltRun && event->type() == QEvent::FocusIn) runs_.cmdhaltrun_gotfocus();
  return QWidget::eventFilter(watched, event);
}

void FrmMain::ShowMessage(const QString& text) {
  dialogs_.Message(text);
}

bool FrmMain::Attempt(const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const EngineError& error) {
    ShowMessage(Sentence(error.problem()));
    return false;
  }
}

bool FrmMain::PopulationExists() {
  if (simulation_.state.IntCreated != kFalse) return true;
  ShowMessage(NoPopulationMessage());
  return false;
}

bool FrmMain::FileStillHoldsPopulation() {
  return Attempt([this] { simulation_.CheckFile(); });
}

// What a view shows of a file that was damaged while it read is no population: the user is told,
// and the view goes.
void FrmMain::CloseViewOfLostFile(QWidget* view) {
  if (view != nullptr && !FileStillHoldsPopulation()) view->close();
}

std::optional<std::int32_t> FrmMain::ViewedPopulationSize() {
  const std::optional<std::int32_t> size = RoundToInt32(NumericValue(Text(*ui_->TxtPopSize)));
  if (!size) ShowMessage(ViewedSizeRefusal());
  return size;
}

// A refused text is taken away and the user sent back to type another.
void FrmMain::TakeBackEmptied(QLineEdit& box, const QString& message) {
  ShowMessage(message);
  box.setFocus(Qt::OtherFocusReason);
  box.setText(QString());
}

}  // namespace evo
