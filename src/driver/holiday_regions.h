#pragma once
// `orvendale --holiday-regions`: the region codes that [Contents] Holidays accepts.

#include <cstdio>

namespace orvendale {

// The command line option that asks for the list.
inline constexpr const char* kHolidayRegionsOption = "--holiday-regions";

// Writes every region code of the region library with its name, "code<TAB>name" a line,
// sorted by code, to `out`, and returns 0. When the region plugin is missing, says so on
// `errors` and returns 1.
int PrintHolidayRegions(std::FILE* out, std::FILE* errors);

}  // namespace orvendale
