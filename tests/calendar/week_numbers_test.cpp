#include "calendar/week_numbers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "support/week_reference.h"

namespace orvendale {
namespace {

using testing::DateOfDayNumber;
using testing::IsoWeekReference;
using testing::UsWeekReference;

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
    ASSERT_EQ(UsWeekNumber(n), UsWeekReference(date)) << n;
    // The first days of 1904 belong to the last week of 1903, whose Thursday lies
    // before the calendar; the last days of 2031 to week 1 of 2032.
    const sys_days thursday = date - (weekday{date} - Monday) + days{3};
    const int isoYear = static_cast<int>(year_month_day{thursday}.year());
    const int expected = isoYear >= 1904 && isoYear <= 2031 ? IsoWeekReference(date) : 0;
    ASSERT_EQ(IsoWeekNumber(n), expected) << n;
  }
}

// Days around the calendar's ends: weekdays go on, week numbers stop.
TEST(WeekNumbers, DaysOutsideTheCalendarHaveWeekdaysButNoNumbers) {
  using namespace std::chrono;
  for (std::int32_t n : {-400, -8, -7, -1, kLast + 1, kLast + 7, kLast + 400, INT32_MIN, INT32_MAX}) {
    if (n > -1000000 && n < 1000000) {
      EXPECT_EQ(WeekdayOfDayNumber(n), static_cast<int>(weekday{DateOfDayNumber(n)}.c_encoding())) << n;
    }
    EXPECT_GE(WeekdayOfDayNumber(n), 0) << n;
    EXPECT_LE(WeekdayOfDayNumber(n), 6) << n;
    EXPECT_EQ(UsWeekNumber(n), 0) << n;
    EXPECT_EQ(IsoWeekNumber(n), 0) << n;
    std::int16_t dayOfYear = 77;
    std::int16_t year = 77;
    EXPECT_FALSE(DayOfYear(n, &dayOfYear, &year)) << n;
    EXPECT_EQ(dayOfYear, 77);
  }
  // 1904-01-04 is the first Monday: its week is week 1 of 1904. 2031-12-29 is a Monday
  // whose week has its Thursday in 2032.
  EXPECT_EQ(IsoWeekNumber(2), 0);
  EXPECT_EQ(IsoWeekNumber(3), 1);
  EXPECT_EQ(IsoWeekNumber(kLast - 2), 0);
  EXPECT_EQ(IsoWeekNumber(kLast - 3), 52);
}

// The turns of the year that calendars print, as published: ISO week 53 and a week 1
// that starts in December; the US week 54 of a leap year that starts on a Saturday.
TEST(WeekNumbers, TurnsOfTheYear) {
  using namespace std::chrono;
  const auto dayNumber = [](year_month_day date) {
    return static_cast<std::int32_t>((sys_days{date} - DateOfDayNumber(0)).count());
  };
  struct Case {
    year_month_day date;
    int iso;
    int us;
  };
  const Case cases[] = {
      {2004y / December / 31, 53, 53}, {2005y / January / 2, 53, 2},  {2005y / January / 3, 1, 2},
      {2008y / December / 29, 1, 53},  {2008y / December / 28, 52, 53}, {2009y / January / 1, 1, 1},
      {2010y / January / 3, 53, 2},    {2000y / December / 31, 52, 54}, {2000y / January / 1, 52, 1},
      {2028y / December / 31, 52, 54}, {1916y / December / 31, 52, 54}, {1944y / December / 31, 52, 54},
      {1972y / December / 31, 52, 54}, {2026y / December / 31, 53, 53}, {1908y / December / 31, 53, 53},
  };
  for (const Case& c : cases) {
    const std::int32_t n = dayNumber(c.date);
    EXPECT_EQ(IsoWeekNumber(n), c.iso) << n;
    EXPECT_EQ(UsWeekNumber(n), c.us) << n;
    EXPECT_EQ(IsoWeekReference(sys_days{c.date}), c.iso) << n;  // the reference reads them too
    EXPECT_EQ(UsWeekReference(sys_days{c.date}), c.us) << n;
  }
  // Exactly the leap years that start on a Saturday reach US week 54.
  std::set<int> yearsWith54;
  for (std::int32_t n = 0; n <= kLast; ++n) {
    if (UsWeekNumber(n) == 54) yearsWith54.insert(static_cast<int>(year_month_day{DateOfDayNumber(n)}.year()));
  }
  EXPECT_EQ(yearsWith54, (std::set<int>{1916, 1944, 1972, 2000, 2028}));
}

}  // namespace
}  // namespace orvendale
