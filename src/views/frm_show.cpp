#include "views/frm_show.h"

#include <QCloseEvent>
#include <algorithm>
#include <limits>

#include "common/desktop_conventions.h"
#include "common/number_caption.h"
#include "common/spoken_notice.h"
#include "common/window_look.h"
#include "common/window_setup.h"
#include "engine/numeric.h"
#include "ui_frm_show.h"

namespace evo {
namespace {

constexpr std::int32_t kPageSpan = 20;

// The first critter number asked for: any answer is taken, an answer without a number is 0,
// and one beyond 32 bits stands at the nearest end, where the page clamps take it in.
std::int32_t StartFromAnswer(const QString& answer) {
  const double value = NumericValue(answer.toStdString());
  if (const auto rounded = RoundToInt32(value)) return *rounded;
  return value < 0 ? std::numeric_limits<std::int32_t>::min()
                   : std::numeric_limits<std::int32_t>::max();
}

}  // namespace

FrmShow::FrmShow(const PopulationFile& file, std::int32_t populationSize, Dialogs& dialogs,
                 QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::FrmShow>()),
      file_(file),
      dialogs_(dialogs) {
  ui_->setupUi(this);
  SetUpWindow(*this);
  setAttribute(Qt::WA_DeleteOnClose);
  LetEscapePress(*ui_->Command5);
  connect(ui_->Command1, &QPushButton::clicked, this, &FrmShow::Command1_Click);
  connect(ui_->Command2, &QPushButton::clicked, this, &FrmShow::Command2_Click);
  connect(ui_->Command3, &QPushButton::clicked, this, &FrmShow::Command3_Click);
  connect(ui_->Command4, &QPushButton::clicked, this, &FrmShow::Command4_Click);
  connect(ui_->Command5, &QPushButton::clicked, this, &FrmShow::Command5_Click);
  connect(ui_->Command6, &QPushButton::clicked, this, &FrmShow::Command6_Click);
  Form_Load(populationSize);
  ui_->Command1->setFocus();
  CentreOnScreen(*this);
}

FrmShow::~FrmShow() = default;

void FrmShow::closeEvent(QCloseEvent* event) {
  QWidget::closeEvent(event);
  emit closed();
}

void FrmShow::Form_Load(std::int32_t populationSize) {
  // A size of 0 or less is an empty population: no page span can be negative.
  LngCritter = std::max(populationSize, 0);
  StrCritter.fill(' ');
  LngStart = 1;
  LngMax = std::min(LngCritter, kPageSpan);
  ListCritters(1, LngMax);
  ui_->Label1->setText(tr("range 1 to %1").arg(NumberCaption(LngMax)));
}

void FrmShow::ShowPage() {
  ui_->List1->clear();
  if (LngStart > LngCritter - LngMax) LngStart = LngCritter - LngMax;
  if (LngStart < 1) LngStart = 1;
  // A population of 20 or fewer fills its page before the span runs out: the record after its
  // last critter is no critter of it (blank, or a stale offspring), so the page stops there.
  const std::int32_t last = std::min(LngStart + LngMax, LngCritter);
  ListCritters(LngStart, last);
  ui_->Label1->setText(tr("range %1 to %2").arg(NumberCaption(LngStart), NumberCaption(last)));
  // The page turns under the button that turned it, where a screen reader hears nothing new.
  QString page = ui_->Label1->text().simplified();
  if (ui_->List1->count() > 0) page += tr(", first genome %1").arg(ui_->List1->item(0)->text());
  TellScreenReaders(*this, page);
  emit pageListed();
}

void FrmShow::ListCritters(std::int64_t first, std::int64_t last) {
  for (std::int64_t n = first; n <= last; ++n) {
    file_.ReadRecord(n, StrCritter.data());
    ui_->List1->addItem(QString::fromLatin1(StrCritter.data(), kGenes));
  }
}

void FrmShow::Command1_Click() {
  LngStart = 1;
  ShowPage();
}

void FrmShow::Command2_Click() {
  LngStart = LngStart - kPageSpan;
  ShowPage();
}

void FrmShow::Command3_Click() {
  LngStart = LngStart + kPageSpan;
  ShowPage();
}

void FrmShow::Command4_Click() {
  LngStart = LngCritter - LngMax;
  ShowPage();
}

void FrmShow::Command5_Click() {
  close();
}

void FrmShow::Command6_Click() {
  LngStart = StartFromAnswer(dialogs_.Input(tr("What value shall we start with?")));
  ShowPage();
}

}  // namespace evo
