#include "views/charts/batch_words.h"

#include <QCoreApplication>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "engine/numeric.h"

namespace evo {
namespace {

// The texts of this unit, in the translation context that lupdate reads them in.
struct BatchWords {
  Q_DECLARE_TR_FUNCTIONS(evo::BatchWords)
};

QString Switch(bool on) {
  return on ? BatchWords::tr("ON") : BatchWords::tr("OFF");
}

}  // namespace

QString SettingName(Setting setting) {
  switch (setting) {
    case Setting::PopulationSize:
      return BatchWords::tr("population size");
    case Setting::GoodMutationProbability:
      return BatchWords::tr("good mutation probability");
    case Setting::MutationsPerCycle:
      return BatchWords::tr("mutations per cycle");
    case Setting::Generations:
      return BatchWords::tr("generations");
    case Setting::StartingGeneValue:
      return BatchWords::tr("starting gene value");
  }
  return {};
}

QString ValueText(double value) {
  return QString::fromStdString(NumberText(value == 0 ? 0.0 : value)).trimmed();
}

QString ValueText(float value) {
  std::array<char, 32> shortest{};
  std::to_chars(shortest.data(), shortest.data() + shortest.size(), value);
  return ValueText(std::strtod(shortest.data(), nullptr));
}

QString RunsText(std::int64_t runs) {
  return (runs == 1 ? BatchWords::tr("%1 run") : BatchWords::tr("%1 runs")).arg(runs);
}

QString RunFigure(double value) {
  return QString::number(value, 'f', value == std::floor(value) ? 0 : 1);
}

QString GroupName(const BatchRequest& request, const RunGroup& group) {
  if (!request.compared || !group.value) return {};
  return SettingName(*request.compared) + " " + ValueText(*group.value);
}

QStringList BatchCaption(const BatchRequest& request) {
  const RunSettings& base = request.base;
  const auto unless = [&request](Setting setting) { return request.compared != setting; };
  QStringList settings;
  if (unless(Setting::PopulationSize)) {
    settings << BatchWords::tr("population size %1").arg(base.populationSize);
  }
  if (unless(Setting::StartingGeneValue)) {
    settings << BatchWords::tr("starting gene value %1").arg(base.startingGeneValue);
  }
  if (unless(Setting::GoodMutationProbability)) {
    settings << BatchWords::tr("good mutation probability %1 (bad %2)")
                    .arg(ValueText(base.goodMutationProbability),
                         ValueText(1.0f - base.goodMutationProbability));
  }
  if (unless(Setting::MutationsPerCycle)) {
    settings << BatchWords::tr("%1 mutations per cycle").arg(base.mutationsPerCycle);
  }
  settings << BatchWords::tr("sexual exchange %1, auto mutation %2")
                  .arg(Switch(base.options.sexualExchange), Switch(base.options.autoMutation));
  QString first = settings.join(", ") + ".";
  first[0] = first[0].toUpper();
  const QString runs = request.compared
                           ? BatchWords::tr("%1 of each value").arg(RunsText(request.runsPerValue))
                           : RunsText(request.runsPerValue);
  QString second = BatchWords::tr("%1 from seed %2, each to a detected genome or to generation %3.")
                       .arg(runs)
                       .arg(request.seed)
                       .arg(request.generationLimit);
  if (request.compared) {
    QStringList values;
    for (const double value : request.values) values << ValueText(value);
    second =
        BatchWords::tr("Compared: %1 %2. ").arg(SettingName(*request.compared), values.join(", ")) +
        second;
  }
  return {first, second};
}

std::vector<SettingRow> BatchSettingRows(const BatchRequest& request) {
  const RunSettings& base = request.base;
  std::vector<SettingRow> rows;
  for (const Setting setting : {Setting::PopulationSize, Setting::GoodMutationProbability,
                                Setting::MutationsPerCycle, Setting::StartingGeneValue}) {
    if (request.compared == setting) {
      QStringList values;
      for (const double value : request.values) values << ValueText(value);
      rows.push_back({SettingName(setting), BatchWords::tr("compared: %1").arg(values.join(", "))});
    } else if (setting == Setting::GoodMutationProbability) {
      rows.push_back({SettingName(setting), ValueText(base.goodMutationProbability)});
    } else {
      rows.push_back({SettingName(setting), QString::number(ValueOf(base, setting))});
    }
  }
  rows.push_back({BatchWords::tr("sexual exchange"), Switch(base.options.sexualExchange)});
  rows.push_back({BatchWords::tr("auto mutation"), Switch(base.options.autoMutation)});
  rows.push_back({BatchWords::tr("runs of each value"), QString::number(request.runsPerValue)});
  rows.push_back({BatchWords::tr("generation limit"), QString::number(request.generationLimit)});
  rows.push_back({BatchWords::tr("seed"), QString::number(request.seed)});
  return rows;
}

QString BatchEndSentence(BatchEnd end, std::int64_t finished, std::int64_t planned,
                         double seconds) {
  switch (end) {
    case BatchEnd::Whole:
      break;
    case BatchEnd::Cancelled:
      return BatchWords::tr("Cancelled: %1 of %2 finished.").arg(finished).arg(RunsText(planned));
    case BatchEnd::Failed:
      return BatchWords::tr("Stopped: %1 of %2 finished.").arg(finished).arg(RunsText(planned));
  }
  return BatchWords::tr("%1 in %2 s.").arg(RunsText(finished)).arg(seconds, 0, 'f', 1);
}

QString MediansSentence(const BatchRequest& request, const std::vector<RunGroup>& groups) {
  QStringList medians;
  for (const RunGroup& group : groups) {
    QString median = group.tally.ended.runs > 0 ? RunFigure(group.tally.ended.median)
                                                : BatchWords::tr("none within the limit");
    if (request.compared && group.value)
      median += BatchWords::tr(" for %1").arg(ValueText(*group.value));
    medians << median;
  }
  return BatchWords::tr("Median generations to the end: %1.").arg(medians.join(", "));
}

}  // namespace evo
