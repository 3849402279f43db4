// Numbers: text that does not read as a number, numbers beyond 32 bits, 16-bit cuts,
// and values outside what draws (a cell of 0 or less, a picture past the surface limit,
// an Offset that leaves 1904-2031).

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "calendar/packed_date.h"
#include "check/checks.h"
#include "platform/drawing/graphics.h"
#include "render/grid_options.h"
#include "render/month_grid.h"
#include "render/month_layout.h"
#include "render/picture_style.h"
#include "platform/system/text.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

enum class Width { k32Bits, k16Bits };

// A number key of the settings table.
struct NumberKey {
  const char* section;
  const char* key;
  Width width;
  std::int32_t defaultValue;
};

std::vector<NumberKey> NumberKeys() {
  std::vector<NumberKey> keys;
  for (const SettingRow& row : SettingsTable()) {
    if (row.kind != SettingKind::kNumber && row.kind != SettingKind::kNumber16) continue;
    keys.push_back(NumberKey{row.section, row.key, row.kind == SettingKind::kNumber16 ? Width::k16Bits : Width::k32Bits,
                             row.defaultNumber});
  }
  return keys;
}
constexpr std::int32_t kLargestFontPixels = 2048;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when the whole text is a number as the reader reads it: blanks, a sign, digits.
bool ReadsWhole(const char* text) {
  while (IsSpace(*text)) ++text;
  if (*text == '+' || *text == '-') ++text;
  if (!IsDigit(*text)) return false;
  while (IsDigit(*text)) ++text;
  return *text == 0;
}

// True when the number at the start of the text lies beyond the 32-bit range, which
// the reader saturates.
bool Saturates(const char* text) {
  while (IsSpace(*text)) ++text;
  const bool negative = *text == '-';
  if (*text == '+' || *text == '-') ++text;
  while (*text == '0') ++text;
  std::string digits;
  while (IsDigit(*text)) digits += *text++;
  const std::string limit = negative ? "2147483648" : "2147483647";
  return digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit);
}

// The value a run uses for the key (after its 16-bit cut where there is one).
std::int32_t ValueOf(const CheckContext& context, const char* section, const char* key,
                     std::int32_t defaultValue, Width width) {
  const std::int32_t read = context.document->GetInt(section, key, defaultValue);
  return width == Width::k16Bits ? CutTo16Bits(read) : read;
}

void CheckReading(const CheckContext& context, const NumberKey& number, Report& report) {
  const char* text = context.Value(number.section, number.key);
  if (text == nullptr) return;
  const int line = context.LineOf(number.section, number.key);
  const std::string name = "[" + std::string(number.section) + "] " + number.key;
  const std::int32_t read = platform::DecimalToInt(text);
  if (text[0] == 0) {
    if (number.defaultValue != 0) {
      report.Warn(line, name + " is empty, which reads as 0, not as the default " +
                            std::to_string(number.defaultValue) + " (remove the line for the default)");
    }
    return;
  }
  if (!ReadsWhole(text)) {
    report.Warn(line, name + " " + Quote(text) + " is not a number: a run reads " + std::to_string(read) +
                          " (the digits at its start, if any)");
  } else if (Saturates(text)) {
    report.Warn(line, name + " " + Quote(text) + " is beyond the 32-bit range: a run reads " +
                          std::to_string(read));
  }
  if (number.width == Width::k16Bits && CutTo16Bits(read) != read) {
    report.Warn(line, name + " counts by its low 16 bits as a signed number: " + std::to_string(read) +
                          " counts as " + std::to_string(CutTo16Bits(read)));
  }
}

