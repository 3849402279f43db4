#pragma once
// The calendar kernel: days in a month, weekdays, the occurrence of a weekday within its
// month, and stepping dates by days and by months, for the years 1904 to 2031.
//
// Within those years a year is a leap year exactly when it is divisible by 4; 1900 and
// 2100 lie outside the range, so no other rule is needed. Dates given as three numbers
// are passed in the order month, day, year; weekdays are 0 = Sunday .. 6 = Saturday.
// Every function here is defined for every value of its argument types: input outside
// the range is answered with 0 or is brought into the range as each contract says, and
// nothing is ever read outside CalendarTable.

#include <array>
#include <cstdint>

#include "platform/types.h"

namespace orvendale {

inline constexpr std::int16_t kFirstYear = 1904;
inline constexpr std::int16_t kLastYear = 2031;
inline constexpr int kMonthsPerYear = 12;
inline constexpr int kDaysPerWeek = 7;

// A date in 16 bits: year - 1904 in bits 0-6, month in bits 7-10, day in bits 11-15.
// Two packed dates denote the same day exactly when they are equal; their numeric order
// is not the order of the dates. 2007-10-12 packs to 0x6567.
using PackedDate = std::uint16_t;

// Days since 1904-01-01, which is day 0; 46751 is 2031-12-31.
using DayNumber = std::uint32_t;
inline constexpr DayNumber kLastDayNumber = 46751;

inline constexpr PackedDate kPackedYearMask = 0x007F;   // bits 0-6
inline constexpr PackedDate kPackedMonthMask = 0x0780;  // bits 7-10
inline constexpr PackedDate kPackedDayMask = 0xF800;    // bits 11-15
inline constexpr int kPackedMonthShift = 7;
inline constexpr int kPackedDayShift = 11;

// The fields of a packed date: year 1904..2031, month 0..15, day 0..31.
constexpr std::int16_t PackedYear(PackedDate date) {
  return static_cast<std::int16_t>((date & kPackedYearMask) + kFirstYear);
}
constexpr std::int16_t PackedMonth(PackedDate date) {
  return static_cast<std::int16_t>((date & kPackedMonthMask) >> kPackedMonthShift);
}
constexpr std::int16_t PackedDay(PackedDate date) {
  return static_cast<std::int16_t>((date & kPackedDayMask) >> kPackedDayShift);
}

// Each writer reduces its value to the field's width (year - 1904 modulo 128, month
// modulo 16, day modulo 32) and leaves the other two fields unchanged.
constexpr PackedDate WithPackedField(PackedDate date, PackedDate mask, unsigned field) {
  return static_cast<PackedDate>((date & ~static_cast<unsigned>(mask)) | (field & mask));
}
constexpr PackedDate WithPackedYear(PackedDate date, std::uint16_t year) {
  return WithPackedField(date, kPackedYearMask, static_cast<unsigned>(year) - static_cast<unsigned>(kFirstYear));
}
constexpr PackedDate WithPackedMonth(PackedDate date, std::uint16_t month) {
  return WithPackedField(date, kPackedMonthMask, static_cast<unsigned>(month) << kPackedMonthShift);
}
constexpr PackedDate WithPackedDay(PackedDate date, std::uint16_t day) {
  return WithPackedField(date, kPackedDayMask, static_cast<unsigned>(day) << kPackedDayShift);
}

// The packed form of a date, each field reduced to its width as above.
constexpr PackedDate PackDate(std::uint16_t month, std::uint16_t day, std::uint16_t year) {
  return WithPackedDay(WithPackedMonth(WithPackedYear(0, year), month), day);
}

// The rows of CalendarTable, each indexed by month - 1 (January first).
enum CalendarRow : int {
  kDaysInMonthCommon = 0,
  kDaysInMonthLeap = 1,
  kDaysBeforeMonthCommon = 2,
  kDaysBeforeMonthLeap = 3,
  kWeekdayOffsetCommon = 4,  // row 2 modulo 7
  kWeekdayOffsetLeap = 5,    // row 3 modulo 7
};

inline constexpr std::array<std::array<std::int16_t, kMonthsPerYear>, 6> CalendarTable = {{
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
    {0, 3, 3, 6, 1, 4, 6, 2, 5, 0, 3, 5},
    {0, 3, 4, 0, 2, 5, 0, 3, 6, 1, 4, 6},
}};

// Days in the month: 28..31; 0 when the month is outside 1..12 or the year outside
// 1904..2031.
std::int16_t DaysInMonth(std::int16_t month, std::int16_t year);

// Weekday of the date, 0 = Sunday .. 6 = Saturday; 0 also for an invalid date (year
// outside 1904..2031, month outside 1..12, day outside 1..DaysInMonth).
std::int16_t WeekdayOf(std::int16_t month, std::int16_t day, std::int16_t year);

// WeekdayOf + 7 x ((day - 1) div 7), division truncating toward zero: the second Monday
// of a month gives 8, the third 15. No range check of its own: an invalid date counts as
// weekday 0. The result is cut to 16 bits (it always fits for a day in -32768..32767).
std::int16_t WeekdayOccurrence(std::int16_t month, std::int16_t day, std::int16_t year);

// The day number of a packed date, 0..46751. For a date that is not a real day the
// result is still in 0..46751 and no table entry outside the month's row is read: a
// month field of 0 reads as January and 13..15 as December, a day beyond the month
// counts on into the next, and day 0 of January 1904 gives 0.
DayNumber PackedDateToDayNumber(PackedDate date);

// Writes the packed date of day number `n` into `date`, all three fields. A number
// above 46751 is taken as 46751 (2031-12-31). Nothing happens when `date` is null.
void DayNumberToPackedDate(DayNumber n, PackedDate* date);

// Moves `date` by `delta` days, saturating at 1904-01-01 and 2031-12-31; it never wraps.
// Nothing happens for a null date or delta 0. A date that is not a real day is first
// read as PackedDateToDayNumber reads it.
void AddDays(PackedDate* date, std::int32_t delta);

// Moves the record's year and month by `count` months, one month at a time as a wall
// calendar turns (after December comes January of the next year), and then cuts the
// day down to the length of the new month. Computed at once, never by looping: for a
// month in 1..12 the month index (month - 1 + count) is brought into 0..11 by whole
// years and the year changes by the number of years crossed. The 16-bit fields wrap
// modulo 2^16 as single steps would make them: a month outside 1..12 (which neither the
// clock nor this function produces) moves exactly as the month-by-month walk moves it,
// and the year wraps rather than overflows. When the new month or year is outside the
// calendar the day becomes 0. The day-of-week and time fields are untouched. Nothing
// happens for a null record.
void AddMonths(DateRecord* record, std::int16_t count);

}  // namespace orvendale
