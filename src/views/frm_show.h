// The gene display window "Display of Genes": the genome strings of the population, a page at
// a time.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "common/dialogs.h"
#include "engine/file/population_file.h"

class QCloseEvent;

namespace Ui {
class FrmShow;
}

namespace evo {

class FrmShow : public QWidget {
  Q_OBJECT

 public:
  // Lists the first page of a population of populationSize critters held in file. The window
  // deletes itself when it closes, by Quit or by its title bar, and then emits closed(). Every
  // later page emits pageListed() once its records are read.
  FrmShow(const PopulationFile& file, std::int32_t populationSize, Dialogs& dialogs,
          QWidget* parent = nullptr);
  ~FrmShow() override;

 signals:
  void closed();
  void pageListed();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Form_Load(std::int32_t populationSize);
  void ShowPage();
  void ListCritters(std::int64_t first, std::int64_t last);
  void Command1_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();

  std::unique_ptr<Ui::FrmShow> ui_;
  const PopulationFile& file_;
  Dialogs& dialogs_;

  std::int32_t LngMax = 0;    // page span: 20, or fewer for a smaller population
  std::int32_t LngStart = 1;  // number of the first critter listed
  std::array<char, kGenes> StrCritter{};
  std::int32_t LngCritter = 0;  // population size as this window sees it
};

}  // namespace evo
