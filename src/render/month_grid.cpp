#include "render/month_grid.h"

#include <cstdint>

#include "calendar/event_set.h"
#include "calendar/holidays.h"
#include "calendar/packed_date.h"
#include "calendar/text_settings.h"
#include "imagefile/image_folder.h"
#include "imagefile/image_placement.h"
#include "platform/drawing/graphics.h"
#include "render/event_marks.h"
#include "render/grid_options.h"
#include "render/month_layout.h"
#include "render/picture_extent.h"
#include "render/surface.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

constexpr int kSunday = 0;
constexpr int kSaturday = 6;

// Every cell: single line, centred in height, at the right edge.
constexpr std::uint32_t kCellFlags = platform::TextFlags::kSingleLine |
                                     platform::TextFlags::kVerticalCenter |
                                     platform::TextFlags::kRight;

// Week row tops are 16-bit values: each sum keeps its low 16 bits.
std::int16_t NextRowTop(std::int64_t top, std::int32_t rasterY) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(top + rasterY)));
}

// Decimal text of a number from 1 to 99: a day of the month or a week number.
void FormatDay(std::int16_t day, char16_t (&out)[3]) {
  if (day >= 10) {
    out[0] = static_cast<char16_t>(u'0' + day / 10);
    out[1] = static_cast<char16_t>(u'0' + day % 10);
    out[2] = 0;
  } else {
    out[0] = static_cast<char16_t>(u'0' + day);
    out[1] = 0;
  }
}

ColorRef HeadingColor(int weekday) {
  if (weekday == kSunday) return textSettings.sundayColor;
  if (weekday == kSaturday) return textSettings.saturdayColor;
  return textSettings.textColor;
}

// Where the cells of the grid lie on the picture. Positions are worked out in the
// settings' own pixels, as the grid always was, and then multiplied by the scale, so a
// scaled grid is the same grid larger. The factors (a 32-bit raster, a column below 8, a
// scale of at most 4) keep every product well inside 64 bits. Right to left, every cell
// stands where the left-to-right grid mirrored about the picture's middle puts it: the
// first day column at the right, the week numbers right of the days, the margins unchanged.
struct GridGeometry {
  Rect picture;
  std::int64_t weekLeft;  // left of the week-number column, left to right
  std::int64_t daysLeft;  // left of the first day column, left to right
  std::int32_t rasterX;
  std::int32_t rasterY;
  std::int64_t scale;
  ColumnOrder direction;

  Rect DayCell(std::int64_t column, std::int64_t top) const {
    return MakeCellRect(picture, Mirrored(column * rasterX + daysLeft) * scale, top * scale, rasterX * scale,
                        rasterY * scale);
  }
  Rect WeekCell(std::int64_t top) const {
    return MakeCellRect(picture, Mirrored(weekLeft) * scale, top * scale, rasterX * scale, rasterY * scale);
  }

 private:
  // `left` in the settings' own pixels, mirrored about the middle of the unscaled picture.
  std::int64_t Mirrored(std::int64_t left) const {
    if (direction == ColumnOrder::kLeftToRight) return left;
    return (std::int64_t{picture.right} - picture.left) / scale - left - rasterX;
  }
};

// True when `text` is narrower than a cell `cellWidth` pixels wide (as drawn, scale included), leaving a pixel to spare
// between it and the cell to its left.
bool FitsCell(platform::DrawingContext* context, const char16_t* text, std::int64_t cellWidth) {
  Rect measured{0, 0, 0, 0};
  platform::DrawText(context, text, -1, &measured,
                     platform::TextFlags::kCalculateRect | platform::TextFlags::kSingleLine);
  return std::int64_t{measured.right} - measured.left < cellWidth;
}

// The weekday names of the heading row: the short names, or, when one of them does not
// fit its cell and the Locale gave them, the Locale's narrow names (all seven, never a
// mix of the two forms).
const char16_t (*HeadingNames(platform::DrawingContext* context, std::int64_t cellWidth))[kShortNameCapacity] {
  if (textSettings.narrowWeekdayNamesGiven != 1) return textSettings.shortWeekdayNames;
  for (const auto& name : textSettings.shortWeekdayNames) {
    if (!FitsCell(context, name, cellWidth)) return textSettings.narrowWeekdayNames;
  }
  return textSettings.shortWeekdayNames;
}

// The week heading: its name; when that is the Locale's and does not fit, the Locale's
// narrow name, and when neither fits, the built-in "Wk" rather than a name cut short.
const char16_t* WeekHeading(platform::DrawingContext* context, std::int64_t cellWidth) {
  if (textSettings.narrowWeekNameGiven != 1 || FitsCell(context, textSettings.shortWeekName, cellWidth)) {
    return textSettings.shortWeekName;
  }
  if (FitsCell(context, textSettings.narrowWeekName, cellWidth)) return textSettings.narrowWeekName;
  return kWeekNameKey.shortDefault;
}

