#include "render/event_marks.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "calendar/event_set.h"
#include "platform/system/text.h"
#include "render/picture_extent.h"
#include "render/surface.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

constexpr int kMarkWordCapacity = 16;
constexpr char16_t kDigits[] = u"0123456789";

// The first row below the lowest pixel that is not the key colour; 0 for none.
std::int32_t InkBottom(const platform::Bitmap* bitmap) {
  platform::DibDescription dib;
  if (!platform::GetDibDescription(bitmap, &dib) || dib.bitmap.bits == nullptr) return 0;
  const std::int32_t width = dib.bitmap.width;
  const std::int32_t height = std::abs(dib.bitmap.height);
  const auto* bits = static_cast<const std::uint8_t*>(dib.bitmap.bits);
  for (std::int32_t y = height - 1; y >= 0; --y) {
    // Bottom-up rows: the picture's row y is stored at height - 1 - y.
    const std::int32_t stored = dib.bitmap.height > 0 ? height - 1 - y : y;
    const auto* row = reinterpret_cast<const std::uint32_t*>(bits + std::int64_t{stored} * dib.bitmap.widthBytes);
    for (std::int32_t x = 0; x < width; ++x) {
      if ((row[x] & 0x00FFFFFFu) != KeyColor) return y + 1;
    }
  }
  return 0;
}

void Fill(platform::DrawingContext* context, std::int64_t left, std::int64_t top, std::int64_t right,
          std::int64_t bottom, platform::Brush* brush) {
  const Rect rect{SaturateToInt32(left), SaturateToInt32(top), SaturateToInt32(right), SaturateToInt32(bottom)};
  platform::FillRect(context, &rect, brush);
}

// A filled disc of diameter `size` with its top left corner at (left, top).
void FillDot(platform::DrawingContext* context, std::int64_t left, std::int64_t top, std::int32_t size,
             platform::Brush* brush) {
  if (size <= 3) {
    Fill(context, left, top, left + size, top + size, brush);
    return;
  }
  const double radius = size / 2.0;
  for (std::int32_t row = 0; row < size; ++row) {
    const double y = row + 0.5 - radius;
    const double half = std::sqrt(std::max(0.0, radius * radius - y * y));
    const auto from = static_cast<std::int64_t>(std::lround(radius - half));
    const auto to = static_cast<std::int64_t>(std::lround(radius + half));
    if (to > from) Fill(context, left + from, top + row, left + to, top + row + 1, brush);
  }
}

}  // namespace

EventMarkStyle ReadEventMarkStyle(const IniDocument& document) {
  if (!EventsChosen()) return EventMarkStyle::kNone;
  char word[kMarkWordCapacity] = {};
  document.GetString(Setting("Events", "Mark").section, Setting("Events", "Mark").key, word, kMarkWordCapacity, nullptr);
  if (platform::KeywordEquals(word, "none")) return EventMarkStyle::kNone;
  if (platform::KeywordEquals(word, "bar")) return EventMarkStyle::kBar;
  return EventMarkStyle::kDot;
}

EventMarkGeometry PlanEventMarks(EventMarkStyle style, std::int32_t rasterX, std::int32_t rasterY,
                                 std::int32_t lineHeight, std::int32_t inkBottom) {
  EventMarkGeometry geometry;
  if (style == EventMarkStyle::kNone || rasterX < 3 || rasterY < 1 || lineHeight < 1) return geometry;
  // The number's text starts where DrawText centres a line in the cell.
  const std::int64_t textTop = (std::int64_t{rasterY} - lineHeight) / 2;
  const std::int64_t bandTop = std::max<std::int64_t>(textTop + inkBottom + 1, 0);
  if (bandTop >= rasterY) return geometry;
  geometry.bandTop = static_cast<std::int32_t>(bandTop);
  geometry.bandHeight = static_cast<std::int32_t>(rasterY - bandTop);
  geometry.size = std::max(2, lineHeight / 4);
  if (style == EventMarkStyle::kDot) geometry.size = std::min(geometry.size, geometry.bandHeight);
  geometry.thickness = std::min(std::max(1, geometry.size / 2), geometry.bandHeight);
  geometry.gap = std::max(1, geometry.size / 2);
  return geometry;
}

EventMarkGeometry MeasureEventMarks(EventMarkStyle style, platform::DrawingContext* screenContext,
                                    const IniDocument& document, std::int32_t rasterX, std::int32_t rasterY,
                                    const PictureStyle& pictureStyle) {
  if (style == EventMarkStyle::kNone) return {};
  // The digits at the picture's scale, measured in one-bit ink on a keyed surface.
  PictureStyle measuring;
  measuring.scale = pictureStyle.scale;
  DrawingSequence scratch(screenContext, document, measuring);
  Rect measured{0, 0, 0, 0};
  platform::DrawText(scratch.context(), kDigits, -1, &measured,
                     platform::TextFlags::kCalculateRect | platform::TextFlags::kSingleLine);
  const std::int32_t lineHeight = measured.bottom;
  if (measured.right <= 0 || lineHeight <= 0 || !scratch.PrepareSurface(measured.right, lineHeight)) return {};
  platform::SetTextColor(scratch.context(), KeyColor ^ 0x00FFFFFFu);
  platform::DrawText(scratch.context(), kDigits, -1, &measured, platform::TextFlags::kSingleLine);
  const Surface surface = scratch.Close();
  const std::int32_t inkBottom = InkBottom(surface);
  platform::DeleteBitmap(surface);
  const std::int64_t scale = pictureStyle.scale;
  return PlanEventMarks(style, static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{rasterX} * scale, INT32_MAX)),
                        static_cast<std::int32_t>(std::min<std::int64_t>(std::int64_t{rasterY} * scale, INT32_MAX)),
                        lineHeight, inkBottom);
}

void DrawEventMarks(platform::DrawingContext* context, const Rect& cell, std::uint32_t calendars, EventMarkStyle style,
                    const EventMarkGeometry& geometry) {
  const int count = std::popcount(calendars);
  if (style == EventMarkStyle::kNone || count == 0 || geometry.bandHeight <= 0) return;
  const std::int64_t cellWidth = std::int64_t{cell.right} - cell.left;
  // Shrink the marks until all of them fit, a pixel in from each side.
  std::int64_t size = geometry.size;
  std::int64_t gap = geometry.gap;
  const auto length = [&] { return style == EventMarkStyle::kBar ? 2 * size + 1 : size; };
  while (size > 1 && count * length() + (count - 1) * gap > cellWidth - 2) {
    --size;
    gap = std::max<std::int64_t>(1, size / 2);
  }
  const std::int64_t total = count * length() + (count - 1) * gap;
  if (total > cellWidth - 2) return;
  const std::int64_t height = style == EventMarkStyle::kBar ? std::min<std::int64_t>(geometry.thickness, size) : size;
  const std::int64_t top = std::int64_t{cell.top} + geometry.bandTop + (geometry.bandHeight - height) / 2;
  std::int64_t left = cell.left + (cellWidth - total) / 2;
  for (int slot = 0; slot < kMaxEventCalendars; ++slot) {
    if ((calendars >> slot & 1u) == 0) continue;
    platform::Brush* brush = platform::CreateSolidBrush(EventCalendarColor(slot));
    if (style == EventMarkStyle::kDot) {
      FillDot(context, left, top, static_cast<std::int32_t>(size), brush);
    } else {
      Fill(context, left, top, left + length(), top + height, brush);
    }
    platform::DeleteBrush(brush);
    left += length() + gap;
  }
}

}  // namespace orvendale
