// Date patterns over arbitrary patterns, dates and names. The input is the year, month
// and day (16 bits each), a flag byte, and the pattern as UTF-16 units. The output must
// be terminated within its 64 units, and a pattern and names without lone surrogates
// must never give one: a cut falls between whole characters.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "calendar/date_pattern.h"
#include "calendar/text_settings.h"
#include "settings/settings_table.h"
#include "fuzz_support.h"

namespace orvendale {
namespace {

using fuzzing::Check;

bool IsHigh(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool WellFormed(const char16_t* text, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) {
    if (IsHigh(text[i])) {
      if (i + 1 >= length || !IsLow(text[i + 1])) return false;
      ++i;
    } else if (IsLow(text[i])) {
      return false;
    }
  }
  return true;
}

// Fills a name slot of `capacity` units with `pairs` copies of one supplementary
// character, so that expanded names end on surrogate pairs.
template <std::size_t N>
void FillPairs(char16_t (&slot)[N], int pairs) {
  int at = 0;
  for (int i = 0; i < pairs && at + 2 < static_cast<int>(N); ++i) {
    slot[at++] = 0xD835;
    slot[at++] = 0xDC9C;
  }
  slot[at] = 0;
}

}  // namespace
}  // namespace orvendale

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvendale;
  constexpr std::size_t kHeader = 7;
  if (size < kHeader) return 0;
  DateRecord date;
  std::memcpy(&date.year, data, 2);
  std::memcpy(&date.month, data + 2, 2);
  std::memcpy(&date.day, data + 4, 2);
  const std::uint8_t flags = data[6];

  // Names: the built-in ones, or names of surrogate pairs that fill their slots.
  static const TextSettings builtIn = [] {
    TextSettings names;
    for (int i = 0; i < 7; ++i) {
      std::char_traits<char16_t>::copy(names.shortWeekdayNames[i], kWeekdayNameKeys[i].shortDefault,
                                       std::char_traits<char16_t>::length(kWeekdayNameKeys[i].shortDefault) + 1);
      std::char_traits<char16_t>::copy(names.longWeekdayNames[i], kWeekdayNameKeys[i].longDefault,
                                       std::char_traits<char16_t>::length(kWeekdayNameKeys[i].longDefault) + 1);
    }
    for (int i = 0; i < 12; ++i) {
      std::char_traits<char16_t>::copy(names.shortMonthNames[i], kMonthNameKeys[i].shortDefault,
                                       std::char_traits<char16_t>::length(kMonthNameKeys[i].shortDefault) + 1);
      std::char_traits<char16_t>::copy(names.longMonthNames[i], kMonthNameKeys[i].longDefault,
                                       std::char_traits<char16_t>::length(kMonthNameKeys[i].longDefault) + 1);
    }
    return names;
  }();
  textSettings = builtIn;
  if ((flags & 1) != 0) {
    const int pairs = 1 + (flags >> 1) % 7;
    for (auto& name : textSettings.shortWeekdayNames) FillPairs(name, pairs);
    for (auto& name : textSettings.longWeekdayNames) FillPairs(name, pairs);
    for (auto& name : textSettings.shortMonthNames) FillPairs(name, pairs);
    for (auto& name : textSettings.longMonthNames) FillPairs(name, pairs);
  }

  std::u16string pattern((size - kHeader) / 2, u'\0');
  std::memcpy(pattern.data(), data + kHeader, pattern.size() * 2);
  const std::size_t patternLength = std::char_traits<char16_t>::length(pattern.c_str());

  std::array<char16_t, kPatternCapacity> out;
  out.fill(u'#');
  ExpandDatePattern((flags & 0x80) != 0 ? nullptr : pattern.c_str(), date, out);
  const char16_t* end = std::char_traits<char16_t>::find(out.data(), out.size(), 0);
  Check(end != nullptr);
  const std::size_t length = static_cast<std::size_t>(end - out.data());
  if (WellFormed(pattern.c_str(), patternLength)) Check(WellFormed(out.data(), length));
  if ((flags & 0x80) != 0 || patternLength == 0) Check(length == 0);
  return 0;
}
