// The window "Repeated Runs": many runs of fresh populations of the main window's settings, on
// every core, each to a detected genome or a generation limit, with the distribution of the
// generations they took drawn as they come, for one value or for several of a compared setting.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "engine/runs/repeated_runs.h"
#include "engine/settings/read_settings.h"

class QCloseEvent;
class QLineEdit;

namespace Ui {
class RepeatedRunsWindow;
}

namespace evo {

class Dialogs;

// The main window's settings as they stand.
struct MainSettings {
  SettingTexts texts;
  Options options;
};

class RepeatedRunsWindow : public QWidget {
  Q_OBJECT

 public:
  // mainSettings gives the main window's settings when Start is pressed, or nothing when the main
  // window refused one of its fields (with its message). The seed field holds a fresh random
  // seed. The window deletes itself when it closes, which cancels the runs.
  RepeatedRunsWindow(std::function<std::optional<MainSettings>()> mainSettings, Dialogs& dialogs,
                     QWidget* parent = nullptr);
  ~RepeatedRunsWindow() override;

  bool Running() const;

 signals:
  // Every run of a batch ended, or the batch was cancelled.
  void batchEnded();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // What Start found in the fields and the main window: the plans, and what the window shows
  // of them.
  struct Batch {
    std::vector<RunPlan> plans;
    std::int64_t runsPerValue = 0;
    std::vector<QString> valueLabels;  // one per value compared; one empty label for none
    QStringList caption;
  };

  void CmdStart_Click();
  void CmdCancel_Click();
  // The batch the fields and the main window's settings ask for; nothing, after a message that
  // names the field and what it accepts, when one of them cannot be used.
  std::optional<Batch> ReadBatch();
  std::optional<std::int64_t> WholeNumber(QLineEdit& field, std::int64_t least, std::int64_t most,
                                          const QString& name);
  std::optional<std::vector<double>> ComparedValues(ComparedSetting compared);
  void Refuse(QWidget& field, const QString& message);
  // Takes the runs finished so far into the progress, the chart and the figures.
  void Poll();
  void ShowFigures(const std::vector<std::vector<RunResult>>& groups);
  void EndBatch(const std::vector<std::vector<RunResult>>& groups);
  QString MediansSentence(const std::vector<std::vector<RunResult>>& groups) const;
  // The finished runs in run order, as CSV.
  QByteArray Csv() const;

  std::unique_ptr<Ui::RepeatedRunsWindow> ui_;
  std::function<std::optional<MainSettings>()> mainSettings_;
  Dialogs& dialogs_;
  Batch batch_;
  std::unique_ptr<RepeatedRuns> runs_;
  QElapsedTimer elapsed_;
  QElapsedTimer figuresShown_;  // since the figures' table last changed
  QTimer poll_;
};

}  // namespace evo
