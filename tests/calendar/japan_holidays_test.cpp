#include "calendar/japan_holidays.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "calendar/holiday_set.h"
#include "calendar/holidays.h"
#include "calendar/packed_date.h"

namespace orvendale {
namespace {

std::int16_t S16(int value) { return static_cast<std::int16_t>(value); }

std::string IsoDate(int year, int month, int day) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
  return text;
}

// The dates of `year`..`lastYear` that JapanHolidayMask marks.
std::set<std::string> MarkedDays(int year, int lastYear) {
  std::set<std::string> days;
  for (; year <= lastYear; ++year) {
    for (int month = 1; month <= 12; ++month) {
      const std::uint32_t mask = JapanHolidayMask(year, month);
      for (int day = 1; day <= 31; ++day) {
        if ((mask >> (day - 1) & 1u) != 0) days.insert(IsoDate(year, month, day));
      }
    }
  }
  return days;
}

// Every date of the list published by the Cabinet Office, 1955-2027, and no other date,
// is a holiday. Sundays that are not holidays are not in the list.
TEST(JapanHolidays, EveryDayOf1955To2027AsPublished) {
  std::ifstream file(std::string(ORVENDALE_TEST_DATA) + "/jp-holidays-1955-2027.txt");
  ASSERT_TRUE(file.is_open());
  std::set<std::string> published;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line[0] != '#') published.insert(line);
  }
  ASSERT_EQ(published.size(), 1067u);
  const std::set<std::string> marked = MarkedDays(1955, 2027);
  std::vector<std::string> missed, extra;
  for (const std::string& day : published) {
    if (marked.count(day) == 0) missed.push_back(day);
  }
  for (const std::string& day : marked) {
    if (published.count(day) == 0) extra.push_back(day);
  }
  EXPECT_EQ(missed, std::vector<std::string>());
  EXPECT_EQ(extra, std::vector<std::string>());
}

// The years outside the published list, by the law's rules, year by year.
TEST(JapanHolidays, TheLawsRulesBefore1955AndAfter2027) {
  const std::set<std::string> expected = {
      // Nothing before the law took effect on 1948-07-20; that year the autumnal equinox,
      // Culture Day and Labour Thanksgiving Day.
      "1948-09-23", "1948-11-03", "1948-11-23",
      // 1949-1954: New Year, Coming of Age Day on January 15, the equinoxes (September 24
      // in 1951), the Emperor's Birthday, Constitution Day, Children's Day, November 3
      // and 23. Holidays on a Sunday had no substitute yet.
      "1949-01-01", "1949-01-15", "1949-03-21", "1949-04-29", "1949-05-03", "1949-05-05", "1949-09-23",
      "1949-11-03", "1949-11-23",
      "1950-01-01", "1950-01-15", "1950-03-21", "1950-04-29", "1950-05-03", "1950-05-05", "1950-09-23",
      "1950-11-03", "1950-11-23",
      "1951-01-01", "1951-01-15", "1951-03-21", "1951-04-29", "1951-05-03", "1951-05-05", "1951-09-24",
      "1951-11-03", "1951-11-23",
      "1952-01-01", "1952-01-15", "1952-03-21", "1952-04-29", "1952-05-03", "1952-05-05", "1952-09-23",
      "1952-11-03", "1952-11-23",
      "1953-01-01", "1953-01-15", "1953-03-21", "1953-04-29", "1953-05-03", "1953-05-05", "1953-09-23",
      "1953-11-03", "1953-11-23",
      "1954-01-01", "1954-01-15", "1954-03-21", "1954-04-29", "1954-05-03", "1954-05-05", "1954-09-23",
      "1954-11-03", "1954-11-23",
      // 2028: second Monday of January and October, third Monday of July and September,
      // the Emperor's Birthday on February 23, Mountain Day; no holiday on a Sunday.
      "2028-01-01", "2028-01-10", "2028-02-11", "2028-02-23", "2028-03-20", "2028-04-29", "2028-05-03",
      "2028-05-04", "2028-05-05", "2028-07-17", "2028-08-11", "2028-09-18", "2028-09-22", "2028-10-09",
      "2028-11-03", "2028-11-23",
      // 2029: February 11, April 29 and September 23 are Sundays: substitutes the next day.
      "2029-01-01", "2029-01-08", "2029-02-11", "2029-02-12", "2029-02-23", "2029-03-20", "2029-04-29",
      "2029-04-30", "2029-05-03", "2029-05-04", "2029-05-05", "2029-07-16", "2029-08-11", "2029-09-17",
      "2029-09-23", "2029-09-24", "2029-10-08", "2029-11-03", "2029-11-23",
      // 2030: May 5, August 11 and November 3 are Sundays.
      "2030-01-01", "2030-01-14", "2030-02-11", "2030-02-23", "2030-03-20", "2030-04-29", "2030-05-03",
      "2030-05-04", "2030-05-05", "2030-05-06", "2030-07-15", "2030-08-11", "2030-08-12", "2030-09-16",
      "2030-09-23", "2030-10-14", "2030-11-03", "2030-11-04", "2030-11-23",
      // 2031: February 23 and November 23 are Sundays; May 4 too, and since May 5 is a
      // holiday itself the substitute is May 6.
      "2031-01-01", "2031-01-13", "2031-02-11", "2031-02-23", "2031-02-24", "2031-03-21", "2031-04-29",
      "2031-05-03", "2031-05-04", "2031-05-05", "2031-05-06", "2031-07-21", "2031-08-11", "2031-09-15",
      "2031-09-23", "2031-10-13", "2031-11-03", "2031-11-23", "2031-11-24",
  };
  std::set<std::string> marked = MarkedDays(kFirstYear, 1954);
  const std::set<std::string> late = MarkedDays(2028, kLastYear);
  marked.insert(late.begin(), late.end());
  EXPECT_EQ(marked, expected);
}

