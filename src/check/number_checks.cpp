// Numbers: text that does not read as a number, numbers beyond 32 bits, 16-bit cuts,
// and values outside what draws (a cell of 0 or less, a picture past the surface limit,
// an Offset that leaves 1904-2031).

#include <cstdint>
#include <cstdlib>
#include <string>

#include "calendar/packed_date.h"
#include "check/checks.h"
#include "platform/drawing/graphics.h"
#include "render/grid_options.h"
#include "render/month_layout.h"
#include "platform/system/text.h"

namespace orvendale {
namespace {

enum class Width { k32Bits, k16Bits };

struct NumberKey {
  const char* section;
  const char* key;
  Width width;
  std::int32_t defaultValue;
};

constexpr NumberKey kNumberKeys[] = {
    {"Image", "Width", Width::k16Bits, 0},       {"Image", "Height", Width::k16Bits, 0},
    {"Image", "MarginX", Width::k16Bits, 0},     {"Image", "MarginY", Width::k16Bits, 0},
    {"Contents", "Offset", Width::k16Bits, 0},   {"Contents", "RasterX", Width::k32Bits, 24},
    {"Contents", "RasterY", Width::k32Bits, 20}, {"Font", "Height", Width::k16Bits, 0},
    {"Font", "Size", Width::k16Bits, 0},
};

constexpr std::int32_t kDefaultRaster[2] = {24, 20};
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
  const std::string type = context.PictureType();
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
  if (type == "Calendar") {
    const char* keys[2] = {"RasterX", "RasterY"};
    std::int32_t raster[2];
    for (int i = 0; i < 2; ++i) {
      raster[i] = ValueOf(context, "Contents", keys[i], kDefaultRaster[i], Width::k32Bits);
      if (raster[i] <= 0) {
        report.Warn(context.LineOf("Contents", keys[i]), std::string("[Contents] ") + keys[i] + " " +
                                                             std::to_string(raster[i]) +
                                                             " is 0 or less: the grid has no cells to draw in");
      }
    }
    // The grid's columns and rows as the month to be drawn lays them out: a column more
    // for week numbers, the heading row and the week rows the month takes.
    DateRecord shown = context.today;
    const std::int32_t offset = context.document->GetInt("Contents", "Offset", 0);
    if (offset != 0) AddMonths(&shown, CutTo16Bits(offset));
    const MonthLayout layout = LayOutMonth(static_cast<std::int16_t>(shown.month),
                                           static_cast<std::int16_t>(shown.year),
                                           ReadGridOptions(*context.document, "Contents"));
    const std::int64_t columns = 7 + (layout.options.weekNumbers != WeekNumbering::kNone ? 1 : 0);
    const std::int64_t rows = 1 + std::int64_t{layout.weekRows};
    pictureWidth = (width != 0 ? width : columns * raster[0]) + 2 * std::int64_t{marginX};
    pictureHeight = (height != 0 ? height : rows * raster[1]) + 2 * std::int64_t{marginY};
  } else if (!type.empty() && width != 0 && height != 0) {
    pictureWidth = width + 2 * std::int64_t{marginX};
    pictureHeight = height + 2 * std::int64_t{marginY};
  }
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

  if ((type == "Calendar" || type == "CalendarHeader") && context.Value("Contents", "Offset") != nullptr) {
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
    if (std::abs(fontHeight) > kLargestFontPixels) {
      report.Note(context.LineOf("Font", key), std::string("[Font] ") + key + " " + std::to_string(fontHeight) +
                                                   ": text is drawn at most 2048 pixels high");
    }
  }
}

}  // namespace

void CheckNumbers(const CheckContext& context, Report& report) {
  for (const NumberKey& number : kNumberKeys) CheckReading(context, number, report);
  CheckRanges(context, report);
}

}  // namespace orvendale
