#include "common/messages.h"

#include <QCoreApplication>
#include <system_error>

#include "common/number_caption.h"
#include "engine/settings/setting_ranges.h"

namespace evo {
namespace {

// The texts of this unit, in the translation context that lupdate reads them in.
struct Messages {
  Q_DECLARE_TR_FUNCTIONS(evo::Messages)
};

QString Path(const std::string& path) {
  return QString::fromStdString(path);
}

QString SystemWords(int error) {
  return QString::fromStdString(std::system_category().message(error));
}

QString UnreadableSentence(Setting setting) {
  switch (setting) {
    case Setting::PopulationSize:
      return Messages::tr(
          "Population size must round to a whole number from -2147483648 to 1073741823.");
    case Setting::MutationsPerCycle:
      return Messages::tr(
          "Absolute number mutations per cycle must round to a whole number from "
          "-2147483648 to 2147483647.");
    case Setting::GoodMutationProbability:
      return Messages::tr(
          "Good Mutation Probability must be a number from -3.40282346638529E+38 to "
          "3.40282346638529E+38.");
    case Setting::Generations:
      return Messages::tr(
          "Number of Generations to run must round to a whole number from -32768 to 32767.");
    case Setting::StartingGeneValue:
      return Messages::tr(
          "Starting Gene Value must begin with a digit from 1 to 8: type a value from 1 to "
          "8.");
  }
  return {};
}

QString ActionWords(FileAction action) {
  switch (action) {
    case FileAction::Open:
      return Messages::tr("Cannot open %1: %2");
    case FileAction::ReadSize:
      return Messages::tr("Cannot read the size of %1: %2");
    case FileAction::Lock:
      return Messages::tr("Cannot lock %1: %2");
    case FileAction::Map:
      return Messages::tr("Cannot map %1: %2");
    case FileAction::Check:
      return Messages::tr("Cannot check %1: %2");
    case FileAction::Grow:
      return Messages::tr("Cannot grow %1: %2");
  }
  return {};
}

QString KindWords(FileKind kind) {
  switch (kind) {
    case FileKind::SymbolicLink:
      return Messages::tr("a symbolic link");
    case FileKind::Directory:
      return Messages::tr("a directory");
    case FileKind::NamedPipe:
      return Messages::tr("a named pipe");
    case FileKind::Device:
      return Messages::tr("a device");
    case FileKind::Socket:
      return Messages::tr("a socket");
    case FileKind::Other:
      break;
  }
  return Messages::tr("not a regular file");
}

QString LossWords(FileLoss loss) {
  switch (loss) {
    case FileLoss::Shortened:
      return Messages::tr("was shortened by another program");
    case FileLoss::Deleted:
      return Messages::tr("was deleted or renamed by another program");
    case FileLoss::Replaced:
      return Messages::tr("was replaced by another file");
    case FileLoss::Unreadable:
      return Messages::tr(
          "could not be read or written (shortened by another program, or its disk is "
          "full)");
    case FileLoss::Changed:
      return Messages::tr("was changed by another program");
  }
  return Messages::tr("was lost");
}

// One overload for each kind of problem, for std::visit.
struct SentenceOf {
  QString operator()(const UnreadableSetting& problem) const {
    return UnreadableSentence(problem.setting);
  }
  QString operator()(const PopulationBeyondFile& problem) const {
    return Messages::tr(
               "Population size%1 is larger than the%2 critters the population file holds: create "
               "a population of that size first.")
        .arg(NumberCaption(problem.populationSize),
             NumberCaption(static_cast<double>(problem.recordsWritten)));
  }
  QString operator()(const RefusedSetting& problem) const {
    return Refusal(problem.setting, problem.value);
  }
  QString operator()(const OutOfMemory& problem) const {
    if (problem.workers == 1) {
      return Messages::tr("Not enough memory for %1 critters on 1 worker.").arg(problem.critters);
    }
    return Messages::tr("Not enough memory for %1 critters on each of %2 workers.")
        .arg(problem.critters)
        .arg(problem.workers);
  }
  QString operator()(const FileActionFailed& problem) const {
    return ActionWords(problem.action).arg(Path(problem.path), SystemWords(problem.error));
  }
  QString operator()(const NotARegularFile& problem) const {
    return Messages::tr(
               "Cannot use %1: it is %2, and the population is kept only in a regular file. Remove "
               "or rename it, then try again.")
        .arg(Path(problem.path), KindWords(problem.kind));
  }
  QString operator()(const HardLinkedFile& problem) const {
    return Messages::tr(
               "Cannot use %1: it is one of several names (hard links) of the same file, and the "
               "population is kept only in a file of its own, so that nothing else is written "
               "through it. Remove or rename it, then try again.")
        .arg(Path(problem.path));
  }
  QString operator()(const FileHeldByAnotherCopy& problem) const {
    return Messages::tr(
               "The population file %1 is in use by another running copy of this program in the "
               "same folder. Close that copy, or start this one in another folder.")
        .arg(Path(problem.path));
  }
  QString operator()(const FileNotOpen&) const {
    return Messages::tr("The population file is not open");
  }
  QString operator()(const PopulationLost& problem) const {
    return Messages::tr(
               "The population file %1 %2, so the population in it is lost. Create a population to "
               "start again.")
        .arg(Path(problem.path), LossWords(problem.loss));
  }
};

}  // namespace

QString Sentence(const Problem& problem) {
  return std::visit(SentenceOf{}, problem);
}

QString Refusal(Setting setting, double value) {
  switch (setting) {
    case Setting::PopulationSize:
      return value > AcceptedRange(setting).most ? Messages::tr("value must be a million or less")
                                                 : Messages::tr("values must be greator than 9");
    case Setting::GoodMutationProbability:
      return Messages::tr("Probabilities are only in range 0 to 1");
    case Setting::StartingGeneValue:
      return Messages::tr("values must be in range 1 to 8");
    case Setting::MutationsPerCycle:
    case Setting::Generations:
      break;
  }
  return UnreadableSentence(setting);
}

QString ViewedSizeRefusal() {
  return Messages::tr(
      "Population size must round to a whole number from -2147483648 to 2147483647.");
}

QString NoPopulationMessage() {
  return Messages::tr("No population exists");
}

QString RunInProgressMessage() {
  return Messages::tr("Generations are running: wait until the run has ended, then try again.");
}

}  // namespace evo
