// The window "Repeated Runs": many runs of fresh populations of the main window's settings, on
// every core, each to a detected genome or a generation limit, with the distribution of the
// generations they took and the course of their average gene drawn as they come, for one value
// or for several of a compared setting.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/runs/compared_runs.h"
#include "engine/runs/repeated_runs.h"

class QCloseEvent;
class QLineEdit;

namespace Ui {
class RepeatedRunsWindow;
}

namespace evo {

class Dialogs;

class RepeatedRunsWindow : public QWidget {
  Q_OBJECT

 public:
  // mainSettings gives the main window's settings when Start is pressed, or nothing when the main
  // window refused one of its fields (with its message). The seed field holds a fresh random
  // seed. The window deletes itself when it closes, which stops the runs.
  RepeatedRunsWindow(std::function<std::optional<RunSettings>()> mainSettings, Dialogs& dialogs,
                     QWidget* parent = nullptr);
  ~RepeatedRunsWindow() override;

  bool Running() const;

 signals:
  // Every run of a batch ended, or the batch was cancelled or failed.
  void batchEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CmdStart_Click();
  void CmdCancel_Click();
  // The batch the fields and the main window's settings ask for; nothing, after a message that
  // names the field and what it accepts, when one of them cannot be used.
  std::optional<BatchRequest> ReadRequest();
  std::optional<std::int64_t> WholeNumber(QLineEdit& field, std::int64_t least, std::int64_t most,
                                          const QString& name);
  std::optional<std::vector<double>> ComparedValues(Setting compared);
  void Refuse(QWidget& field, const QString& message);
  // Makes the window at least as tall as the caption's wrapped lines need.
  void KeepCaptionInView();
  // Takes the runs finished so far into the progress, the charts and the figures.
  void Poll();
  void ShowCharts();
  void ShowFigures();
  void EndBatch();

  std::unique_ptr<Ui::RepeatedRunsWindow> ui_;
  std::function<std::optional<RunSettings>()> mainSettings_;
  Dialogs& dialogs_;
  std::unique_ptr<ComparedRuns> batch_;
  std::unique_ptr<RepeatedRuns> runs_;
  // The runs as the last poll saw them, grouped by value.
  RepeatedRuns::Progress progress_;
  std::vector<RunGroup> groups_;
  QElapsedTimer elapsed_;
  QElapsedTimer figuresShown_;  // since the figures' table last changed
  QTimer poll_;
};

}  // namespace evo
