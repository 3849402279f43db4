// [Text] colours and the [Image] Background: text that does not read as RGB(r, g, b),
// components outside 0-255, and colour texts too long for the reader.

#include <cstdint>
#include <string>

#include "calendar/text_settings.h"
#include "check/checks.h"
#include "check/text_checks.h"
#include "render/text_settings_loader.h"

namespace orvendale {
namespace {

constexpr const char* kColorKeys[] = {"Color", "SundayColor", "SaturdayColor", "TodayColor",
                                      "WeekNumberColor", "OtherMonthColor"};
constexpr std::int64_t kLargestComponent = 255;

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads "RGB(r, g, b)" with an optional ")" and nothing after it. Returns how many
// numbers were read before the text stopped matching; `whole` tells whether the text
// matched to its end. Numbers are kept saturated far beyond 0-255.
int ReadColor(const char* text, std::int64_t (&numbers)[3], bool* whole) {
  *whole = false;
  const char* at = text;
  for (const char letter : {'R', 'G', 'B', '('}) {
    if (*at++ != letter) return 0;
  }
  int count = 0;
  for (; count < 3; ++count) {
    if (count > 0) {
      if (*at != ',') return count;
      ++at;
    }
    while (IsSpace(*at)) ++at;
    bool negative = false;
    if (*at == '+' || *at == '-') negative = *at++ == '-';
    if (!IsDigit(*at)) return count;
    std::int64_t value = 0;
    for (; IsDigit(*at); ++at) {
      if (value < (std::int64_t{1} << 40)) value = value * 10 + (*at - '0');
    }
    numbers[count] = negative ? -value : value;
  }
  if (*at == ')') ++at;
  // Blanks after the colour are harmless (the check of kept blanks tells about tabs).
  while (IsSpace(*at)) ++at;
  *whole = *at == 0;
  return count;
}

std::string ColorText(ColorRef color) {
  return "RGB(" + std::to_string(color & 0xFF) + ", " + std::to_string(color >> 8 & 0xFF) + ", " +
         std::to_string(color >> 16 & 0xFF) + ")";
}

// The colour a run reads from `text`, its components starting at 0.
ColorRef DrawnColor(const char* text) {
  char16_t converted[kColorTextCapacity];
  std::size_t length = 0;
  for (; text[length] != 0 && length < kColorTextCapacity - 1; ++length) {
    converted[length] = static_cast<unsigned char>(text[length]);
  }
  converted[length] = 0;
  ColorComponents components;
  return ParseColorText(converted, components);
}

}  // namespace

void CheckBackgroundColor(const CheckContext& context, Report& report) {
  const char* text = context.Value("Image", "Background");
  if (text == nullptr) return;
  const int line = context.LineOf("Image", "Background");
  const std::string name = "[Image] Background";
  if (WideTextLength(text) > kColorTextCapacity - 1) {
    report.Warn(line, name + " is longer than " + std::to_string(kColorTextCapacity - 1) +
                          " characters: a run reads it as empty and fills the picture with RGB(0, 0, 0)");
    return;
  }
  std::int64_t numbers[3] = {0, 0, 0};
  bool whole = false;
  const int count = ReadColor(text, numbers, &whole);
  bool outside = false;
  for (int i = 0; i < count; ++i) outside = outside || numbers[i] < 0 || numbers[i] > kLargestComponent;
  if (count == 3 && whole && !outside) return;
  std::string why = count < 3 ? " does not read as RGB(red, green, blue)"
                    : !whole  ? " has text after the third number, which is ignored"
                              : " has a component outside 0-255";
  report.Warn(line, name + " " + Quote(text) + why + ": a run fills the picture with " +
                        ColorText(DrawnColor(text)));
}

void CheckTextColors(const CheckContext& context, Report& report) {
  for (const char* key : kColorKeys) {
    const char* text = context.Value("Text", key);
    if (text == nullptr) continue;
    const int line = context.LineOf("Text", key);
    const std::string name = std::string("[Text] ") + key;
    if (WideTextLength(text) > kColorTextCapacity - 1) {
      report.Warn(line, name + " is longer than " + std::to_string(kColorTextCapacity - 1) +
                            " characters: a run reads it as empty, which keeps the colour read before it");
      continue;
    }
    std::int64_t numbers[3] = {0, 0, 0};
    bool whole = false;
    const int count = ReadColor(text, numbers, &whole);
    if (count < 3 || !whole) {
      report.Warn(line, name + " " + Quote(text) + " does not read as RGB(red, green, blue)" +
                            (count < 3 ? ": the components it does not give keep those of the colour read before it"
                                       : ": the text after the third number is ignored"));
    }
    for (int i = 0; i < count; ++i) {
      if (numbers[i] >= 0 && numbers[i] <= kLargestComponent) continue;
      ColorComponents components;
      char16_t converted[kColorTextCapacity];
      std::size_t length = 0;
      for (; text[length] != 0 && length < kColorTextCapacity - 1; ++length) {
        converted[length] = static_cast<unsigned char>(text[length]);
      }
      converted[length] = 0;
      const ColorRef drawn = ParseColorText(converted, components);
      report.Warn(line, name + " " + Quote(text) + " has a component outside 0-255: a run draws " +
                            ColorText(drawn) + " (or keeps earlier components where this text gives none)");
      break;
    }
  }
}

}  // namespace orvendale
