#pragma once
// Where the days of a month stand in the grid, and what each week row and cell shows,
// apart from any drawing: the first column's weekday, the rows the month takes, the days
// of the neighbouring months and the week numbers.
//
// Rows and columns count from 0: row 0 is the first week row (under the heading row),
// column 0 the first day column (right of the week-number column, when there is one).

#include <cstdint>

#include "render/grid_options.h"

namespace orvendale {

inline constexpr std::int16_t kMostWeekRows = 6;

struct MonthLayout {
  GridOptions options;
  std::int16_t days = 0;            // 28..31; 0 for a month outside 1904..2031
  std::int16_t firstColumn = 0;     // column of day 1, 0..6
  std::int16_t weekRows = 0;        // week rows of the grid: 6, or 4..6 as needed, 0 without days
  std::int32_t firstCellDay = 0;    // day number that row 0, column 0 stands for; may be < 0
};

// The layout of `month` of `year` under `options`. A month outside 1904..2031 has no days
// and, with rows as needed, no week rows.
MonthLayout LayOutMonth(std::int16_t month, std::int16_t year, const GridOptions& options);

// The day number (days since 1904-01-01, negative before it) the cell stands for, drawn
// or not.
std::int32_t CellDay(const MonthLayout& layout, std::int32_t row, std::int32_t column);

enum class CellContent { kBlank, kMonthDay, kOtherMonthDay };

// What the cell shows: a day of the month, a day of a neighbouring month (only when they
// are shown, and only within 1904..2031), or nothing.
CellContent ContentOf(const MonthLayout& layout, std::int32_t row, std::int32_t column);

// True when some cell of week row `row` shows a day (ContentOf is not blank).
bool RowDrawsADay(const MonthLayout& layout, std::int32_t row);

// The week number row `row` shows, 1..53: ISO, the week of the row's Thursday whether or
// not that cell is drawn; US, the row's count from the row that holds January 1. 0 when
// week numbers are off or the row draws no day.
std::int16_t RowWeekNumber(const MonthLayout& layout, std::int32_t row);

}  // namespace orvendale
