#pragma once
// Fills the process-wide text settings (weekday and month names, text colours) from the
// settings document, once per run before any renderer draws.

#include <cstdint>

#include "platform/types.h"

namespace orvendale {

class IniDocument;

// A colour text is read into a buffer of this many wide characters (63 and the
// terminator); a longer text reads as no text.
inline constexpr int kColorTextCapacity = 64;

// The red, green and blue numbers most recently read from a colour text. They carry
// over from one colour to the next: a number a text does not give keeps its value.
struct ColorComponents {
  std::uint32_t red = 0;
  std::uint32_t green = 0;
  std::uint32_t blue = 0;
};

// What one parse of a colour text did, for a caller that explains a colour.
struct ColorReading {
  bool parsed = false;          // the run parsed a text for this colour (see ReadTextColors)
  ColorComponents before;       // the components the text started from
  int componentsRead = 0;       // numbers read, 0-3; the others carried over from `before`
  bool whole = false;           // three numbers, then at most ")" and white space
  unsigned cutMask = 0;         // bit 0 red, 1 green, 2 blue: a number outside 0-255, cut to 8 bits
  ColorRef color = 0;           // the colour the parse gave
};

// Reads the colour text `text` (null reads as empty) as the pattern "RGB(%d, %d, %d)"
// and returns the colour of the components afterwards, the low 8 bits of each.
//
// The letters "RGB(" and each "," must match exactly, in that case; the blank after a
// comma matches any run of white space, also none; each number skips leading white
// space and is an optionally signed run of decimal digits. Matching stops at the first
// character that does not fit, and nothing after the third number is looked at, so the
// closing parenthesis is optional. Each number read replaces its component. A number
// beyond the signed 32-bit range is read as its largest or smallest number: 4294967552
// counts as 2147483647 and gives 255, -4294967296 as -2147483648 and gives 0. White
// space is blank, tab, line feed, vertical tab, form feed and carriage return.
//
// With `reading`, also records there what the parse did.
ColorRef ParseColorText(const char16_t* text, ColorComponents& components, ColorReading* reading = nullptr);

// The [Text] colours in the order a run reads them.
enum TextColorIndex : int {
  kTextColorIndex,
  kSundayColorIndex,
  kSaturdayColorIndex,
  kTodayColorIndex,
  kWeekNumberColorIndex,
  kOtherMonthColorIndex,
  kTextColorCount,
};

struct TextColors {
  ColorRef text = 0;
  ColorRef sunday = 0;
  ColorRef saturday = 0;
  ColorRef today = 0;  // only when todayGiven
  bool todayGiven = false;
  ColorRef weekNumber = 0;
  ColorRef otherMonth = 0;
};

// The [Text] colours as LoadTextSettings reads them (see there); with `readings`, what
// the parse of each did, by TextColorIndex (`parsed` false for a colour that took its
// fallback without a parse).
TextColors ReadTextColors(const IniDocument& document, ColorReading (*readings)[kTextColorCount]);

// Fills textSettings from `document`:
// - the short and long weekday names from [ShortName] and [LongName] keys "Sun".."Sat"
//   and the month names from keys "Jan".."Dec", each the built-in name when the key is
//   absent and empty when the key is present without a value. A name longer than its
//   slot (7 or 15 characters) is cut to the slot, never inside a surrogate pair.
// - with a [Contents] Locale the locale data knows (see render/locale_names.h), the
//   locale's names instead of the built-in ones for absent keys, the month names used
//   beside a day number (monthNamesWithDayGiven 1), and localeFirstWeekday; without
//   one, monthNamesWithDayGiven is 0 and localeFirstWeekday -1.
// - textColor, sundayColor and saturdayColor from [Text] Color, SundayColor and
//   SaturdayColor, each "RGB(255, 255, 255)" when absent, parsed in that order with
//   components that start at 0 and carry over;
// - todayColor from [Text] TodayColor, after SaturdayColor, only when that key gives
//   text; then todayColorGiven becomes 1. Otherwise both are left as they were.
// - after those, for the month grid's options: shortWeekName from [ShortName] "Week"
//   ("Wk" when absent, cut to 7 characters), then weekNumberColor from [Text]
//   WeekNumberColor and otherMonthColor from [Text] OtherMonthColor. Each of the two
//   colours is textColor (WeekNumberColor) or RGB(160, 160, 160) (OtherMonthColor) when
//   its key is absent; a present key is parsed with the running components as above, so
//   an empty or unmatched text keeps the components of the colour read before it. Being
//   read last, they never change the four colours before them.
void LoadTextSettings(const IniDocument& document);

}  // namespace orvendale
