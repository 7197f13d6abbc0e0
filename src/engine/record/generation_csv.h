// The record of a population's generations as comma-separated values (RFC 4180), for a
// spreadsheet or a script.
#pragma once

#include <string>

#include "engine/record/generation_record.h"

namespace evo {

// A first row naming the columns, then one row per row of the record, oldest first, each line
// ended by CR LF. Numbers take '.' as the decimal point whatever the locale; the average has the
// summary window's 15 significant digits. The last column tells how far the record is thinned:
// 1 while every generation is kept, n when only every nth is.
std::string GenerationCsv(const GenerationRecord& record);

}  // namespace evo