void DrawCellText(platform::DrawingContext* context, Rect cell, const char16_t* text, ColorRef color) {
  platform::SetTextColor(context, color);
  platform::DrawText(context, text, -1, &cell, kCellFlags);
}

// The marks of the user's calendars on a day's cell.
struct DayMarks {
  EventMarkStyle style = EventMarkStyle::kNone;
  EventMarkGeometry geometry;

  void Draw(platform::DrawingContext* context, const Rect& cell, PackedDate day) const {
    if (style == EventMarkStyle::kNone) return;
    DrawEventMarks(context, cell, EventCalendarsOn(PackedMonth(day), PackedDay(day), PackedYear(day)), style, geometry);
  }
};

// The days of the neighbouring months and the week numbers, row by row, before the
// month's own days so that today's image, drawn with those, lies over everything.
// Neighbouring days need no holiday: they are all in OtherMonthColor.
void DrawNeighboursAndWeekNumbers(platform::DrawingContext* context, const GridGeometry& grid,
                                  const MonthLayout& layout, std::int16_t marginY, const DayMarks& marks) {
  const bool neighbours = layout.options.otherMonthDays == NeighbourDays::kShown;
  if (!neighbours && layout.options.weekNumbers == WeekNumbering::kNone) return;
  std::int16_t rowTop = marginY;
  for (std::int32_t row = 0; row < layout.weekRows; ++row) {
    rowTop = NextRowTop(rowTop, grid.rasterY);
    char16_t number[3];
    const std::int16_t week = RowWeekNumber(layout, row);
    if (week != 0) {
      FormatDay(week, number);
      DrawCellText(context, grid.WeekCell(rowTop), number, textSettings.weekNumberColor);
    }
    if (!neighbours) continue;
    for (std::int32_t column = 0; column < kDaysPerWeek; ++column) {
      if (ContentOf(layout, row, column) != CellContent::kOtherMonthDay) continue;
      PackedDate day = 0;  // within 1904..2031: ContentOf said so
      DayNumberToPackedDate(static_cast<DayNumber>(CellDay(layout, row, column)), &day);
      FormatDay(PackedDay(day), number);
      const Rect cell = grid.DayCell(column, rowTop);
      DrawCellText(context, cell, number, textSettings.otherMonthColor);
      marks.Draw(context, cell, day);
    }
  }
}

// The TodayImage centred over today's cell, drawn after the number and so over it. A
// scaled picture draws the image scaled by the same whole factor.
void PlaceTodayImage(platform::DrawingContext* context, const IniDocument& document,
                     const char* section, const Rect& cell, const GridGeometry& grid) {
  char16_t name[kPathCapacity];
  if (document.GetWideString(section, Setting("Contents", "TodayImage").key, name, kPathCapacity, nullptr) == 0) return;
  std::int32_t imageWidth = 0;
  std::int32_t imageHeight = 0;
  GetImageFileSize(name, &imageWidth, &imageHeight);
  // Division truncates toward zero: an image one pixel wider than the cell starts at
  // the cell's left edge, three wider one pixel left of it.
  const std::int64_t x = cell.left + (grid.rasterX * grid.scale - imageWidth * grid.scale) / 2;
  const std::int64_t y = cell.top + (grid.rasterY * grid.scale - imageHeight * grid.scale) / 2;
  if (grid.scale == 1) {
    DrawImageFile(context, SaturateToInt32(x), SaturateToInt32(y), name);
  } else {
    DrawImageFileScaled(context, SaturateToInt32(x), SaturateToInt32(y), name,
                        static_cast<std::int32_t>(grid.scale));
  }
}

}  // namespace

Rect MakeCellRect(const Rect& base, std::int64_t dx, std::int64_t dy, std::int64_t cellWidth,
                  std::int64_t cellHeight) {
  const std::int64_t left = base.left + dx;
  const std::int64_t top = base.top + dy;
  return Rect{SaturateToInt32(left), SaturateToInt32(top), SaturateToInt32(left + cellWidth),
              SaturateToInt32(top + cellHeight)};
}

MonthGridMeasure MeasureMonthGrid(const IniDocument& document, const char* section, const DateRecord& today,
                                  std::int16_t width, std::int16_t height, std::int16_t marginX,
                                  std::int16_t marginY) {
  MonthGridMeasure measure;
  measure.rasterX = document.GetInt(section, Setting("Contents", "RasterX").key,
                                    Setting("Contents", "RasterX").defaultNumber);
  measure.rasterY = document.GetInt(section, Setting("Contents", "RasterY").key,
                                    Setting("Contents", "RasterY").defaultNumber);
  measure.shown = today;
  const std::int32_t offset =
      document.GetInt(section, Setting("Contents", "Offset").key, Setting("Contents", "Offset").defaultNumber);
  if (offset != 0) AddMonths(&measure.shown, CutTo16Bits(offset));
  measure.layout = LayOutMonth(static_cast<std::int16_t>(measure.shown.month),
                               static_cast<std::int16_t>(measure.shown.year), ReadGridOptions(document, section));
  // Sizes in 64 bits: a picture too large for 32 bits is refused, not wrapped.
  measure.columns = kDaysPerWeek + (measure.layout.options.weekNumbers != WeekNumbering::kNone ? 1 : 0);
  measure.rows = 1 + std::int64_t{measure.layout.weekRows};
  measure.pictureWidth = (width != 0 ? width : measure.columns * measure.rasterX) + 2 * std::int64_t{marginX};
  measure.pictureHeight = (height != 0 ? height : measure.rows * measure.rasterY) + 2 * std::int64_t{marginY};
  return measure;
}

