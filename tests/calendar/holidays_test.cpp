#include "calendar/holidays.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <utility>

#include "calendar/packed_date.h"
#include "calendar/text_settings.h"
#include "support/saved_text_settings.h"

namespace orvendale {
namespace {

std::int16_t S16(int value) { return static_cast<std::int16_t>(value); }

using MonthDay = std::pair<int, int>;

// Every day of `year` must be a holiday exactly when it is a Sunday or listed.
void ExpectHolidaysOfYear(int year, const std::set<MonthDay>& listed) {
  for (int month = 1; month <= 12; ++month) {
    for (int day = 1; day <= DaysInMonth(S16(month), S16(year)); ++day) {
      const bool sunday = WeekdayOf(S16(month), S16(day), S16(year)) == 0;
      const int expected = sunday || listed.count({month, day}) != 0 ? 1 : 0;
      EXPECT_EQ(IsHoliday(S16(month), S16(day), S16(year)), expected) << year << '-' << month << '-' << day;
    }
  }
}

TEST(IsHoliday, The2007Calendar) {
  // September 24 and December 24 stand in for holidays on Sundays, as do February 12
  // and April 30.
  ExpectHolidaysOfYear(2007, {{1, 1}, {1, 8}, {2, 12}, {3, 21}, {4, 30}, {5, 3}, {5, 4}, {5, 5},
                              {7, 16}, {9, 17}, {9, 24}, {10, 8}, {11, 3}, {11, 23}, {12, 24}});
}

TEST(IsHoliday, The2008Calendar) {
  // May 4 2008 is a Sunday (listed or not, a holiday); May 6, a Tuesday, is no substitute.
  ExpectHolidaysOfYear(2008, {{1, 1}, {1, 14}, {2, 11}, {3, 20}, {4, 29}, {5, 3}, {5, 5}, {7, 21},
                              {9, 15}, {9, 23}, {10, 13}, {11, 3}, {11, 24}, {12, 23}});
}

TEST(IsHoliday, EquinoxDays) {
  struct Case {
    int year, vernal, autumnal;
  };
  const Case cases[] = {
      {2007, 21, 23}, {2008, 20, 23}, {2012, 20, 22}, {1904, 21, 23}, {1979, 20, 23},
      {1976, 20, 23}, {2031, 21, 23}, {1905, 20, 23},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VernalEquinoxDay(S16(c.year)), c.vernal) << c.year;
    EXPECT_EQ(AutumnalEquinoxDay(S16(c.year)), c.autumnal) << c.year;
  }
  for (int year = kFirstYear; year <= kLastYear; ++year) {
    const int vernal = VernalEquinoxDay(S16(year));
    const int autumnal = AutumnalEquinoxDay(S16(year));
    EXPECT_TRUE(vernal == 20 || vernal == 21) << year;
    EXPECT_TRUE(autumnal == 22 || autumnal == 23) << year;
  }
}

TEST(IsHoliday, SubstituteMondaysOnlyOnMondays) {
  struct Case {
    int month, day, year, holiday;
  };
  const Case cases[] = {
      {1, 2, 2012, 1},   // New Year on a Sunday
      {1, 2, 2007, 0},   // a Tuesday
      {5, 6, 2013, 1},   // a Monday after the Sunday May 5
      {3, 22, 2010, 1},  // the vernal equinox on Sunday March 21
      {9, 22, 2014, 0},  // a Monday, but the autumnal equinox is on Tuesday the 23rd
      {11, 4, 2013, 1},  // November 3 on a Sunday
      {11, 25, 2013, 0}, // a Monday, but November 23 fell on a Saturday
      {10, 21, 2013, 0}, // third Monday: no rule in October
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsHoliday(S16(c.month), S16(c.day), S16(c.year)), c.holiday)
        << c.year << '-' << c.month << '-' << c.day;
  }
}

TEST(IsHoliday, SundaysAlwaysAndJuneAndAugustNothingElse) {
  for (int year = kFirstYear; year <= kLastYear; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(S16(month), S16(year)); ++day) {
        const int weekday = WeekdayOf(S16(month), S16(day), S16(year));
        const int holiday = IsHoliday(S16(month), S16(day), S16(year));
        if (weekday == 0) {
          ASSERT_EQ(holiday, 1) << year << '-' << month << '-' << day;
        } else if (month == 6 || month == 8) {
          ASSERT_EQ(holiday, 0) << year << '-' << month << '-' << day;
        }
      }
    }
  }
}

class SetDayColorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    textSettings.textColor = kText;
    textSettings.sundayColor = kSunday;
    textSettings.saturdayColor = kSaturday;
  }

  static constexpr ColorRef kText = 0x00102030;
  static constexpr ColorRef kSunday = 0x000000FF;
  static constexpr ColorRef kSaturday = 0x00FF0000;
  testing::SavedTextSettings saved_;
};

TEST_F(SetDayColorTest, ChoosesByKindOfDay) {
  struct Case {
    int month, day, year;
    ColorRef color;
  };
  const Case cases[] = {
      {12, 23, 2006, kSunday},   // a Saturday holiday: the holiday wins
      {11, 24, 2007, kSaturday}, {10, 10, 2007, kText}, {10, 14, 2007, kSunday},
      {2, 30, 2007, kSunday},    {1, 1, 2032, kSunday}, {13, 1, 2007, kSunday},
  };
  platform::DrawingContext* context = platform::CreateCompatibleContext(platform::GetScreenContext());
  ASSERT_NE(context, nullptr);
  for (const Case& c : cases) {
    platform::SetTextColor(context, 0x00ABCDEF);
    SetDayColor(context, S16(c.month), S16(c.day), S16(c.year));
    // Setting the colour again hands back the one SetDayColor chose.
    EXPECT_EQ(platform::SetTextColor(context, 0), c.color) << c.year << '-' << c.month << '-' << c.day;
  }
  platform::DeleteContext(context);
  SetDayColor(nullptr, 1, 1, 2007);
}

}  // namespace
}  // namespace orvendale
