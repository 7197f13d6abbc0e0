#include "views/brief_note.h"

#include <QLabel>

#include "common/spoken_notice.h"

namespace evo {
namespace {

// Long enough to read a note of a few words twice.
constexpr int kShownMs = 5000;

}  // namespace

BriefNote::BriefNote(QLabel& label) : QObject(&label), label_(label) {
  label_.hide();
  shown_.setSingleShot(true);
  connect(&shown_, &QTimer::timeout, &label_, &QLabel::hide);
}

void BriefNote::Show(const QString& note) {
  label_.setText(note + ".");
  label_.show();
  shown_.start(kShownMs);
  TellScreenReaders(*label_.window(), note);
}

}  // namespace evo
