#include "render/month_layout.h"

#include "calendar/packed_date.h"
#include "calendar/week_numbers.h"

namespace orvendale {
namespace {

constexpr std::int16_t kThursday = 4;

// The column in which weekday `weekday` stands when the first column is `firstDay`.
std::int32_t ColumnOf(std::int16_t weekday, std::int16_t firstDay) {
  return (weekday - firstDay + kDaysPerWeek) % kDaysPerWeek;
}

}  // namespace

MonthLayout LayOutMonth(std::int16_t month, std::int16_t year, const GridOptions& options) {
  MonthLayout layout;
  layout.options = options;
  layout.days = DaysInMonth(month, year);
  if (layout.days == 0) {
    layout.weekRows = options.rows == WeekRows::kAsNeeded ? 0 : kMostWeekRows;
    return layout;
  }
  layout.firstColumn = static_cast<std::int16_t>(ColumnOf(WeekdayOf(month, 1, year), options.firstDay));
  const std::int32_t firstDay = static_cast<std::int32_t>(PackedDateToDayNumber(PackDate(
      static_cast<std::uint16_t>(month), 1, static_cast<std::uint16_t>(year))));
  layout.firstCellDay = firstDay - layout.firstColumn;
  // 28 to 37 cells from the first column to the last day: 4 to 6 rows.
  const std::int32_t cellsUsed = layout.firstColumn + layout.days;
  layout.weekRows = options.rows == WeekRows::kAsNeeded
                        ? static_cast<std::int16_t>((cellsUsed + kDaysPerWeek - 1) / kDaysPerWeek)
                        : kMostWeekRows;
  return layout;
}

std::int32_t CellDay(const MonthLayout& layout, std::int32_t row, std::int32_t column) {
  return layout.firstCellDay + row * kDaysPerWeek + column;
}

CellContent ContentOf(const MonthLayout& layout, std::int32_t row, std::int32_t column) {
  if (layout.days == 0 || row < 0 || row >= layout.weekRows) return CellContent::kBlank;
  const std::int32_t index = row * kDaysPerWeek + column - layout.firstColumn;  // day - 1
  if (index >= 0 && index < layout.days) return CellContent::kMonthDay;
  if (layout.options.otherMonthDays != NeighbourDays::kShown) return CellContent::kBlank;
  const std::int32_t day = CellDay(layout, row, column);
  return day >= 0 && day <= static_cast<std::int32_t>(kLastDayNumber) ? CellContent::kOtherMonthDay
                                                                      : CellContent::kBlank;
}

bool RowDrawsADay(const MonthLayout& layout, std::int32_t row) {
  for (std::int32_t column = 0; column < kDaysPerWeek; ++column) {
    if (ContentOf(layout, row, column) != CellContent::kBlank) return true;
  }
  return false;
}

std::int16_t RowWeekNumber(const MonthLayout& layout, std::int32_t row) {
  const WeekNumbering numbering = layout.options.weekNumbers;
  if (numbering == WeekNumbering::kNone || !RowDrawsADay(layout, row)) return 0;
  if (numbering == WeekNumbering::kIso) {
    return IsoWeekNumber(CellDay(layout, row, ColumnOf(kThursday, layout.options.firstDay)));
  }
  return UsRowWeekNumber(CellDay(layout, row, 0));
}

}  // namespace orvendale
