#include "engine/record/generation_csv.h"

#include "engine/record/csv_fields.h"

namespace evo {
namespace {

constexpr char kHeader[] =
    "generation,event,population size,good mutation probability,mutations per cycle,"
    "sexual exchange,auto mutation,starting gene value,stop reason,"
    "zeroes,ones,twos,threes,fours,fives,sixes,sevens,eights,nines,"
    "average gene,kept every nth generation\r\n";

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

void AppendRow(std::string& text, const GenerationRow& row, std::int64_t spacing) {
  csv::AppendNumber(text, row.generation);
  csv::AppendText(text, EventName(row.event));
  csv::AppendSettings(text, row.settings);
  csv::AppendText(text, StopReasonText(row.stop));
  for (const double count : row.figures.counts) {
    csv::AppendNumber(text, count, std::chars_format::fixed, 0);
  }
  // The summary window's 15 significant digits.
  csv::AppendNumber(text, row.figures.average, std::chars_format::general, 15);
  csv::AppendNumber(text, spacing);
  csv::EndLine(text);
}

}  // namespace

std::string GenerationCsv(const GenerationRecord& record) {
  std::string text = kHeader;
  for (const GenerationRow& row : record.Rows()) AppendRow(text, row, record.GenerationSpacing());
  return text;
}

}  // namespace evo
