#include "render/single_line.h"

#include <algorithm>
#include <cstdint>

#include "calendar/date_pattern.h"
#include "calendar/holidays.h"
#include "calendar/packed_date.h"
#include "calendar/text_settings.h"
#include "platform/drawing/graphics.h"
#include "platform/system/text.h"
#include "render/picture_extent.h"
#include "render/surface.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

// [Contents] Alignment: 15 bytes and the terminator.
constexpr int kAlignmentCapacity = 16;

enum class LineContent { kCalendarHeader, kDate };

// The text always sits on the bottom edge, single line; Alignment chooses the side.
std::uint32_t AlignmentFlags(const IniDocument& document, const char* section) {
  using namespace platform::TextFlags;
  std::uint32_t flags = kSingleLine;
  char alignment[kAlignmentCapacity];
  if (document.GetString(section, Setting("Contents", "Alignment").key, alignment, kAlignmentCapacity, nullptr) != 0) {
    if (platform::KeywordEquals(alignment, "center")) {
      flags |= kCenter;
    } else if (platform::KeywordEquals(alignment, "right")) {
      flags |= kRight;
    }
  }
  return flags | kBottom;
}

// The width (right) and height (bottom) of the single-line text with the context's font.
Rect Measure(platform::DrawingContext* context, const char16_t* text) {
  Rect measured{0, 0, 0, 0};
  platform::DrawText(context, text, -1, &measured,
                     platform::TextFlags::kCalculateRect | platform::TextFlags::kSingleLine);
  return measured;
}

Surface RenderLine(const RenderParams& params, LineContent content) {
  const IniDocument& document = *params.document;
  const char* section = params.contentSection;
  DateRecord& date = *params.date;

  if (content == LineContent::kCalendarHeader) {
    const std::int32_t offset = document.GetInt(section, Setting("Contents", "Offset").key, Setting("Contents", "Offset").defaultNumber);
    if (offset != 0) AddMonths(&date, CutTo16Bits(offset));
  }

  char16_t pattern[kPatternCapacity];
  if (document.GetWideString(section, Setting("Contents", "Format").key, pattern, kPatternCapacity, nullptr) == 0) {
    return nullptr;
  }
  char16_t text[kPatternCapacity];
  ExpandDatePattern(pattern, date, text);

  DrawingSequence sequence(params.screenContext, document, params.style);
  Rect measured = Measure(sequence.context(), text);
  const std::int32_t scale = params.style.scale;
  if (scale != kSmallestScale) {
    // A scaled picture is as large as the unscaled one times the scale, so that one
    // settings file gives the same picture at each scale; it grows only where the text,
    // drawn at the larger size, would not fit that.
    PictureStyle unscaled = params.style;
    unscaled.scale = kSmallestScale;
    const platform::LogicalFont record = StyledFontRecord(ConfiguredFontRecord(document, "Font"), unscaled);
    // Without that font the picture takes the size of the larger text alone.
    if (platform::Font* font = platform::CreateFontIndirect(&record); font != nullptr) {
      platform::Font* previous = platform::SelectFont(sequence.context(), font);
      const Rect small = Measure(sequence.context(), text);
      platform::SelectFont(sequence.context(), previous);
      platform::DeleteFont(font);
      // Sizes of text of at most 63 characters at most 2048 pixels: far inside 32 bits.
      measured.right = std::max(measured.right, small.right * scale);
      measured.bottom = std::max(measured.bottom, small.bottom * scale);
    }
  }

  // Only the low 16 bits of the size and margins count; 0 means the measured size, which
  // the scaled font has already made larger. Each cut value is then scaled: at most 4
  // times 2^15, well inside 32 bits.
  const std::int32_t width = CutTo16Bits(params.width) * scale;
  const std::int32_t height = CutTo16Bits(params.height) * scale;
  const std::int32_t marginX = CutTo16Bits(params.marginX) * scale;
  const std::int32_t marginY = CutTo16Bits(params.marginY) * scale;
  const std::int32_t pictureWidth =
      PictureExtent(std::int64_t{width != 0 ? width : measured.right} + 2 * std::int64_t{marginX});
  const std::int32_t pictureHeight =
      PictureExtent(std::int64_t{height != 0 ? height : measured.bottom} + 2 * std::int64_t{marginY});

  if (!sequence.PrepareSurface(pictureWidth, pictureHeight)) return nullptr;

  const std::uint32_t flags = AlignmentFlags(document, section);
  if (content == LineContent::kCalendarHeader) {
    platform::SetTextColor(sequence.context(), textSettings.textColor);
  } else {
    SetDayColor(sequence.context(), static_cast<std::int16_t>(date.month),
                static_cast<std::int16_t>(date.day), static_cast<std::int16_t>(date.year));
  }

  // The picture inset by the margins on all four sides.
  Rect area{marginX, marginY, pictureWidth - marginX, pictureHeight - marginY};
  platform::DrawText(sequence.context(), text, -1, &area, flags);
  return sequence.Close();
}

}  // namespace

Surface RenderCalendarHeader(const RenderParams& params) {
  return RenderLine(params, LineContent::kCalendarHeader);
}

Surface RenderDate(const RenderParams& params) { return RenderLine(params, LineContent::kDate); }

}  // namespace orvendale
