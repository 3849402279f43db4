#include "calendar/holiday_list.h"

#include <gtest/gtest.h>

#include <string>

namespace orvendale {
namespace {

std::uint32_t Day(int day) { return std::uint32_t{1} << (day - 1); }

TEST(HolidayList, EveryLineForm) {
  struct Case {
    const char* line;
    int year, month;     // the month to look at
    std::uint32_t mask;  // its days
    int entries, skipped;
  };
  const Case cases[] = {
      {"2024-05-01", 2024, 5, Day(1), 1, 0},
      {"2024-05-01 Family day", 2024, 5, Day(1), 1, 0},
      {"2024-05-01\tFamily day", 2024, 5, Day(1), 1, 0},
      {"  2024-05-01", 2024, 5, Day(1), 1, 0},
      {"2024-05-01", 2025, 5, 0, 1, 0},             // that year only
      {"12-24 Christmas Eve", 1950, 12, Day(24), 1, 0},
      {"12-24", 2031, 12, Day(24), 1, 0},           // every year
      {"02-29", 2024, 2, Day(29), 1, 0},            // leap years only
      {"02-29", 2023, 2, 0, 1, 0},
      {"2024-02-29", 2024, 2, Day(29), 1, 0},
      {"2023-02-29", 2023, 2, 0, 0, 1},             // no such day
      {"02-30", 2024, 2, 0, 0, 1},
      {"2024-13-01", 2024, 12, 0, 0, 1},
      {"2024-00-10", 2024, 1, 0, 0, 1},
      {"2024-04-31", 2024, 4, 0, 0, 1},
      {"2024-04-00", 2024, 4, 0, 0, 1},
      {"1903-12-25", 1904, 12, 0, 0, 1},            // outside 1904..2031
      {"2032-01-01", 2031, 1, 0, 0, 1},
      {"2024-5-1", 2024, 5, 0, 0, 1},               // two digits each
      {"2024-05-01x", 2024, 5, 0, 0, 1},            // the date must end there
      {"24-05-01", 2024, 5, 0, 0, 1},
      {"2024-05-0", 2024, 5, 0, 0, 1},              // cut short: nothing read past the line
      {"2024-05-", 2024, 5, 0, 0, 1},
      {"05-0", 2024, 5, 0, 0, 1},
      {"2024/05/01", 2024, 5, 0, 0, 1},
      {"May 1", 2024, 5, 0, 0, 1},
      {"# 2024-05-01", 2024, 5, 0, 0, 0},           // comments
      {"; 2024-05-01", 2024, 5, 0, 0, 0},
      {"   # indented", 2024, 5, 0, 0, 0},
      {"", 2024, 5, 0, 0, 0},
      {" \t ", 2024, 5, 0, 0, 0},
      {"\xEF\xBB\xBF" "2024-05-01", 2024, 5, Day(1), 1, 0},  // byte-order mark
  };
  for (const Case& c : cases) {
    HolidayList list;
    list.Parse(c.line);
    EXPECT_EQ(list.MonthMask(c.year, c.month), c.mask) << '"' << c.line << '"';
    EXPECT_EQ(list.entries(), c.entries) << '"' << c.line << '"';
    EXPECT_EQ(list.skippedLines(), c.skipped) << '"' << c.line << '"';
  }
}

TEST(HolidayList, LinesEndInCrLfLfOrCrAndBadLinesAreSkipped) {
  HolidayList list;
  list.Parse("# family\r\n03-03 Hina\r\n2025-07-07\nnonsense\r2025-07-08\r\r\n\n05-05 no end");
  EXPECT_EQ(list.entries(), 4);
  EXPECT_EQ(list.skippedLines(), 1);
  EXPECT_EQ(list.firstSkippedLine(), 4);
  EXPECT_EQ(list.MonthMask(2025, 7), Day(7) | Day(8));
  EXPECT_EQ(list.MonthMask(2026, 7), 0u);
  EXPECT_EQ(list.MonthMask(1999, 3), Day(3));
  EXPECT_EQ(list.MonthMask(2025, 5), Day(5));
  // A second text replaces the first.
  list.Parse("01-02");
  EXPECT_EQ(list.MonthMask(2025, 7), 0u);
  EXPECT_EQ(list.entries(), 1);
  EXPECT_EQ(list.firstSkippedLine(), 0);
}

TEST(HolidayList, BinaryTextGivesNoDaysAndMonthsOutsideTheCalendarNone) {
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>((i * 131 + 7) % 256));
  HolidayList list;
  list.Parse(binary);
  EXPECT_EQ(list.entries(), 0);
  list.Parse(std::string("2024-05-01\0junk\n2024-05-02", 26));
  EXPECT_EQ(list.MonthMask(2024, 5), Day(2));  // the line with a NUL is not a date
  for (const auto& month : {std::pair{1903, 5}, {2032, 5}, {2024, 0}, {2024, 13}}) {
    EXPECT_EQ(list.MonthMask(month.first, month.second), 0u);
  }
}

}  // namespace
}  // namespace orvendale
