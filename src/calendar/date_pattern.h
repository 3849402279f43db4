#pragma once
// Date patterns: the text of a date as a pattern of letters describes it, for example
// yyyy/MM/dd for 2007/10/12.
//
// Runs of d, M, y and g stand for parts of the date; every other character stands for
// itself. There is no quoting: a d, M, y or g always starts a run, also inside a word.
//
//   d  day "%d"      dd  "%02d"   ddd  short weekday name   dddd or more  long weekday name
//   M  month "%d"    MM  "%02d"   MMM  short month name     MMMM or more  long month name
//   y, yy  year modulo 100 "%02d" yyy or more  the full year "%d"
//   g  any run writes nothing
//
// Letters match case-sensitively ("D", "m", "Y", "G" are copied). Names come from
// textSettings; text written for a run is not scanned again. Where textSettings holds
// month names for use beside a day number, a pattern that writes the day of the month
// (a run of one or two d) takes its month names from those.

#include <cstdint>
#include <span>

#include "platform/types.h"

namespace orvendale {

// Room for 63 characters and the terminator.
inline constexpr int kPatternCapacity = 64;

// Expands the terminated `pattern` (null reads as empty) for `date` into `out`. The
// output always ends with a terminator; an empty pattern gives empty text. Text that
// would run past 63 characters is cut there, never in the middle of a surrogate pair.
// Writes at most kPatternCapacity units.
//
// Only the year, month and day of `date` are read; the weekday is computed. A date that
// is not a real day still expands: its numbers print as they stand and the weekday names
// are Sunday's. A month outside 1..12 has no name: its name runs write nothing.
void ExpandDatePattern(const char16_t* pattern, const DateRecord& date,
                       std::span<char16_t, kPatternCapacity> out);

}  // namespace orvendale
