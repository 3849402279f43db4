#include "calendar/week_numbers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <set>

#include "support/week_reference.h"

namespace orvendale {
namespace {

using testing::DateOfDayNumber;
using testing::IsoWeekReference;

constexpr std::int32_t kLast = static_cast<std::int32_t>(kLastDayNumber);

TEST(WeekNumbers, EveryDayAgreesWithTheDefinitions) {
  using namespace std::chrono;
  for (std::int32_t n = 0; n <= kLast; ++n) {
    const sys_days date = DateOfDayNumber(n);
    ASSERT_EQ(WeekdayOfDayNumber(n), static_cast<int>(weekday{date}.c_encoding())) << n;
    std::int16_t dayOfYear = 0;
    std::int16_t year = 0;
    ASSERT_TRUE(DayOfYear(n, &dayOfYear, &year)) << n;
    const year_month_day ymd{date};
    ASSERT_EQ(year, static_cast<int>(ymd.year())) << n;
    ASSERT_EQ(dayOfYear, (date - sys_days{ymd.year() / January / 1}).count() + 1) << n;
    // The first days of 1904 belong to week 53 of 1903, the last days of 2031 to week 1
    // of 2032: their Thursdays lie outside the calendar, their numbers do not.
    ASSERT_EQ(IsoWeekNumber(n), IsoWeekReference(date)) << n;
  }
}

// Days around the calendar's ends: weekdays go on; week numbers stop past the weeks that
// share days with the calendar.
TEST(WeekNumbers, DaysOutsideTheCalendarHaveWeekdaysButNoNumbers) {
  using namespace std::chrono;
  for (std::int32_t n : {-400, -8, -7, -1, kLast + 1, kLast + 7, kLast + 400, INT32_MIN, INT32_MAX}) {
    if (n > -1000000 && n < 1000000) {
      EXPECT_EQ(WeekdayOfDayNumber(n), static_cast<int>(weekday{DateOfDayNumber(n)}.c_encoding())) << n;
    }
    EXPECT_GE(WeekdayOfDayNumber(n), 0) << n;
    EXPECT_LE(WeekdayOfDayNumber(n), 6) << n;
    std::int16_t dayOfYear = 77;
    std::int16_t year = 77;
    EXPECT_FALSE(DayOfYear(n, &dayOfYear, &year)) << n;
    EXPECT_EQ(dayOfYear, 77);
  }
  for (std::int32_t n : {-400, -12, kLast + 12, kLast + 400, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(IsoWeekNumber(n), 0) << n;
  }
  for (std::int32_t rowStart : {-400, -7, kLast + 1, kLast + 400, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(UsRowWeekNumber(rowStart), 0) << rowStart;
  }
  // 1904-01-04 is the first Monday: its week is week 1 of 1904, the days before it are in
  // week 53 of 1903 (which began on a Thursday). 2031-12-29 is a Monday whose week has
  // its Thursday in 2032.
  EXPECT_EQ(IsoWeekNumber(-1), 53);
  EXPECT_EQ(IsoWeekNumber(2), 53);
  EXPECT_EQ(IsoWeekNumber(3), 1);
  EXPECT_EQ(IsoWeekNumber(kLast - 2), 1);
  EXPECT_EQ(IsoWeekNumber(kLast + 1), 1);
  EXPECT_EQ(IsoWeekNumber(kLast - 3), 52);
  // The rows that hold 1904-01-01, or 2032-01-01 and a day of 2031, whatever weekday they
  // start on, are week 1.
  for (std::int32_t column = 0; column < 7; ++column) {
    EXPECT_EQ(UsRowWeekNumber(-column), 1) << column;
    if (column > 0) {
      EXPECT_EQ(UsRowWeekNumber(kLast + 1 - column), 1) << column;
    }
  }
}

// The US rows as a reader counts them, one row after another from the row that holds
// 1904-01-01 to the row that holds 2032-01-01, under every first weekday: a row that holds
// a January 1 is week 1, any other row one more than the row above it.
TEST(WeekNumbers, UsRowsCountFromTheRowThatHoldsJanuaryFirst) {
  using namespace std::chrono;
  for (std::int32_t firstDay = 0; firstDay < 7; ++firstDay) {
    std::int32_t rowStart = -((WeekdayOfDayNumber(0) - firstDay + 7) % 7);
    int counted = 0;
    int highest = 0;
    for (; rowStart <= kLast; rowStart += 7) {
      bool holdsJanuary1 = false;
      for (std::int32_t k = 0; k < 7; ++k) {
        const year_month_day date{DateOfDayNumber(rowStart + k)};
        holdsJanuary1 |= date.month() == January && date.day() == day{1};
      }
      counted = holdsJanuary1 ? 1 : counted + 1;
      highest = std::max(highest, counted);
      ASSERT_EQ(weekday{DateOfDayNumber(rowStart)}.c_encoding(), static_cast<unsigned>(firstDay));
      ASSERT_EQ(UsRowWeekNumber(rowStart), counted) << "first day " << firstDay << " row " << rowStart;
    }
    EXPECT_EQ(highest, 53) << firstDay;
  }
}

// The turns of the year that calendars print, as published: ISO week 53 and a week 1
// that starts in December. The US rows (Sunday first) of the same days: the first row of
// January 2021, 2026 and 2027 is week 1, and the last row of a December that holds the
// next January 1 is week 1 too, even in a leap year that starts on a Saturday.
TEST(WeekNumbers, TurnsOfTheYear) {
  using namespace std::chrono;
  const auto dayNumber = [](year_month_day date) {
    return static_cast<std::int32_t>((sys_days{date} - DateOfDayNumber(0)).count());
  };
  const auto sundayBefore = [&](year_month_day date) {
    return dayNumber(date) - static_cast<std::int32_t>(weekday{sys_days{date}}.c_encoding());
  };
  struct Case {
    year_month_day date;
    int iso;
    int us;
  };
  const Case cases[] = {
      {2004y / December / 31, 53, 1},  {2005y / January / 2, 53, 2},  {2005y / January / 3, 1, 2},
      {2008y / December / 29, 1, 1},   {2008y / December / 28, 52, 1}, {2009y / January / 1, 1, 1},
      {2010y / January / 3, 53, 2},    {2000y / December / 31, 52, 1}, {2000y / January / 1, 52, 1},
      {2000y / December / 30, 52, 53}, {2028y / December / 31, 52, 1}, {1916y / December / 31, 52, 1},
      {2026y / December / 31, 53, 1},  {1908y / December / 31, 53, 1}, {2021y / January / 1, 53, 1},
      {2021y / January / 3, 53, 2},    {2026y / January / 1, 1, 1},    {2026y / January / 4, 1, 2},
      {2027y / January / 2, 53, 1},    {2027y / January / 3, 53, 2},   {2026y / December / 26, 52, 52},
  };
  for (const Case& c : cases) {
    const std::int32_t n = dayNumber(c.date);
    EXPECT_EQ(IsoWeekNumber(n), c.iso) << n;
    EXPECT_EQ(UsRowWeekNumber(sundayBefore(c.date)), c.us) << n;
    EXPECT_EQ(IsoWeekReference(sys_days{c.date}), c.iso) << n;  // the reference reads them too
  }
}

}  // namespace
}  // namespace orvendale
