#include "run/run_control.h"

#include "common/messages.h"
#include "common/number_caption.h"
#include "engine/numeric.h"

namespace evo {

// Marks a run in progress for the life of the object, however the run ends.
class RunControl::RunScope {
 public:
  RunScope(Run& running, Run kind) : running_(running) { running_ = kind; }
  ~RunScope() { running_ = Run::None; }
  RunScope(const RunScope&) = delete;
  RunScope& operator=(const RunScope&) = delete;

 private:
  Run& running_;
};

RunControl::RunControl(Simulation& simulation, WindowPort& port, RunWindow& window,
                       Dialogs& dialogs)
    : simulation_(simulation),
      state_(simulation.state),
      port_(port),
      window_(window),
      dialogs_(dialogs) {}

bool RunControl::RefuseWhileRunning() {
  if (!RunInProgress()) return false;
  dialogs_.Message(RunInProgressMessage());
  return true;
}

bool RunControl::PrepareRun() {
  if (!window_.FieldsAccepted()) return false;
  if (state_.IntCreated == kFalse) {
    window_.CmdCreate_Click();
    if (state_.IntCreated == kFalse) return false;
  }
  try {
    simulation_.GetParameters(window_.Texts());
  } catch (const EngineError& refusal) {
    dialogs_.Message(Sentence(refusal.problem()));
    return false;
  }
  return true;
}

bool RunControl::Generation() {
  // A mutation pass between two generations may have found the file damaged and dropped the
  // population; it has told the user.
  if (state_.IntCreated == kFalse) return false;
  try {
    simulation_.NextGeneration(window_.CurrentOptions());
    return true;
  } catch (const EngineError& failure) {
    window_.AnnounceCounter();
    dialogs_.Message(Sentence(failure.problem()));
    return false;
  }
}

std::int16_t RunControl::ReportDetection() {
  // A halt pressed through a screen reader while the box is open changes IntHalt under it.
  const std::int16_t reason = state_.IntHalt;
  if (reason == kPerfectGenome) dialogs_.Message(tr("perfect genome detected"));
  if (reason == kAllBadGenome) dialogs_.Message(tr("all bad genome detected"));
  return reason;
}

void RunControl::CmdRun_Click() {
  if (RefuseWhileRunning() || !PrepareRun()) return;
  const auto generations = RoundToInt16(state_.SngGenNum);
  if (!generations) {
    dialogs_.Message(Sentence(UnreadableSetting{Setting::Generations}));
    return;
  }
  bool faulted = false;
  window_.BeginTellingCounter();
  {
    const RunScope scope(running_, Run::FixedLength);
    // The index counts in int: a 16-bit one would overflow after the largest count, 32767.
    for (int generation = 1; generation <= *generations && !faulted; ++generation) {
      faulted = !Generation();
    }
  }
  window_.AnnounceCounter();
  // A fault has been told; no report of generations run may follow it.
  if (faulted) {
    simulation_.EndRun(kNoHalt);
    return;
  }
  dialogs_.Message(tr("generations were run"));
  simulation_.EndRun(ReportDetection());
  window_.CmdViewSum_Click();
}

void RunControl::CmdRunIndef_Click() {
  if (RefuseWhileRunning() || !PrepareRun()) return;
  window_.ShowHaltButton(true);
  window_.SetCommandsEnabled(false);
  indefiniteRunRequested_ = true;
  window_.FocusHaltButton();
  // A window that is not active takes the focus only once it is activated again; the run does
  // not wait for that.
  if (indefiniteRunRequested_) cmdhaltrun_gotfocus();
}

void RunControl::cmdhaltrun_gotfocus() {
  if (!indefiniteRunRequested_) return;
  indefiniteRunRequested_ = false;
  bool faulted = false;
  std::int16_t reason = kNoHalt;
  {
    const RunScope scope(running_, Run::Indefinite);
    simulation_.StartLoopCount();
    window_.BeginTellingCounter();
    do {
      simulation_.CountLoop();
      faulted = !Generation();
      if (faulted) break;
      port_.Yield();
      if (state_.IntHalt != kNoHalt) window_.AnnounceCounter();
      reason = ReportDetection();
    } while (state_.IntHalt == kNoHalt);
  }
  window_.AnnounceCounter();
  window_.SetCommandsEnabled(true);
  simulation_.EndRun(faulted ? kNoHalt : reason);
  // A fault has been told; the count and the summary would only add to it.
  if (!faulted) dialogs_.Message(tr("loop executed %1 times").arg(NumberCaption(state_.DblCount)));
  window_.ShowHaltButton(false);
  if (!faulted) window_.CmdViewSum_Click();
}

// Only an indefinite run has a halt: a screen reader may press the hidden button at other times.
void RunControl::cmdhaltrun_click() {
  if (running_ != Run::Indefinite) return;
  simulation_.RequestHalt();
}

void RunControl::CmdResetCounter_Click() {
  port_.SetGenerationCounter("0");
}

void RunControl::CmdRestartAll_Click() {
  if (RefuseWhileRunning()) return;
  if (state_.IntCreated == kFalse) {
    dialogs_.Message(NoPopulationMessage());
    return;
  }
  simulation_.ErasePopulation();
  port_.SetGenerationCounter("0");
}

}  // namespace evo
