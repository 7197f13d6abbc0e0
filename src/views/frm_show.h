// The gene display window "Display of Genes": the genome strings of the population, a page at
// a time.
#pragma once

#include <QWidget>
#include <cstdint>
#include <memory>

#include "common/dialogs.h"
#include "engine/population_file.h"

namespace Ui {
class FrmShow;
}

namespace evo {

class FrmShow : public QWidget {
  Q_OBJECT

 public:
  // Lists the first page of a population of populationSize critters held in file. The window
  // deletes itself when it closes, by Quit or by its title bar, and then emits closed().
  FrmShow(const PopulationFile& file, std::int32_t populationSize, Dialogs& dialogs,
          QWidget* parent = nullptr);
  ~FrmShow() override;

 signals:
  void closed();

 private:
  std::unique_ptr<Ui::FrmShow> ui_;
};

}  // namespace evo
