#pragma once
// The marks of the user's calendars on the month grid ([Events] Mark): under a day's
// number, one per calendar with an event that day, in that calendar's colour, side by
// side and centred in the cell.
//
// Sizes follow the cell and the font: the band for the marks runs from one pixel below
// the lowest ink of the digits (as the font draws "0123456789", centred in the cell as
// the day numbers are) to the cell's bottom edge. A dot is a quarter of the font's line
// height across (at least 2 pixels), no taller than the band; marks stand a half mark
// apart (at least 1 pixel) and shrink until all of them fit within the cell less a pixel
// on each side. A bar is as thick as half a dot (at least 1 pixel) and two dots and a
// pixel long. Where the band has no room for a mark of 1 pixel no mark is drawn: marks
// never cover the number and never leave the cell.

#include <cstdint>

#include "platform/drawing/graphics.h"
#include "platform/types.h"
#include "render/picture_style.h"
#include "render/render_params.h"

namespace orvendale {

class IniDocument;

enum class EventMarkStyle : std::uint8_t { kNone, kDot, kBar };

// [Events] Mark: "dot", "bar" or "none" (letter case ignored; anything else is the
// default, "dot"); kNone whenever no calendar is chosen.
EventMarkStyle ReadEventMarkStyle(const IniDocument& document);

// Where the marks go in a cell, worked out once per picture.
struct EventMarkGeometry {
  std::int32_t bandTop = 0;     // from the cell's top
  std::int32_t bandHeight = 0;  // 0: no room for marks
  std::int32_t size = 0;        // a dot's width and height; a bar's length is 2 * size + 1
  std::int32_t thickness = 0;   // a bar's height
  std::int32_t gap = 0;
};

// The geometry for cells of rasterX x rasterY with numbers of `lineHeight` whose lowest ink
// is `inkBottom` rows below the text's top (the first row without ink).
EventMarkGeometry PlanEventMarks(EventMarkStyle style, std::int32_t rasterX, std::int32_t rasterY,
                                 std::int32_t lineHeight, std::int32_t inkBottom);

// The same, measuring the digits of the font selected into `context`: it draws them on a
// scratch surface made from `screenContext`.
EventMarkGeometry MeasureEventMarks(EventMarkStyle style, platform::DrawingContext* screenContext,
                                    const IniDocument& document, std::int32_t rasterX, std::int32_t rasterY,
                                    const PictureStyle& pictureStyle);

// Draws the marks of the calendars in `calendars` (bit i: slot i) in `cell`.
void DrawEventMarks(platform::DrawingContext* context, const Rect& cell, std::uint32_t calendars, EventMarkStyle style,
                    const EventMarkGeometry& geometry);

}  // namespace orvendale
