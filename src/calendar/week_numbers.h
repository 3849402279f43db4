#pragma once
// Week numbers of the days of the calendar, by day number.
//
// A grid row around the ends of the calendar stands for days before 1904-01-01 or after
// 2031-12-31, so the day numbers taken here are signed: -1 is 1903-12-31. Such days have
// no week number of their own.

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
// 2008-12-29 in week 1 of 2009. 0 when that Thursday lies outside 1904..2031.
std::int16_t IsoWeekNumber(std::int32_t n);

// US week number, 1..54, of day `n` counted in its own year: weeks run Sunday to
// Saturday and week 1 is the one that holds January 1, so the days of one week can
// carry two numbers across a year's end (the last of December and 1 of January). A
// leap year that starts on a Saturday ends in week 54. 0 when `n` is outside 0..46751.
std::int16_t UsWeekNumber(std::int32_t n);

}  // namespace orvendale
