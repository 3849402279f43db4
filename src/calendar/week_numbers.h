#pragma once
// Week numbers of the days of the calendar, by day number.
//
// A grid row around the ends of the calendar stands for days before 1904-01-01 or after
// 2031-12-31, so the day numbers taken here are signed: -1 is 1903-12-31. Such a row still
// has a week number when it shows a day of the calendar.

#include <cstdint>

#include "calendar/packed_date.h"

namespace orvendale {

// Weekday of day number `n` (any value), 0 = Sunday .. 6 = Saturday, counting on from
// 1904-01-01, a Friday, in both directions.
std::int16_t WeekdayOfDayNumber(std::int32_t n);

// The day of the year of day number `n`, 1..366, and its year; false (and both left
// alone) when `n` is outside 0..46751.
bool DayOfYear(std::int32_t n, std::int16_t* dayOfYear, std::int16_t* year);

// ISO 8601 week number, 1..53, of the week (Monday to Sunday) that holds day `n`. A
// week belongs to the year of its Thursday: 2004-12-31 is in week 53 of 2004 and
// 2008-12-29 in week 1 of 2009. The weeks at the calendar's ends count too: 1904-01-01
// is in week 53 of 1903 and 2031-12-31 in week 1 of 2032. 0 when that Thursday lies
// outside 1903..2032.
std::int16_t IsoWeekNumber(std::int32_t n);

// US week number, 1..53, of the grid row of seven days that starts on day `rowStart`
// (whatever weekday that is: the grid's first weekday). The row that holds January 1 is
// week 1 and each later row counts one more, up to the row that holds the next
// January 1, which is week 1 again; so a row never shows 54, and the last row of a
// December that holds January 1 shows 1. 0 when none of the row's days lies in
// 0..46751.
std::int16_t UsRowWeekNumber(std::int32_t rowStart);

}  // namespace orvendale
