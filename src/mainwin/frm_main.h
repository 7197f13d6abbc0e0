// The main window "EVOLUTION SIMULATION": the parameters of the simulation, its commands and the
// generation counter. It owns the simulation and is the window the simulation reads and writes.
#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "common/dialogs.h"
#include "common/spoken_pace.h"
#include "engine/simulation/random_source.h"
#include "engine/simulation/simulation.h"
#include "engine/simulation/window_port.h"
#include "mainwin/focus_first_clicks.h"
#include "mainwin/leave_validation.h"
#include "run/run_control.h"
#include "run/run_window.h"

class QLineEdit;

namespace Ui {
class FrmMain;
}

namespace evo {

class FrmShow;
class FrmSummary;
class RepeatedRunsWindow;

class FrmMain : public QWidget, public WindowPort, public RunWindow {
  Q_OBJECT

 public:
  // Loads the window (Form_Load) with the focus in the population size. The dialogs and the
  // random source must outlive the window.
  FrmMain(Dialogs& dialogs, RandomSource& random, QWidget* parent = nullptr);
  ~FrmMain() override;

  Simulation& simulation() { return simulation_; }
  // What must be done as the program ends, through Exit or the window's frame: nothing else runs.
  void WhenEnding(std::function<void()> last) { whenEnding_ = std::move(last); }
  RunControl& runs() { return runs_; }

  // What the simulation reads and writes of the window.
  std::string GenerationCounter() const override;
  void SetGenerationCounter(const std::string& caption) override;
  void Yield() override;

  // What the run commands read and change of the window.
  SettingTexts Texts() const override;
  Options CurrentOptions() const override;
  void SetCommandsEnabled(bool enabled) override;
  void ShowHaltButton(bool shown) override;
  void FocusHaltButton() override;
  void BeginTellingCounter() override;
  void AnnounceCounter() override;
  bool FieldsAccepted() override;

  // The handlers of the window's events, also called directly by other handlers. A command the
  // simulation refuses, or a file failure, is reported in a message and changes nothing more.
  // A view that is open is shown again, not loaded again.
  void CmdCreate_Click() override;
  // Ends the program at once, even from inside a run's yield: nothing runs after it.
  [[noreturn]] void CmdExit_Click();
  void CmdMutate_Click();
  void CmdViewPop_Click();
  void CmdViewSum_Click() override;
  void Form_Load();
  void TxtGoodFactor_Lostfocus();
  void TxtPopSize_lostfocus();
  void TxtStartNum_LostFocus();

  // Opens the window "Repeated Runs" (Ctrl+R, or the window's context menu), or brings forward
  // the one that is open.
  void OpenRepeatedRuns();

 protected:
  // Closing through the frame ends the program and anything running in it, keeping the data
  // file: only "Exit" deletes it.
  void closeEvent(QCloseEvent* event) override;
  // The halt button taking the focus is what starts an indefinite run.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void WireControls();
  void OfferRepeatedRuns();
  void ShowMessage(const QString& text);
  bool Attempt(const std::function<void()>& command);
  bool PopulationExists();
  // Checks the population file; false, after telling the user, when it was damaged from outside
  // and the population is gone.
  bool FileStillHoldsPopulation();
  void CloseViewOfLostFile(QWidget* view);

  // When a view hides the main window: the gene display before it is loaded, the summary once it
  // stands on the screen with its figures.
  enum class MainWindowHidden { BeforeLoading, AfterShowing };
  // Opens a view over the population file with load, for the population size of its box, or
  // shows the one that is open: only while a population exists and its file still holds it,
  // and closed again with a message when the file proves damaged once the view has read it.
  template <typename View, typename Load>
  void OpenViewOfFile(QPointer<View>& view, MainWindowHidden hidden, const Load& load);
  std::optional<std::int32_t> ViewedPopulationSize();
  void TakeBackEmptied(QLineEdit& box, const QString& message);
  // The checks of the three fields as leaving them makes them: false when the field refused its
  // text, which the user has been told.
  bool GoodFactorAccepted();
  bool PopSizeAccepted();
  bool StartNumAccepted();
  // The settings that Repeated Runs takes at Start, with every field checked; nothing, after the
  // field's message, when one refused its text.
  std::optional<RunSettings> SettingsForRepeatedRuns();

  std::unique_ptr<Ui::FrmMain> ui_;
  Dialogs& dialogs_;
  RandomSource& random_;
  Simulation simulation_;
  RunControl runs_{simulation_, *this, *this, dialogs_};
  LeaveValidation leaveValidation_;
  FocusFirstClicks focusFirstClicks_{leaveValidation_};
  SpokenPace* counterVoice_;
  std::function<void()> whenEnding_;
  QPointer<FrmShow> genes_;
  QPointer<FrmSummary> summary_;
  QPointer<RepeatedRunsWindow> repeatedRuns_;
};

}  // namespace evo
