// The summary window "Summary Page": how many genes of each value the population holds, and the
// average gene.
#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>

#include "engine/file/population_file.h"
#include "engine/record/average_gene_history.h"
#include "engine/record/gene_summary.h"
#include "engine/record/generation_record.h"

class QCloseEvent;

namespace Ui {
class FrmSummary;
}

namespace evo {

class Dialogs;

class FrmSummary : public QWidget {
  Q_OBJECT

 public:
  // Shows itself, then counts the first 10 * populationSize genes of file and charts the history
  // of the average gene as it stands; Done, which has the focus, describes the figures to screen
  // readers. Ctrl+C copies the record of the generations as it stands, and so does each chart's
  // context menu, which also saves it or the chart's picture through dialogs; a copy is told in a
  // brief note. The window deletes itself when it closes, by Done or by its title bar, and then
  // emits closed().
  FrmSummary(const PopulationFile& file, std::int32_t populationSize,
             const AverageGeneHistory& history, const GenerationRecord& record, Dialogs& dialogs,
             QWidget* parent = nullptr);
  ~FrmSummary() override;

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load(const PopulationFile& file, std::int32_t populationSize);
  void CmdDone_Click();

  // What the window shows and hands on, taken once: the figures it counted, and the history
  // and the record as they stood when it opened.
  struct Snapshot {
    GeneSummary figures;
    AverageGeneHistory history;
    GenerationRecord record;
  };

  std::unique_ptr<Ui::FrmSummary> ui_;
  Snapshot snapshot_;
};

}  // namespace evo
