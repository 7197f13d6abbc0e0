// The run commands: a fixed number of generations, an indefinite run with its halt button, the
// counter reset and the erase of the population.
#pragma once

#include <QCoreApplication>
#include <cstdint>

#include "common/dialogs.h"
#include "engine/simulation/simulation.h"
#include "engine/simulation/window_port.h"
#include "run/run_window.h"

namespace evo {

class RunControl {
  Q_DECLARE_TR_FUNCTIONS(evo::RunControl)

 public:
  RunControl(Simulation& simulation, WindowPort& port, RunWindow& window, Dialogs& dialogs);

  void CmdRun_Click();
  void CmdRunIndef_Click();
  void cmdhaltrun_gotfocus();
  void cmdhaltrun_click();
  void CmdResetCounter_Click();
  void CmdRestartAll_Click();

  bool RunInProgress() const { return running_ != Run::None; }

  // While a run is in progress, tells the user that the command has to wait and returns true:
  // the commands that would start a second run, or close, erase or replace the file under the
  // running one, call it first.
  bool RefuseWhileRunning();

 private:
  enum class Run { None, FixedLength, Indefinite };
  class RunScope;

  // Checks the focused field, creates a population when none exists, then loads the parameters.
  // False, after telling the
  // user, when either could not be done: no run may start then.
  bool PrepareRun();

  // One generation; false, after telling the user, when the population file failed under it,
  // and false when the population is gone.
  bool Generation();

  // Tells the user of a detection that IntHalt holds; returns the stop reason it told of.
  std::int16_t ReportDetection();

  Simulation& simulation_;
  // Read only: the simulation changes its state through its own operations.
  const SimulationState& state_;
  WindowPort& port_;
  RunWindow& window_;
  Dialogs& dialogs_;
  Run running_ = Run::None;
  // Set by CmdRunIndef_Click for the one focus move that starts the indefinite run: the focus
  // coming back to the halt button later starts nothing.
  bool indefiniteRunRequested_ = false;
};

}  // namespace evo
