// The fields of a line of comma-separated values (RFC 4180), for the program's figures: none of
// its names or values holds a comma, a quote or a line break, so no field needs quotes.
#pragma once

#include <array>
#include <charconv>
#include <string>
#include <string_view>

#include "engine/record/generation_record.h"

namespace evo::csv {

// A field and the comma after it.
inline void AppendText(std::string& line, std::string_view text) {
  line += text;
  line += ',';
}

// A number and the comma after it, with '.' as the decimal point whatever the locale
// (std::to_chars writes the C locale's), in the format given, or else the shortest text that
// reads back as the value: .1 in single precision gives 0.1.
template <typename... Format>
void AppendNumber(std::string& line, auto value, Format... format) {
  std::array<char, 64> text;
  const auto end = std::to_chars(text.data(), text.data() + text.size(), value, format...).ptr;
  AppendText(line, std::string_view(text.data(), static_cast<std::size_t>(end - text.data())));
}

// A switch as the window shows it.
inline const char* Switch(bool on) {
  return on ? "ON" : "OFF";
}

// The settings' columns that every CSV of the program shares, from population size to starting
// gene value.
inline void AppendSettings(std::string& line, const RunSettings& settings) {
  AppendNumber(line, settings.populationSize);
  AppendNumber(line, settings.goodMutationProbability);
  AppendNumber(line, settings.mutationsPerCycle);
  AppendText(line, Switch(settings.options.sexualExchange));
  AppendText(line, Switch(settings.options.autoMutation));
  AppendNumber(line, settings.startingGeneValue);
}

// Ends the line: the comma after its last field becomes CR LF.
inline void EndLine(std::string& line) {
  line.back() = '\r';
  line += '\n';
}

}  // namespace evo::csv