TEST(JapanHolidays, EquinoxDaysOfEachPeriod) {
  struct Case {
    int year, vernal, autumnal;
  };
  // The constants before 1980 differ from those after: the built-in table's formula
  // gives September 23 for 1951 and 1979 and March 20 for 1960.
  const Case cases[] = {{1948, 21, 23}, {1951, 21, 24}, {1960, 20, 23}, {1979, 21, 24},
                        {1980, 20, 23}, {2012, 20, 22}, {2028, 20, 22}, {2031, 21, 23},
                        {1899, 0, 0},   {2100, 0, 0}};
  for (const Case& c : cases) {
    EXPECT_EQ(JapanVernalEquinoxDay(c.year), c.vernal) << c.year;
    EXPECT_EQ(JapanAutumnalEquinoxDay(c.year), c.autumnal) << c.year;
  }
  // From 1980 the observatory's formula is the built-in table's.
  for (int year = 1980; year <= kLastYear; ++year) {
    EXPECT_EQ(JapanVernalEquinoxDay(year), VernalEquinoxDay(S16(year))) << year;
    EXPECT_EQ(JapanAutumnalEquinoxDay(year), AutumnalEquinoxDay(S16(year))) << year;
  }
}

TEST(JapanHolidays, NoMonthOutsideTheCalendar) {
  const int cases[][2] = {{1903, 12}, {2032, 1}, {2000, 0}, {2000, 13}, {1948, 7}, {1947, 11}};
  for (const auto& c : cases) EXPECT_EQ(JapanHolidayMask(c[0], c[1]), 0u) << c[0] << '-' << c[1];
}

// Through IsHoliday: Sundays stay holidays and a day that is not real counts as one.
TEST(JapanHolidays, ChosenAsTheRunsSet) {
  ChooseHolidays("jp", nullptr);
  struct Case {
    int month, day, year, holiday;
  };
  const Case cases[] = {
      {2, 23, 2026, 1},  {5, 6, 2026, 1},  {8, 11, 2026, 1}, {9, 22, 2026, 1}, {12, 23, 2026, 0},
      {12, 23, 2018, 1}, {2, 23, 2019, 0}, {6, 14, 2026, 1}, {6, 15, 2026, 0}, {2, 30, 2026, 1},
      {1, 1, 1930, 0},   {1, 5, 1930, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsHoliday(S16(c.month), S16(c.day), S16(c.year)), c.holiday)
        << c.year << '-' << c.month << '-' << c.day;
  }
  ChooseHolidays(nullptr, nullptr);
  EXPECT_EQ(IsHoliday(12, 23, 2026), 1);  // the built-in table again
}

}  // namespace
}  // namespace orvendale
