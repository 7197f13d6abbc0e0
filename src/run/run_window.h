// What the run commands need of the main window, besides what the simulation reaches through its
// WindowPort.
#pragma once

#include "engine/settings/read_settings.h"

namespace evo {

class RunWindow {
 public:
  virtual ~RunWindow() = default;

  // The parameter boxes' texts as they stand, read once by a run as it starts.
  virtual SettingTexts Texts() const = 0;
  // The two switches as they stand, read by every generation.
  virtual Options CurrentOptions() const = 0;

  // The main window's own commands, which a run calls as plain operations.
  virtual void CmdCreate_Click() = 0;
  virtual void CmdViewSum_Click() = 0;

  // Enables or disables, in this order, CmdCreate, CmdMutate, CmdViewPop, CmdViewSum,
  // CmdRestartAll, CmdResetCounter, CmdRun and CmdExit.
  virtual void SetCommandsEnabled(bool enabled) = 0;

  // Shown: CmdHaltRun visible, CmdRunIndef hidden, the halt caption "Halt Run". Not shown: the
  // other way round. The focus goes straight from the one to the other, without passing any
  // control between them.
  virtual void ShowHaltButton(bool shown) = 0;

  // Moves the input focus to CmdHaltRun.
  virtual void FocusHaltButton() = 0;

  // Checks the field that has the focus as leaving it would, before a command reads the fields;
  // false, when the field refused its text, after its message.
  virtual bool FieldsAccepted() = 0;

  // A run starts: screen readers hear the generation counter as it goes, at the pace of speech,
  // until AnnounceCounter.
  virtual void BeginTellingCounter() = 0;
  // Tells screen readers that listen to the generation counter the figure as it stands, which
  // they otherwise hear at the pace of speech: a run's final figure comes before its result.
  virtual void AnnounceCounter() = 0;
};

}  // namespace evo
