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

#include "render/render_params.h"

namespace orvendale {

// The cell at (dx, dy) of `base`, `cellWidth` x `cellHeight` pixels. Coordinates that
// leave the 32-bit range saturate, so a far-off cell simply lies outside the picture.
Rect MakeCellRect(const Rect& base, std::int64_t dx, std::int64_t dy, std::int64_t cellWidth,
                  std::int64_t cellHeight);

// None only when the surface cannot be created.
Surface RenderCalendar(const RenderParams& params);

}  // namespace orvendale
