// The summary window "Summary Page": how many genes of each value the population holds, and the
// average gene.
#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>

#include "engine/average_gene_history.h"
#include "engine/population_file.h"

class QCloseEvent;

namespace Ui {
class FrmSummary;
}

namespace evo {

class FrmSummary : public QWidget {
  Q_OBJECT

 public:
  // Shows itself, then counts the first 10 * populationSize genes of file and charts the history
  // of the average gene as it stands. The window deletes itself when it closes, by Done or by its
  // title bar, and then emits closed().
  FrmSummary(const PopulationFile& file, std::int32_t populationSize,
             const AverageGeneHistory& history, QWidget* parent = nullptr);
  ~FrmSummary() override;

 signals:
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load(const PopulationFile& file, std::int32_t populationSize);
  void CmdDone_Click();

  std::unique_ptr<Ui::FrmSummary> ui_;
};

}  // namespace evo
