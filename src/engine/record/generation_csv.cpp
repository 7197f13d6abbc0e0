#include "engine/record/generation_csv.h"

#include <array>
#include <charconv>
#include <string_view>

namespace evo {
namespace {

// No name and no value holds a comma, a quote or a line break, so no field needs quotes.
constexpr char kHeader[] =
    "generation,event,population size,good mutation probability,mutations per cycle,"
    "sexual exchange,auto mutation,starting gene value,stop "
    "reason,zeroes,ones,twos,threes,fours,fives,sixes,sevens,eights,"
    "nines,average gene,kept every nth generation\r\n";

const char* EventName(RowEvent event) {
  switch (event) {
    case RowEvent::Created:
      return "created";
    case RowEvent::Generation:
      return "generation";
    case RowEvent::Mutations:
      return "mutations";
  }
  return "";
}

const char* StopReasonText(StopReason reason) {
  switch (reason) {
    case StopReason::None:
      return "";
    case StopReason::PerfectGenome:
      return "perfect genome detected";
    case StopReason::AllBadGenome:
      return "all bad genome detected";
    case StopReason::HaltedByUser:
      return "halted by the user";
  }
  return "";
}

const char* Switch(bool on) {
  return on ? "ON" : "OFF";
}

void AppendField(std::string& line, std::string_view text) {
  line += text;
  line += ',';
}

// std::to_chars writes the C locale's '.' whatever locale the program runs in.
template <typename... Format>
void AppendNumber(std::string& line, auto value, Format... format) {
  std::array<char, 64> text;
  const auto end = std::to_chars(text.data(), text.data() + text.size(), value, format...).ptr;
  AppendField(line, std::string_view(text.data(), static_cast<std::size_t>(end - text.data())));
}

void AppendRow(std::string& csv, const GenerationRow& row, std::int64_t spacing) {
  AppendNumber(csv, row.generation);
  AppendField(csv, EventName(row.event));
  const RunSettings& settings = row.settings;
  AppendNumber(csv, settings.populationSize);
  // The shortest text that reads back as the single-precision value: .1 gives 0.1.
  AppendNumber(csv, settings.goodMutationProbability);
  AppendNumber(csv, settings.mutationsPerCycle);
  AppendField(csv, Switch(settings.sexualExchange));
  AppendField(csv, Switch(settings.autoMutation));
  AppendNumber(csv, settings.startingGeneValue);
  AppendField(csv, StopReasonText(row.stop));
  for (const double count : row.figures.counts) {
    AppendNumber(csv, count, std::chars_format::fixed, 0);
  }
  AppendNumber(csv, row.figures.average, std::chars_format::general, 15);
  AppendNumber(csv, spacing);
  csv.back() = '\r';  // the last field's comma
  csv += '\n';
}

}  // namespace

std::string GenerationCsv(const GenerationRecord& record) {
  std::string csv = kHeader;
  for (const GenerationRow& row : record.Rows()) AppendRow(csv, row, record.GenerationSpacing());
  return csv;
}

}  // namespace evo
