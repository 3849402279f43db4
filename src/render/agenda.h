#pragma once
// The agenda: one line per event of the days from today on ([Contents] Type=Agenda).
//
// Keys of the content section: Days (7; 1..366) and Lines (8; 1..100) bound what is listed;
// Format is the date pattern of the day label ("ddd d MMM"); Clock=12 writes the start
// times as "h:MMam" instead of "HH:MM"; RasterY is the line height (the font's line height
// when absent or 0). Three columns, each as wide as its widest entry and set apart by half
// a line height: the day label (first line of each day only, in its day's colour, today in
// TodayColor when given), the start time of a timed event, and the summary (both in the
// calendar's colour). A summary that does not fit the picture's width is cut and ends in
// "…". Without events in those days, one line of [LongName] NoEvents ("No events") in
// [Text] Color. Width and Height 0 mean as wide as the widest line and as tall as the lines.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/drawing/graphics.h"
#include "platform/types.h"
#include "render/render_params.h"

namespace orvendale {

class IniDocument;

// One line of the agenda as it is drawn.
struct AgendaTextLine {
  std::u16string label;  // empty on all but the first line of a day
  std::u16string time;
  std::u16string summary;
  ColorRef labelColor = 0;
  ColorRef eventColor = 0;
};

// The lines of the agenda of `section` for the days from `today`: never empty (without
// events, the NoEvents line).
std::vector<AgendaTextLine> AgendaText(const IniDocument& document, const char* section, const DateRecord& today);

// `text` as it fits `width` pixels in the font of `context`: whole, or cut and ending in
// "…" (never inside a surrogate pair, no blank before the "…").
std::u16string FitAgendaText(platform::DrawingContext* context, const std::u16string& text, std::int64_t width);

// None only when the surface cannot be created.
Surface RenderAgenda(const RenderParams& params);

}  // namespace orvendale
