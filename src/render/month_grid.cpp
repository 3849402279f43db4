#include "render/month_grid.h"

#include <cstdint>

#include "calendar/holidays.h"
#include "calendar/packed_date.h"
#include "calendar/text_settings.h"
#include "imagefile/image_folder.h"
#include "imagefile/image_placement.h"
#include "platform/drawing/graphics.h"
#include "render/picture_extent.h"
#include "render/surface.h"
#include "settings/ini_document.h"

namespace orvendale {
namespace {

constexpr std::int32_t kDefaultRasterX = 24;
constexpr std::int32_t kDefaultRasterY = 20;
// The heading row and six week rows, the most any month needs.
constexpr std::int64_t kRowsInDefaultHeight = 7;
constexpr std::int16_t kSaturdayColumn = 6;

// Every cell: single line, centred in height, at the right edge.
constexpr std::uint32_t kCellFlags = platform::TextFlags::kSingleLine |
                                     platform::TextFlags::kVerticalCenter |
                                     platform::TextFlags::kRight;

// Week row tops are 16-bit values: each sum keeps its low 16 bits.
std::int16_t NextRowTop(std::int64_t top, std::int32_t rasterY) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint64_t>(top + rasterY)));
}

// Decimal text of a day of the month, 1 to 31.
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

ColorRef HeadingColor(int column) {
  if (column == 0) return textSettings.sundayColor;
  if (column == kSaturdayColumn) return textSettings.saturdayColor;
  return textSettings.textColor;
}

// The TodayImage centred over today's cell, drawn after the number and so over it.
void PlaceTodayImage(platform::DrawingContext* context, const IniDocument& document,
                     const char* section, const Rect& cell, std::int32_t rasterX,
                     std::int32_t rasterY) {
  char16_t name[kPathCapacity];
  if (document.GetWideString(section, "TodayImage", name, kPathCapacity, nullptr) == 0) return;
  std::int32_t imageWidth = 0;
  std::int32_t imageHeight = 0;
  GetImageFileSize(name, &imageWidth, &imageHeight);
  // Division truncates toward zero: an image one pixel wider than the cell starts at
  // the cell's left edge, three wider one pixel left of it.
  const std::int64_t x = cell.left + (std::int64_t{rasterX} - imageWidth) / 2;
  const std::int64_t y = cell.top + (std::int64_t{rasterY} - imageHeight) / 2;
  DrawImageFile(context, SaturateToInt32(x), SaturateToInt32(y), name);
}

}  // namespace

Rect MakeCellRect(const Rect& base, std::int64_t dx, std::int64_t dy, std::int64_t cellWidth,
                  std::int64_t cellHeight) {
  const std::int64_t left = base.left + dx;
  const std::int64_t top = base.top + dy;
  return Rect{SaturateToInt32(left), SaturateToInt32(top), SaturateToInt32(left + cellWidth),
              SaturateToInt32(top + cellHeight)};
}

Surface RenderCalendar(const RenderParams& params) {
  const IniDocument& document = *params.document;
  const char* section = params.contentSection;
  DateRecord& date = *params.date;

  const std::int32_t rasterX = document.GetInt(section, "RasterX", kDefaultRasterX);
  const std::int32_t rasterY = document.GetInt(section, "RasterY", kDefaultRasterY);
  const std::int16_t marginX = CutTo16Bits(params.marginX);
  const std::int16_t marginY = CutTo16Bits(params.marginY);
  const std::int16_t width = CutTo16Bits(params.width);
  const std::int16_t height = CutTo16Bits(params.height);
  const std::int32_t pictureWidth = PictureExtent(
      (width != 0 ? width : std::int64_t{kDaysPerWeek} * rasterX) + 2 * std::int64_t{marginX});
  const std::int32_t pictureHeight = PictureExtent(
      (height != 0 ? height : kRowsInDefaultHeight * rasterY) + 2 * std::int64_t{marginY});

  DrawingSequence sequence(params.screenContext, document);
  if (!sequence.PrepareSurface(pictureWidth, pictureHeight)) return nullptr;
  platform::DrawingContext* context = sequence.context();
  const Rect picture{0, 0, pictureWidth, pictureHeight};

  // The heading row is coloured by column alone, never by holidays.
  for (int column = 0; column < kDaysPerWeek; ++column) {
    platform::SetTextColor(context, HeadingColor(column));
    Rect cell = MakeCellRect(picture, marginX + std::int64_t{column} * rasterX, marginY, rasterX, rasterY);
    platform::DrawText(context, textSettings.shortWeekdayNames[column], -1, &cell, kCellFlags);
  }

  // Today is taken before Offset moves the date, so another month has no today cell.
  const PackedDate today = PackDate(date.month, date.day, date.year);
  const std::int32_t offset = document.GetInt(section, "Offset", 0);
  if (offset != 0) AddMonths(&date, CutTo16Bits(offset));

  PackedDate current = PackDate(date.month, 1, date.year);
  std::int16_t column = WeekdayOf(PackedMonth(current), 1, PackedYear(current));
  std::int16_t rowTop = NextRowTop(marginY, rasterY);
  // Outside 1904-2031 a month has no days: only the heading row is drawn.
  const std::int16_t days = DaysInMonth(static_cast<std::int16_t>(date.month),
                                        static_cast<std::int16_t>(date.year));

  for (std::int16_t day = 1; day <= days; ++day) {
    Rect cell = MakeCellRect(picture, std::int64_t{column} * rasterX + marginX, rowTop, rasterX, rasterY);
    const bool isToday = current == today;
    if (isToday && textSettings.todayColorGiven == 1) {
      platform::SetTextColor(context, textSettings.todayColor);
    } else {
      SetDayColor(context, PackedMonth(current), PackedDay(current), PackedYear(current));
    }
    char16_t number[3];
    FormatDay(PackedDay(current), number);
    platform::DrawText(context, number, -1, &cell, kCellFlags);
    if (isToday) PlaceTodayImage(context, document, section, cell, rasterX, rasterY);

    AddDays(&current, 1);
    if (++column >= kDaysPerWeek) {
      column = 0;
      rowTop = NextRowTop(rowTop, rasterY);
    }
  }
  return sequence.Close();
}

}  // namespace orvendale
