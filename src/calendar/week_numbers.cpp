#include "calendar/week_numbers.h"

namespace orvendale {
namespace {

// 1904-01-01, day 0, was a Friday.
constexpr std::int32_t kWeekdayOfDayZero = 5;
constexpr std::int32_t kThursday = 4;
constexpr std::int32_t kMonday = 1;

bool IsDayNumberInRange(std::int32_t n) { return n >= 0 && n <= static_cast<std::int32_t>(kLastDayNumber); }

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
  if (!DayOfYear(thursday, &dayOfYear, &year)) return 0;
  // The Thursdays of a year fall on its days 1-7, 8-14, ...: one for each week.
  return static_cast<std::int16_t>((dayOfYear - 1) / kDaysPerWeek + 1);
}

std::int16_t UsWeekNumber(std::int32_t n) {
  std::int16_t dayOfYear = 0;
  std::int16_t year = 0;
  if (!DayOfYear(n, &dayOfYear, &year)) return 0;
  // Week 1 begins on the Sunday on or before January 1: count the days from there.
  const std::int32_t january1 = n - (dayOfYear - 1);
  const std::int32_t sinceWeekStart = WeekdayOfDayNumber(january1) + dayOfYear - 1;  // [0, 371]
  return static_cast<std::int16_t>(sinceWeekStart / kDaysPerWeek + 1);
}

}  // namespace orvendale
