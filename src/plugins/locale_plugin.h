#pragma once
// The table of functions of the locale plugin "locale-icu" (orvendale-locale-icu.so; ICU;
// see platform/system/plugin.h): the weekday and month names of a locale, its first day
// of the week, and what its script asks of the text drawing. Bounded in work and memory, never throws, prints nothing.
#include <cstdint>

inline constexpr int kOrvendaleLocaleShortName = 8;  // 7 UTF-16 units and the terminator
inline constexpr int kOrvendaleLocaleLongName = 16;  // 15 UTF-16 units and the terminator
inline constexpr int kOrvendaleLocaleTag = 64;       // 63 bytes and the terminator

// Every name is UTF-16, terminated, and cut to its slot only between two user-perceived
// characters (grapheme clusters): never inside a surrogate pair, never between a letter
// and its combining marks. Weekdays run 0 = Sunday .. 6 = Saturday, months 0 = January.
struct OrvendaleLocaleNames {
  // Set by the caller to sizeof(OrvendaleLocaleNames); a plugin built with another
  // layout refuses the call.
  std::uint32_t size;
  // The stand-alone names, for a heading cell or a month named on its own ("marzec").
  char16_t shortWeekdays[7][kOrvendaleLocaleShortName];
  char16_t longWeekdays[7][kOrvendaleLocaleLongName];
  char16_t shortMonths[12][kOrvendaleLocaleShortName];
  char16_t longMonths[12][kOrvendaleLocaleLongName];
  // The month names as they stand beside a day number ("20 marca"), where the
  // language declines them; elsewhere the same as the stand-alone names.
  char16_t shortMonthsWithDay[12][kOrvendaleLocaleShortName];
  char16_t longMonthsWithDay[12][kOrvendaleLocaleLongName];
  std::int32_t firstWeekday;  // 0 = Sunday .. 6 = Saturday
  // 1 when some name is written right to left, or the locale's script is.
  std::int32_t rightToLeft;
  // 1 when some name holds letters that join or marks that combine, which need a
  // shaping engine to draw correctly.
  std::int32_t needsShaping;
  // The locale whose data answered, in ICU's form ("de_AT"; "de" for "de-ZZ"), and the
  // four-letter script code of the locale ("Latn", "Jpan", "Arab"); both terminated.
  char dataLocale[kOrvendaleLocaleTag];
  char script[8];
  // The narrowest stand-alone weekday names ("P", "日"), for heading cells too narrow for
  // shortWeekdays.
  char16_t narrowWeekdays[7][kOrvendaleLocaleShortName];
  // The short and the narrow name of the week as a field of a date ("Woche" and "W",
  // "wk." and "wk", "週"): the heading of a week-number column. Empty when the data has
  // none.
  char16_t weekName[kOrvendaleLocaleShortName];
  char16_t narrowWeekName[kOrvendaleLocaleShortName];
};

using OrvendaleLocaleNamesFunction = int (*)(const char*, OrvendaleLocaleNames*);

struct OrvendaleLocaleIcuPlugin {
  static constexpr char kName[] = "locale-icu";
  static constexpr std::uint32_t kAbiVersion = 2;  // raise it whenever this table or its records change

  // Fills `names` for `tag`, a BCP 47 language tag of at most 63 bytes ("de-AT",
  // "zh-Hant-TW"). Returns 1 when the locale has data of its own or of a parent locale
  // other than the root. Returns 0 and leaves `names` untouched for a null argument, a
  // size other than this layout's, a tag that does not parse whole, or a locale the data
  // does not know.
  OrvendaleLocaleNamesFunction localeNames;  // (tag, names)
};