void CheckRanges(const CheckContext& context, Report& report) {
  const PictureTypeInfo& picture = context.PictureInfo();
  const std::int32_t width = ValueOf(context, "Image", "Width", 0, Width::k16Bits);
  const std::int32_t height = ValueOf(context, "Image", "Height", 0, Width::k16Bits);
  const std::int32_t marginX = ValueOf(context, "Image", "MarginX", 0, Width::k16Bits);
  const std::int32_t marginY = ValueOf(context, "Image", "MarginY", 0, Width::k16Bits);
  if (width < 0) report.Warn(context.LineOf("Image", "Width"), "[Image] Width " + std::to_string(width) + " is negative");
  if (height < 0) report.Warn(context.LineOf("Image", "Height"), "[Image] Height " + std::to_string(height) + " is negative");
  if (marginX < 0) report.Warn(context.LineOf("Image", "MarginX"), "[Image] MarginX " + std::to_string(marginX) + " is negative: the picture shrinks by twice that");
  if (marginY < 0) report.Warn(context.LineOf("Image", "MarginY"), "[Image] MarginY " + std::to_string(marginY) + " is negative: the picture shrinks by twice that");

  std::int64_t pictureWidth = -1;
  std::int64_t pictureHeight = -1;
  // Without a picture type the grid's cells are still checked, as for a grid: the file
  // is meant to draw some picture.
  if (picture.isMonthGrid || picture.type == PictureType::kNone) {
    // The grid as a run measures it.
    const MonthGridMeasure grid =
        MeasureMonthGrid(*context.document, "Contents", context.today, static_cast<std::int16_t>(width),
                         static_cast<std::int16_t>(height), static_cast<std::int16_t>(marginX),
                         static_cast<std::int16_t>(marginY));
    const char* keys[2] = {"RasterX", "RasterY"};
    const std::int32_t raster[2] = {grid.rasterX, grid.rasterY};
    for (int i = 0; i < 2; ++i) {
      if (raster[i] <= 0) {
        report.Warn(context.LineOf("Contents", keys[i]), std::string("[Contents] ") + keys[i] + " " +
                                                             std::to_string(raster[i]) +
                                                             " is 0 or less: the grid has no cells to draw in");
      }
    }
    if (picture.isMonthGrid) {
      pictureWidth = grid.pictureWidth;
      pictureHeight = grid.pictureHeight;
    }
  } else if (width != 0 && height != 0) {
    pictureWidth = width + 2 * std::int64_t{marginX};
    pictureHeight = height + 2 * std::int64_t{marginY};
  }
  // A scaled picture is every length times the scale (at most 4, the sums below 2^35).
  const std::int64_t scale = ReadPictureStyle(*context.document).scale;
  pictureWidth = pictureWidth >= 0 ? pictureWidth * scale : pictureWidth;
  pictureHeight = pictureHeight >= 0 ? pictureHeight * scale : pictureHeight;
  if (pictureWidth >= 0 || pictureHeight >= 0) {
    const std::string size = std::to_string(pictureWidth) + " x " + std::to_string(pictureHeight);
    const int line = context.LineOf("Image", width != 0 ? "Width" : "Height");
    if (pictureWidth <= 0 || pictureHeight <= 0) {
      report.Warn(line, "the picture would be " + size + " pixels: a side of 0 or less draws no picture");
    } else if (static_cast<std::uint64_t>(pictureWidth) * static_cast<std::uint64_t>(pictureHeight) * 4 >
               platform::kMaxBitmapBytes) {
      report.Warn(line, "the picture would be " + size + " pixels, more than the " +
                            std::to_string(platform::kMaxBitmapBytes >> 20) +
                            " MiB a picture may take: a run draws no picture");
    }
  }

  if (picture.readsOffset && context.Value("Contents", "Offset") != nullptr) {
    const std::int32_t offset = context.document->GetInt("Contents", "Offset", 0);
    DateRecord shown = context.today;
    if (offset != 0) AddMonths(&shown, CutTo16Bits(offset));
    if (shown.year < kFirstYear || shown.year > kLastYear) {
      report.Warn(context.LineOf("Contents", "Offset"),
                  "[Contents] Offset " + std::to_string(offset) + " moves " + std::to_string(context.today.year) +
                      "-" + std::to_string(context.today.month) +
                      " outside the years 1904 to 2031 that a run can draw: the month shows no days");
    }
  }

  for (const char* key : {"Height", "Size"}) {
    const std::int32_t fontHeight = ValueOf(context, "Font", key, 0, Width::k16Bits);
    if (std::abs(fontHeight) * scale > kLargestFontPixels) {
      report.Note(context.LineOf("Font", key), std::string("[Font] ") + key + " " + std::to_string(fontHeight) +
                                                   (scale != 1 ? " at scale " + std::to_string(scale) : std::string()) +
                                                   ": text is drawn at most 2048 pixels high");
    }
  }
}

}  // namespace

void CheckNumbers(const CheckContext& context, Report& report) {
  for (const NumberKey& number : NumberKeys()) CheckReading(context, number, report);
  CheckRanges(context, report);
}

}  // namespace orvendale
