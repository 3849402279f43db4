#include "calendar/week_numbers.h"

namespace orvendale {
namespace {

// 1904-01-01, day 0, was a Friday.
constexpr std::int32_t kWeekdayOfDayZero = 5;
constexpr std::int32_t kThursday = 4;
constexpr std::int32_t kMonday = 1;

constexpr std::int32_t kLast = static_cast<std::int32_t>(kLastDayNumber);
constexpr std::int32_t kDaysIn1903 = 365;
constexpr std::int32_t kDaysIn2032 = 366;

bool IsDayNumberInRange(std::int32_t n) { return n >= 0 && n <= kLast; }

// DayOfYear, also for the year before the calendar and the year after it, whose days a
// grid row at either end may stand for.
bool DayOfYearAroundTheCalendar(std::int32_t n, std::int16_t* dayOfYear, std::int16_t* year) {
  if (n < 0 && n >= -kDaysIn1903) {
    *dayOfYear = static_cast<std::int16_t>(kDaysIn1903 + 1 + n);  // [1, 365]
    *year = 1903;
    return true;
  }
  if (n > kLast && n <= kLast + kDaysIn2032) {
    *dayOfYear = static_cast<std::int16_t>(n - kLast);  // [1, 366]
    *year = 2032;
    return true;
  }
  return DayOfYear(n, dayOfYear, year);
}

}  // namespace

std::int16_t WeekdayOfDayNumber(std::int32_t n) {
  // n % 7 is in [-6, 6] and keeps the sum in [-1, 17]: no overflow for any n.
  const std::int32_t weekday = (n % kDaysPerWeek + kWeekdayOfDayZero + kDaysPerWeek) % kDaysPerWeek;
  return static_cast<std::int16_t>(weekday);
}

bool DayOfYear(std::int32_t n, std::int16_t* dayOfYear, std::int16_t* year) {
  if (!IsDayNumberInRange(n)) return false;
  PackedDate date = 0;
  DayNumberToPackedDate(static_cast<DayNumber>(n), &date);
  const std::int16_t y = PackedYear(date);
  const int row = y % 4 == 0 ? kDaysBeforeMonthLeap : kDaysBeforeMonthCommon;
  // [1, 335 + 31]
  *dayOfYear = static_cast<std::int16_t>(CalendarTable[row][PackedMonth(date) - 1] + PackedDay(date));
  *year = y;
  return true;
}

std::int16_t IsoWeekNumber(std::int32_t n) {
  if (n < -kDaysPerWeek || n > static_cast<std::int32_t>(kLastDayNumber) + kDaysPerWeek) return 0;
  // Days since the Monday of the week, [0, 6]; the week's Thursday is 3 days after it.
  const std::int32_t sinceMonday = (WeekdayOfDayNumber(n) - kMonday + kDaysPerWeek) % kDaysPerWeek;
  const std::int32_t thursday = n - sinceMonday + (kThursday - kMonday);
  std::int16_t dayOfYear = 0;
  std::int16_t year = 0;
  if (!DayOfYearAroundTheCalendar(thursday, &dayOfYear, &year)) return 0;
  // The Thursdays of a year fall on its days 1-7, 8-14, ...: one for each week.
  return static_cast<std::int16_t>((dayOfYear - 1) / kDaysPerWeek + 1);
}

std::int16_t UsRowWeekNumber(std::int32_t rowStart) {
  // [-6, kLast]: the rows that show a day of the calendar.
  if (rowStart < -(kDaysPerWeek - 1) || rowStart > kLast) return 0;
  const std::int32_t rowEnd = rowStart + kDaysPerWeek - 1;
  // The last January 1 on or before the row's end: 2032-01-01 for a row that reaches it.
  std::int32_t january1 = kLast + 1;
  if (rowEnd <= kLast) {
    std::int16_t dayOfYear = 0;
    std::int16_t year = 0;
    DayOfYear(rowEnd, &dayOfYear, &year);
    january1 = rowEnd - (dayOfYear - 1);
  }
  // The start of the row that holds that January 1, in the same columns as this row.
  const std::int32_t column =
      (WeekdayOfDayNumber(january1) - WeekdayOfDayNumber(rowStart) + kDaysPerWeek) % kDaysPerWeek;  // [0, 6]
  const std::int32_t weekOneStart = january1 - column;
  return static_cast<std::int16_t>((rowStart - weekOneStart) / kDaysPerWeek + 1);  // [1, 53]
}

}  // namespace orvendale
