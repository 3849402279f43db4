// An explicit [Image] Width or Height smaller than the month grid: the columns or rows
// that fall off the picture, named.

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/packed_date.h"
#include "check/checks.h"
#include "render/grid_options.h"
#include "render/month_grid.h"
#include "render/month_layout.h"

namespace orvendale {
namespace {

constexpr const char* kWeekdayNames[kDaysPerWeek] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                     "Thursday", "Friday", "Saturday"};

// "a", "a and b", "a, b and c".
std::string Listed(const std::vector<std::string>& items) {
  std::string text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

// The index of the first of `count` cells of `size` pixels, laid from 0, that does not
// end within `room` pixels; `count` when all do.
std::int64_t FirstCellCut(std::int64_t room, std::int64_t size, std::int64_t count) {
  if (room < 0) return 0;
  const std::int64_t whole = room / size;
  return whole < count ? whole : count;
}

}  // namespace

void CheckGridFit(const CheckContext& context, Report& report) {
  if (!context.PictureInfo().isMonthGrid) return;
  const IniDocument& document = *context.document;
  // The values a run uses: 16-bit sizes and margins, 32-bit cells, the grid as it lays it out.
  const std::int32_t width = CutTo16Bits(document.GetInt("Image", "Width", 0));
  const std::int32_t height = CutTo16Bits(document.GetInt("Image", "Height", 0));
  const std::int32_t marginX = CutTo16Bits(document.GetInt("Image", "MarginX", 0));
  const std::int32_t marginY = CutTo16Bits(document.GetInt("Image", "MarginY", 0));
  const MonthGridMeasure grid = MeasureMonthGrid(document, "Contents", context.today, width, height, marginX, marginY);
  const std::int32_t rasterX = grid.rasterX;
  const std::int32_t rasterY = grid.rasterY;
  // Sizes of 0 or less and empty cells have findings of their own.
  if (rasterX <= 0 || rasterY <= 0) return;
  const MonthLayout& layout = grid.layout;
  const bool weekColumn = layout.options.weekNumbers != WeekNumbering::kNone;
  const std::int64_t columns = grid.columns;
  const std::int64_t rows = grid.rows;

  // The grid starts a margin in from the picture's edge; the picture is the size plus
  // both margins, so the grid has the size and one margin to itself.
  if (width > 0) {
    const std::int64_t firstCut = FirstCellCut(std::int64_t{width} + marginX, rasterX, columns);
    std::vector<std::string> cut;
    for (std::int64_t column = firstCut; column < columns; ++column) {
      const std::int64_t dayColumn = column - (weekColumn ? 1 : 0);
      cut.push_back(dayColumn < 0 ? "week-number"
                                  : kWeekdayNames[(layout.options.firstDay + dayColumn) % kDaysPerWeek]);
    }
    if (!cut.empty()) {
      report.Warn(context.LineOf("Image", "Width"),
                  "[Image] Width " + std::to_string(width) + " is narrower than the grid's " +
                      std::to_string(columns) + " columns of " + std::to_string(rasterX) + " pixels (" +
                      std::to_string(columns * rasterX) + "): a run cuts off, wholly or in part, the " +
                      Listed(cut) + (cut.size() == 1 ? " column" : " columns"));
    }
  }
  if (height > 0) {
    const std::int64_t firstCut = FirstCellCut(std::int64_t{height} + marginY, rasterY, rows);
    std::vector<std::string> cut;
    for (std::int64_t row = firstCut; row < rows; ++row) {
      if (row == 0) {
        cut.push_back("the heading row");
      } else if (RowDrawsADay(layout, static_cast<std::int32_t>(row - 1))) {
        cut.push_back("week row " + std::to_string(row));
      }
    }
    if (!cut.empty()) {
      report.Warn(context.LineOf("Image", "Height"),
                  "[Image] Height " + std::to_string(height) + " is less than the grid's " + std::to_string(rows) +
                      " rows of " + std::to_string(rasterY) + " pixels (" + std::to_string(rows * rasterY) +
                      "): a run cuts off, wholly or in part, " + Listed(cut));
    }
  }
}

}  // namespace orvendale
