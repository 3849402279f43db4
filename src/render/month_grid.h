#pragma once
// The month grid: seven columns, Sunday first, under a heading row of the short weekday
// names, each day number right-aligned and vertically centred in its cell and coloured
// by its kind of day; today's number in TodayColor when one is given, and the
// TodayImage centred over today's cell.
//
// Keys of the content section: RasterX and RasterY (cell size, 24 x 20), Offset
// (months between this month and the one shown), TodayImage (an image file name), and
// the layout options of grid_options.h: FirstDay turns the columns, WeekNumbers adds a
// column of one raster left of the days (a width of 0 then counts eight cells),
// OtherMonthDays fills the empty cells with the neighbouring months' days and Rows=auto
// keeps only the week rows the month needs (a height of 0 then counts those). Without
// them the grid is Sunday first with six week rows, as it always was.

#include <cstdint>

#include "render/month_layout.h"
#include "render/render_params.h"

namespace orvendale {

class IniDocument;

// The month grid's cells and picture size as a run works them out, before anything is
// drawn.
struct MonthGridMeasure {
  std::int32_t rasterX = 0;  // RasterX and RasterY as read, any 32-bit value
  std::int32_t rasterY = 0;
  DateRecord shown;          // `today` moved by Offset: the month drawn
  MonthLayout layout;
  std::int64_t columns = 0;  // 7, or 8 with week numbers
  std::int64_t rows = 0;     // the heading row and the week rows
  // The picture's size in 64 bits: `width` or the columns' width, and `height` or the
  // rows' height, each with twice its margin. PictureExtent gives what a run takes.
  std::int64_t pictureWidth = 0;
  std::int64_t pictureHeight = 0;
};

// Reads the grid's keys of `section` (RasterX, RasterY, Offset and the layout options)
// and measures the grid of the month `today` is moved to. `width`, `height` and the
// margins are the 16-bit values of the [Image] keys.
MonthGridMeasure MeasureMonthGrid(const IniDocument& document, const char* section, const DateRecord& today,
                                  std::int16_t width, std::int16_t height, std::int16_t marginX,
                                  std::int16_t marginY);

// The cell at (dx, dy) of `base`, `cellWidth` x `cellHeight` pixels. Coordinates that
// leave the 32-bit range saturate, so a far-off cell simply lies outside the picture.
Rect MakeCellRect(const Rect& base, std::int64_t dx, std::int64_t dy, std::int64_t cellWidth,
                  std::int64_t cellHeight);

// None only when the surface cannot be created.
Surface RenderCalendar(const RenderParams& params);

}  // namespace orvendale
