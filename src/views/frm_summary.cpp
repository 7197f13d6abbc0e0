#include "views/frm_summary.h"

#include <QCloseEvent>
#include <QShortcut>
#include <QStringList>
#include <array>

#include "common/desktop_conventions.h"
#include "common/number_caption.h"
#include "common/window_look.h"
#include "common/window_setup.h"
#include "engine/record/generation_csv.h"
#include "ui_frm_summary.h"
#include "views/brief_note.h"
#include "views/charts/chart_data_out.h"
#include "views/charts/chart_menu.h"
#include "views/charts/chart_paper.h"

namespace evo {

FrmSummary::FrmSummary(const PopulationFile& file, std::int32_t populationSize,
                       const AverageGeneHistory& history, const GenerationRecord& record,
                       Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::FrmSummary>()),
      snapshot_{{}, history, record} {
  ui_->setupUi(this);
  SetUpWindow(*this);
  setAttribute(Qt::WA_DeleteOnClose);
  LetEscapePress(*ui_->CmdDone);
  connect(ui_->CmdDone, &QPushButton::clicked, this, &FrmSummary::CmdDone_Click);
  auto* note = new BriefNote(*ui_->LblNote);
  const auto csv = [this] { return QByteArray::fromStdString(GenerationCsv(snapshot_.record)); };
  const auto caption = [this] { return SettingsCaption(snapshot_.record); };
  const auto settings = [this] { return SettingRows(snapshot_.record); };
  for (auto* menu :
       {new ChartMenu(*ui_->GeneCountChart, {"gene-counts", csv, caption, settings}, dialogs),
        new ChartMenu(*ui_->AverageGeneChart, {"average-gene", csv, caption, settings}, dialogs)}) {
    connect(menu, &ChartMenu::copied, note, &BriefNote::Show);
  }
  // The average, then the charts, follow Done, which stays first and holds the focus when the
  // window opens.
  ui_->LblAverage->setFocusPolicy(Qt::TabFocus);
  setTabOrder(ui_->CmdDone, ui_->LblAverage);
  setTabOrder(ui_->LblAverage, ui_->GeneCountChart);
  setTabOrder(ui_->GeneCountChart, ui_->AverageGeneChart);
  connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this,
          [note, csv] { note->Show(CopyCsv(csv())); });
  ui_->CmdDone->setFocus();
  CentreOnScreen(*this);
  ui_->AverageGeneChart->SetHistory(snapshot_.history);
  Form_Load(file, populationSize);
}

FrmSummary::~FrmSummary() = default;

void FrmSummary::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit closed();
}

// The window stands on the screen before the count starts; the figures follow when it ends.
void FrmSummary::Form_Load(const PopulationFile& file, std::int32_t populationSize) {
  show();
  snapshot_.figures = SummariseGenes(file, populationSize);
  const GeneSummary& summary = snapshot_.figures;
  const std::array<QLabel*, 10> countLabels = {
      ui_->LblZero, ui_->LblOne, ui_->LblTwo,   ui_->LblThree, ui_->LblFour,
      ui_->LblFive, ui_->LblSix, ui_->LblSeven, ui_->LblEight, ui_->LblNine};
  for (std::size_t d = 0; d < countLabels.size(); ++d) {
    countLabels[d]->setText(NumberCaption(summary.counts[d]));
  }
  ui_->LblAverage->setText(NumberCaption(summary.average));
  ui_->GeneCountChart->SetCounts(summary.counts);
  // Heard with Done, which has the focus as the window opens.
  QStringList counts;
  for (const QLabel* count : countLabels) counts << FigureVoice(*count);
  ui_->CmdDone->setAccessibleDescription(FigureVoice(*ui_->LblAverage) + ". " + counts.join(", ") +
                                         ".");
}

void FrmSummary::CmdDone_Click() {
  close();
}

}  // namespace evo
