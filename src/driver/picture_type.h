#pragma once
// The pictures [Contents] Type selects, and what each one reads. A new picture type is
// one row of kPictureTypes and one renderer in RunServices; --check asks the row what
// the picture uses instead of comparing names.

#include <cstdint>

namespace orvendale {

enum class PictureType : std::uint8_t { kNone, kDate, kCalendarHeader, kCalendar, kAgenda };

struct PictureTypeInfo {
  PictureType type;
  const char* name;  // as [Contents] Type spells it, letter case included
  bool readsFormat;  // draws the date pattern of [Contents] Format (needed)
  bool readsOffset;  // shows the month [Contents] Offset moves to
  bool isMonthGrid;  // the grid: RasterX, RasterY, its layout options and TodayImage
  bool coloursDays;  // colours days by their kind, so holidays count
  bool readsEvents;  // shows the events of the [Events] calendars
  bool listsEvents;  // the agenda: one line per event, [Contents] Days, Lines and Clock
  const char* article;  // "a" or "an", for sentences that name the picture
};

// In the order a run compares them with [Contents] Type.
inline constexpr PictureTypeInfo kPictureTypes[] = {
    {PictureType::kCalendarHeader, "CalendarHeader", true, true, false, false, false, false, "a"},
    {PictureType::kCalendar, "Calendar", false, true, true, true, true, false, "a"},
    {PictureType::kDate, "Date", true, false, false, true, false, false, "a"},
    {PictureType::kAgenda, "Agenda", false, false, false, true, true, true, "an"},
};

// The type an exact, case-sensitive [Contents] Type names; kNone for null or any other
// text.
PictureType ParsePictureType(const char* contentType);

// The row of `type`; for kNone a row with an empty name that reads and uses nothing.
const PictureTypeInfo& InfoOf(PictureType type);

}  // namespace orvendale
