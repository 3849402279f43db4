#include "render/month_layout.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/week_reference.h"

namespace orvendale {
namespace {

using namespace std::chrono;
using testing::DateOfDayNumber;

std::string Label(int y, unsigned m, const GridOptions& options) {
  return std::to_string(y) + "-" + std::to_string(m) + " first " + std::to_string(options.firstDay) +
         " weeks " + std::to_string(static_cast<int>(options.weekNumbers)) + " neighbours " +
         std::to_string(static_cast<int>(options.otherMonthDays)) + " rows " +
         std::to_string(static_cast<int>(options.rows));
}

// Every month of the calendar under every first weekday, week numbering, neighbour
// setting and row count: each cell stands for the date its place says, shows what it
// should, and each row's week number is the one its Thursday (ISO) or its place after January 1 (US) gives.
TEST(MonthLayout, EveryMonthUnderEveryOption) {
  const sys_days calendarStart{1904y / January / 1};
  const sys_days calendarEnd{2031y / December / 31};
  for (int y = 1904; y <= 2031; ++y) {
    for (unsigned m = 1; m <= 12; ++m) {
      const year_month month{year{y}, std::chrono::month{m}};
      const sys_days first{month / 1};
      const sys_days last{month / std::chrono::last};
      const int monthLength = static_cast<int>((last - first).count()) + 1;
      for (std::int16_t firstDay = 0; firstDay < 7; ++firstDay) {
        for (const WeekNumbering weeks : {WeekNumbering::kNone, WeekNumbering::kIso, WeekNumbering::kUs}) {
          for (const NeighbourDays neighbours : {NeighbourDays::kHidden, NeighbourDays::kShown}) {
            for (const WeekRows rows : {WeekRows::kSix, WeekRows::kAsNeeded}) {
              const GridOptions options{firstDay, weeks, neighbours, rows};
              const MonthLayout grid =
                  LayOutMonth(static_cast<std::int16_t>(m), static_cast<std::int16_t>(y), options);
              const std::string label = Label(y, m, options);
              ASSERT_EQ(grid.days, monthLength) << label;
              // Day 1 stands in its weekday's column.
              const int firstColumn = static_cast<int>((weekday{first} - weekday{static_cast<unsigned>(firstDay)}).count());
              ASSERT_EQ(grid.firstColumn, firstColumn) << label;
              int rowsNeeded = 0;
              for (int row = 0; row < kMostWeekRows; ++row) {
                bool drawsADay = false;
                bool holdsAMonthDay = false;
                for (int column = 0; column < 7; ++column) {
                  const sys_days date = first + days{row * 7 + column - firstColumn};
                  ASSERT_EQ(DateOfDayNumber(CellDay(grid, row, column)), date) << label;
                  // The heading names weekday firstDay + column.
                  ASSERT_EQ(weekday{date}.c_encoding(), static_cast<unsigned>((firstDay + column) % 7)) << label;
                  const bool inMonth = date >= first && date <= last;
                  holdsAMonthDay |= inMonth;
                  CellContent expected = CellContent::kBlank;
                  if (row < grid.weekRows) {
                    if (inMonth) {
                      expected = CellContent::kMonthDay;
                    } else if (neighbours == NeighbourDays::kShown && date >= calendarStart && date <= calendarEnd) {
                      expected = CellContent::kOtherMonthDay;
                    }
                  }
                  ASSERT_EQ(ContentOf(grid, row, column), expected) << label << " row " << row << " column " << column;
                  drawsADay |= expected != CellContent::kBlank;
                }
                if (holdsAMonthDay) rowsNeeded = row + 1;
                // ISO: the week of the row's Thursday, drawn or not, also at the calendar's
                // ends. US: the row's count from the row that holds January 1.
                int expectedWeek = 0;
                const sys_days rowStart = first + days{row * 7 - firstColumn};
                if (drawsADay && weeks == WeekNumbering::kIso) {
                  expectedWeek = testing::IsoWeekReference(rowStart + (Thursday - weekday{rowStart}));
                } else if (drawsADay && weeks == WeekNumbering::kUs) {
                  expectedWeek = testing::UsRowWeekReference(rowStart);
                }
                ASSERT_EQ(RowWeekNumber(grid, row), expectedWeek) << label << " row " << row;
              }
              ASSERT_EQ(grid.weekRows, rows == WeekRows::kSix ? 6 : rowsNeeded) << label;
            }
          }
        }
      }
    }
  }
}

// Months outside the calendar have no days, draw nothing and, with rows as needed, no
// week rows.
TEST(MonthLayout, MonthsOutsideTheCalendarAreEmpty) {
  for (const WeekRows rows : {WeekRows::kSix, WeekRows::kAsNeeded}) {
    const GridOptions options{1, WeekNumbering::kIso, NeighbourDays::kShown, rows};
    for (const auto& [month, year] : {std::pair<int, int>{1, 2032}, {12, 1903}, {0, 2008}, {13, 2008}}) {
      const MonthLayout grid = LayOutMonth(static_cast<std::int16_t>(month), static_cast<std::int16_t>(year), options);
      EXPECT_EQ(grid.days, 0);
      EXPECT_EQ(grid.weekRows, rows == WeekRows::kSix ? 6 : 0);
      for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(RowWeekNumber(grid, row), 0);
        for (int column = 0; column < 7; ++column) EXPECT_EQ(ContentOf(grid, row, column), CellContent::kBlank);
      }
    }
  }
}

}  // namespace
}  // namespace orvendale
