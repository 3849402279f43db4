#pragma once
// The names and colours of the text, filled once per run from the settings and read
// by the date patterns, the day colours and the renderers.

#include <cstdint>

#include "platform/types.h"

namespace orvendale {

inline constexpr int kShortNameCapacity = 8;  // 7 characters and the terminator
inline constexpr int kLongNameCapacity = 16;  // 15 characters and the terminator

struct TextSettings {
  char16_t shortWeekdayNames[7][kShortNameCapacity] = {};  // 0 = Sunday .. 6 = Saturday
  char16_t longWeekdayNames[7][kLongNameCapacity] = {};
  char16_t shortMonthNames[12][kShortNameCapacity] = {};  // 0 = January .. 11 = December
  char16_t longMonthNames[12][kLongNameCapacity] = {};
  // Where a locale declines month names: the forms that stand beside a day number
  // ("20 marca" against "marzec"), used by a date pattern that writes the day of the
  // month. Meaningful only while monthNamesWithDayGiven is 1.
  char16_t shortMonthNamesWithDay[12][kShortNameCapacity] = {};
  char16_t longMonthNamesWithDay[12][kLongNameCapacity] = {};
  std::int32_t monthNamesWithDayGiven = 0;
  // The first day of the week of the [Contents] Locale, 0 = Sunday .. 6 = Saturday;
  // -1 without a locale.
  std::int32_t localeFirstWeekday = -1;
  // 1 when the [Contents] Locale is written right to left; 0 otherwise and without one.
  std::int32_t localeRightToLeft = 0;
  ColorRef textColor = 0;
  ColorRef sundayColor = 0;  // Sundays and public holidays
  ColorRef saturdayColor = 0;
  ColorRef todayColor = 0;  // meaningful only while todayColorGiven is 1
  std::int32_t todayColorGiven = 0;
  // The month grid's week-number column: its heading, and the colour of the heading and
  // the numbers.
  char16_t shortWeekName[kShortNameCapacity] = {};
  // The [Contents] Locale's narrowest weekday names ("P", "日"), which the grid's heading
  // row takes when a name of shortWeekdayNames does not fit its cell. Meaningful only
  // while narrowWeekdayNamesGiven is 1: a Locale and no [ShortName] weekday key.
  char16_t narrowWeekdayNames[7][kShortNameCapacity] = {};
  std::int32_t narrowWeekdayNamesGiven = 0;
  // The same for the week heading: the Locale's narrow name of the week ("W" for
  // "Woche"), meaningful only while narrowWeekNameGiven is 1 (no [ShortName] Week key).
  char16_t narrowWeekName[kShortNameCapacity] = {};
  std::int32_t narrowWeekNameGiven = 0;
  ColorRef weekNumberColor = 0;
  ColorRef otherMonthColor = 0;  // days of the neighbouring months in the month grid
};

// The process-wide instance. Written only by LoadTextSettings.
extern TextSettings textSettings;

}  // namespace orvendale