Surface RenderCalendar(const RenderParams& params) {
  const IniDocument& document = *params.document;
  const char* section = params.contentSection;
  DateRecord& date = *params.date;

  const std::int16_t marginX = CutTo16Bits(params.marginX);
  const std::int16_t marginY = CutTo16Bits(params.marginY);

  // Today is taken before Offset moves the date, so another month has no today cell.
  // The month is known before the picture's size, which can depend on its rows; the
  // driver's date is moved only once the surface exists.
  const PackedDate today = PackDate(date.month, date.day, date.year);
  const MonthGridMeasure measure = MeasureMonthGrid(document, section, date, CutTo16Bits(params.width),
                                                    CutTo16Bits(params.height), marginX, marginY);
  const std::int32_t rasterX = measure.rasterX;
  const std::int32_t rasterY = measure.rasterY;
  const DateRecord shown = measure.shown;
  const MonthLayout& layout = measure.layout;
  const bool weekColumn = layout.options.weekNumbers != WeekNumbering::kNone;
  // Sizes in 64 bits: a picture too large for 32 bits is refused, not wrapped.
  const std::int64_t scale = params.style.scale;
  const std::int32_t pictureWidth = PictureExtent(measure.pictureWidth * scale);
  const std::int32_t pictureHeight = PictureExtent(measure.pictureHeight * scale);

  DrawingSequence sequence(params.screenContext, document, params.style);
  if (!sequence.PrepareSurface(pictureWidth, pictureHeight)) return nullptr;
  platform::DrawingContext* context = sequence.context();
  const Rect picture{0, 0, pictureWidth, pictureHeight};
  // The day columns start one raster right of the margin when the week numbers stand
  // left of them.
  const std::int64_t daysLeft = marginX + (weekColumn ? std::int64_t{rasterX} : 0);
  const GridGeometry grid{picture, marginX, daysLeft, rasterX, rasterY, scale, layout.options.direction};

  // The heading row is coloured by weekday alone, never by holidays.
  if (weekColumn) {
    DrawCellText(context, grid.WeekCell(marginY), WeekHeading(context, std::int64_t{rasterX} * scale), textSettings.weekNumberColor);
  }
  const auto headingNames = HeadingNames(context, std::int64_t{rasterX} * scale);
  for (int column = 0; column < kDaysPerWeek; ++column) {
    const int weekday = (layout.options.firstDay + column) % kDaysPerWeek;
    DrawCellText(context, grid.DayCell(column, marginY), headingNames[weekday], HeadingColor(weekday));
  }

  // Marks only where calendars are chosen: other runs read and measure nothing more.
  DayMarks marks;
  marks.style = ReadEventMarkStyle(document);
  if (marks.style != EventMarkStyle::kNone) {
    marks.geometry = MeasureEventMarks(marks.style, params.screenContext, document, rasterX, rasterY, params.style);
    ExpandEventsAround(static_cast<std::int16_t>(shown.month), static_cast<std::int16_t>(shown.year));
  }

  date = shown;
  DrawNeighboursAndWeekNumbers(context, grid, layout, marginY, marks);

  PackedDate current = PackDate(date.month, 1, date.year);
  std::int16_t column = layout.firstColumn;
  std::int16_t rowTop = NextRowTop(marginY, rasterY);
  // Outside 1904-2031 a month has no days: only the heading row is drawn.
  for (std::int16_t day = 1; day <= layout.days; ++day) {
    Rect cell = grid.DayCell(column, rowTop);
    const bool isToday = current == today;
    if (isToday && textSettings.todayColorGiven == 1) {
      platform::SetTextColor(context, textSettings.todayColor);
    } else {
      SetDayColor(context, PackedMonth(current), PackedDay(current), PackedYear(current));
    }
    char16_t number[3];
    FormatDay(PackedDay(current), number);
    platform::DrawText(context, number, -1, &cell, kCellFlags);
    marks.Draw(context, cell, current);
    if (isToday) PlaceTodayImage(context, document, section, cell, grid);

    AddDays(&current, 1);
    if (++column >= kDaysPerWeek) {
      column = 0;
      rowTop = NextRowTop(rowTop, rasterY);
    }
  }
  return sequence.Close();
}

}  // namespace orvendale
