// [Text] colours and the [Image] Background: text that does not read as RGB(r, g, b),
// components outside 0-255, and colour texts too long for the reader. Each finding names
// the colour a run draws, as the run's own reader reads it.

#include <string>

#include "calendar/text_settings.h"
#include "check/checks.h"
#include "check/text_checks.h"
#include "render/text_settings_loader.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

// The keys in the order of TextColorIndex.
constexpr const char* kColorKeys[kTextColorCount] = {
    Setting("Text", "Color").key,      Setting("Text", "SundayColor").key,     Setting("Text", "SaturdayColor").key,
    Setting("Text", "TodayColor").key, Setting("Text", "WeekNumberColor").key, Setting("Text", "OtherMonthColor").key};
constexpr const char* kComponentNames[] = {"red", "green", "blue"};

std::string ColorText(ColorRef color) {
  return "RGB(" + std::to_string(color & 0xFF) + ", " + std::to_string(color >> 8 & 0xFF) + ", " +
         std::to_string(color >> 16 & 0xFF) + ")";
}

// "the green and blue", for the components a text did not give.
std::string CarriedComponents(int componentsRead) {
  std::string names;
  for (int i = componentsRead; i < 3; ++i) {
    if (!names.empty()) names += i == 2 ? " and " : ", ";
    names += kComponentNames[i];
  }
  return names;
}

// Where the components a text does not give come from.
std::string CarriedFrom(int index, int componentsRead) {
  if (componentsRead == 0 && index == kTextColorIndex) return "all three components are 0";
  const std::string what = componentsRead == 0 ? "all three components" : "the " + CarriedComponents(componentsRead);
  if (index == kTextColorIndex) return what + " 0";
  return what + " carried over from the colour read before it";
}

// The colour a run reads from `text`, its components starting at 0, and what the parse did.
ColorReading ReadBackground(const char* text) {
  char16_t converted[kColorTextCapacity];
  std::size_t length = 0;
  for (; text[length] != 0 && length < kColorTextCapacity - 1; ++length) {
    converted[length] = static_cast<unsigned char>(text[length]);
  }
  converted[length] = 0;
  ColorComponents components;
  ColorReading reading;
  ParseColorText(converted, components, &reading);
  return reading;
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
  const ColorReading reading = ReadBackground(text);
  if (reading.componentsRead == 3 && reading.whole && reading.cutMask == 0) return;
  const std::string why = reading.componentsRead < 3 ? " does not read as RGB(red, green, blue)"
                          : !reading.whole           ? " has text after the third number, which is ignored"
                                                     : " has a component outside 0-255";
  report.Warn(line, name + " " + Quote(text) + why + ": a run fills the picture with " + ColorText(reading.color));
}

void CheckTextColors(const CheckContext& context, Report& report) {
  ColorReading readings[kTextColorCount];
  ReadTextColors(*context.document, &readings);
  for (int index = 0; index < kTextColorCount; ++index) {
    const char* key = kColorKeys[index];
    const char* text = context.Value("Text", key);
    if (text == nullptr) continue;
    const ColorReading& reading = readings[index];
    const int line = context.LineOf("Text", key);
    const std::string name = std::string("[Text] ") + key;
    const std::string drawn = "a run draws " + ColorText(reading.color);
    if (WideTextLength(text) > kColorTextCapacity - 1) {
      report.Warn(line, name + " is longer than " + std::to_string(kColorTextCapacity - 1) + " characters: " +
                            (reading.parsed ? "a run reads it as empty and draws " + ColorText(reading.color) +
                                                  ", " + CarriedFrom(index, 0)
                                            : std::string("a run reads it as empty and ignores it")));
      continue;
    }
    if (!reading.parsed) {  // an empty TodayColor
      report.Warn(line, name + " is empty: a run ignores it");
      continue;
    }
    if (reading.componentsRead < 3) {
      report.Warn(line, name + " " + Quote(text) + " does not read as RGB(red, green, blue): " + drawn + ", " +
                            CarriedFrom(index, reading.componentsRead));
    } else if (!reading.whole) {
      report.Warn(line, name + " " + Quote(text) +
                            " does not read as RGB(red, green, blue): the text after the third number is ignored");
    }
    if (reading.cutMask != 0) {
      report.Warn(line, name + " " + Quote(text) + " has a component outside 0-255: " + drawn +
                            " (each number cut to its lowest 8 bits)");
    }
  }
}

}  // namespace orvendale
