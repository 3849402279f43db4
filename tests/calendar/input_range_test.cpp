// Every 16-bit month and every 16-bit year through the calendar functions. Under the
// sanitizers this proves that no input reads outside the tables or overflows; the
// checks below prove that out-of-range input gets the documented answers.

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "calendar/holidays.h"
#include "calendar/packed_date.h"

namespace orvendale {
namespace {

constexpr int kMin16 = std::numeric_limits<std::int16_t>::min();
constexpr int kMax16 = std::numeric_limits<std::int16_t>::max();

// Days 0..32 cover every day of every month and both ends; the extremes catch overflow.
constexpr int kDays[] = {kMin16, -7, -1, 0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
                         14,     15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30,
                         31,     32, 100, kMax16};

// Checks one (month, year) against every sample day; returns the number of wrong answers.
int CheckMonth(int month, int year) {
  const auto m = static_cast<std::int16_t>(month);
  const auto y = static_cast<std::int16_t>(year);
  const bool inCalendar = month >= 1 && month <= 12 && year >= kFirstYear && year <= kLastYear;
  const int length = DaysInMonth(m, y);
  int wrong = 0;
  if (inCalendar ? (length < 28 || length > 31) : length != 0) ++wrong;
  for (int day : kDays) {
    const auto d = static_cast<std::int16_t>(day);
    const int weekday = WeekdayOf(m, d, y);
    const bool realDay = inCalendar && day >= 1 && day <= length;
    if (weekday < 0 || weekday > 6 || (!realDay && weekday != 0)) ++wrong;
    const int holiday = IsHoliday(m, d, y);
    if (holiday != 0 && holiday != 1) ++wrong;
    if (weekday == 0 && holiday != 1) ++wrong;  // Sundays and non-days alike
    const int occurrence = WeekdayOccurrence(m, d, y);
    if ((occurrence - weekday) % 7 != 0) ++wrong;
  }
  return wrong;
}

TEST(InputRange, EveryMonthValue) {
  const int years[] = {kMin16, -1, 0, 1903, 1904, 1979, 1980, 2000, 2031, 2032, kMax16};
  int wrong = 0;
  for (int month = kMin16; month <= kMax16; ++month) {
    for (int year : years) wrong += CheckMonth(month, year);
  }
  EXPECT_EQ(wrong, 0);
}

TEST(InputRange, EveryYearValue) {
  const int months[] = {kMin16, -1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 15, 16, kMax16};
  int wrong = 0;
  for (int year = kMin16; year <= kMax16; ++year) {
    for (int month : months) wrong += CheckMonth(month, year);
    // The equinox formula is defined for every year, and stays small.
    const int vernal = VernalEquinoxDay(static_cast<std::int16_t>(year));
    const int autumnal = AutumnalEquinoxDay(static_cast<std::int16_t>(year));
    if (vernal < -9000 || vernal > 9000 || autumnal - vernal < 1 || autumnal - vernal > 3) ++wrong;
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace orvendale
