// The locale plugin: weekday and month names, the name of the week, the first day of the
// week and the script of a locale, from the CLDR data that ICU carries. Loaded only by runs that name a
// locale, so that no other run maps ICU and its data.

#include <unicode/brkiter.h>
#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/dtptngen.h>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/uloc.h>
#include <unicode/unistr.h>
#include <unicode/ures.h>
#include <unicode/uscript.h>
#include <unicode/utf16.h>

#include <cstring>
#include <memory>

#include "plugins/plugin_descriptor.h"
#include "plugins/locale_plugin.h"


namespace {

using icu::BreakIterator;
using icu::DateFormatSymbols;
using icu::Locale;
using icu::UnicodeString;

constexpr int kDaysPerWeek = 7;
constexpr int kMonthsPerYear = 12;

// The ICU form of `tag` with the Gregorian calendar asked for, so that a locale whose
// default calendar is another (Persian, Buddhist) still names the Gregorian months the
// pictures count in. False for a tag that does not parse whole.
bool ParseTag(const char* tag, char (&id)[ULOC_FULLNAME_CAPACITY]) {
  const std::size_t length = strnlen(tag, kOrvendaleLocaleTag);
  if (length == 0 || length >= static_cast<std::size_t>(kOrvendaleLocaleTag)) return false;
  UErrorCode status = U_ZERO_ERROR;
  int32_t parsed = 0;
  uloc_forLanguageTag(tag, id, ULOC_FULLNAME_CAPACITY, &parsed, &status);
  if (U_FAILURE(status) || status == U_STRING_NOT_TERMINATED_WARNING ||
      parsed != static_cast<int32_t>(length) || id[0] == 0) {
    return false;
  }
  uloc_setKeywordValue("calendar", "gregorian", id, ULOC_FULLNAME_CAPACITY, &status);
  return U_SUCCESS(status) && status != U_STRING_NOT_TERMINATED_WARNING;
}

// The locale whose data answers for `locale`, into `dataLocale`; false when only the
// root (or the process's default locale, which ICU falls back to) would answer: the data
// does not know the locale.
bool FindDataLocale(const Locale& locale, char (&dataLocale)[kOrvendaleLocaleTag]) {
  UErrorCode status = U_ZERO_ERROR;
  UResourceBundle* bundle = ures_open(nullptr, locale.getBaseName(), &status);
  const std::unique_ptr<UResourceBundle, decltype(&ures_close)> owner(bundle, &ures_close);
  if (U_FAILURE(status) || status == U_USING_DEFAULT_WARNING) return false;
  const char* actual = ures_getLocaleByType(bundle, ULOC_ACTUAL_LOCALE, &status);
  if (U_FAILURE(status) || actual == nullptr || actual[0] == 0 || std::strcmp(actual, "root") == 0) {
    return false;
  }
  std::strncpy(dataLocale, actual, kOrvendaleLocaleTag - 1);
  dataLocale[kOrvendaleLocaleTag - 1] = 0;
  return true;
}

// Copies names into slots, cutting a name that does not fit at the last boundary between
// two user-perceived characters that does. The character iterator is made only when a
// name needs cutting.
class SlotWriter {
 public:
  explicit SlotWriter(const Locale& locale) : locale_(locale) {}

  void Write(const UnicodeString& name, char16_t* slot, int capacity) {
    int32_t length = name.length();
    if (length > capacity - 1) length = CutPoint(name, capacity - 1);
    for (int32_t i = 0; i < length; ++i) slot[i] = name.charAt(i);
    slot[length] = 0;
  }

 private:
  // The last character boundary at or before `limit` units.
  int32_t CutPoint(const UnicodeString& name, int32_t limit) {
    if (characters_ == nullptr) {
      UErrorCode status = U_ZERO_ERROR;
      characters_.reset(BreakIterator::createCharacterInstance(locale_, status));
      if (U_FAILURE(status)) characters_.reset();
    }
    if (characters_ != nullptr) {
      characters_->setText(name);
      const int32_t boundary = characters_->preceding(limit + 1);
      return boundary == BreakIterator::DONE ? 0 : boundary;
    }
    // Without the iterator, at least never split a surrogate pair.
    int32_t offset = limit;
    U16_SET_CP_START(name.getBuffer(), 0, offset);
    return offset;
  }

  const Locale& locale_;
  std::unique_ptr<BreakIterator> characters_;
};

// The number of code points of all names of a set.
int32_t TotalLength(const UnicodeString* names, int32_t from, int32_t count) {
  int32_t total = 0;
  for (int32_t i = from; i < count; ++i) total += names[i].countChar32();
  return total;
}

bool IsRightToLeft(UChar32 c) {
  const UCharDirection direction = u_charDirection(c);
  return direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC;
}

// Letters that change form with their neighbours, and marks drawn on another letter:
// placed glyph by glyph, neither comes out right.
bool NeedsShaping(UChar32 c) {
  switch (u_getIntPropertyValue(c, UCHAR_JOINING_TYPE)) {
    case U_JT_DUAL_JOINING:
    case U_JT_RIGHT_JOINING:
    case U_JT_LEFT_JOINING:
    case U_JT_JOIN_CAUSING:
      return true;
    default:
      break;
  }
  const int8_t category = u_charType(c);
  return category == U_NON_SPACING_MARK || category == U_COMBINING_SPACING_MARK ||
         category == U_ENCLOSING_MARK;
}

// Looks at every name written into `slots`, `count` slots of `capacity` units.
void ScanNames(const char16_t* slots, int count, int capacity, OrvendaleLocaleNames& names) {
  for (int i = 0; i < count * capacity; i += capacity) {
    const char16_t* name = slots + i;
    int32_t offset = 0;
    while (offset < capacity && name[offset] != 0) {
      UChar32 c;
      U16_NEXT(name, offset, capacity, c);
      if (IsRightToLeft(c)) names.rightToLeft = 1;
      if (NeedsShaping(c)) names.needsShaping = 1;
    }
  }
}

// The four-letter script code of the locale, its likely one where the tag names none.
void FindScript(const Locale& locale, OrvendaleLocaleNames& names) {
  UErrorCode status = U_ZERO_ERROR;
  char likely[ULOC_FULLNAME_CAPACITY];
  uloc_addLikelySubtags(locale.getBaseName(), likely, sizeof likely, &status);
  char script[ULOC_SCRIPT_CAPACITY] = {};
  if (U_SUCCESS(status)) uloc_getScript(likely, script, sizeof script, &status);
  if (U_FAILURE(status)) script[0] = 0;
  std::strncpy(names.script, script, sizeof names.script - 1);
  names.script[sizeof names.script - 1] = 0;
  UScriptCode code = USCRIPT_INVALID_CODE;
  status = U_ZERO_ERROR;
  if (script[0] != 0 && uscript_getCode(script, &code, 1, &status) == 1 && U_SUCCESS(status) &&
      uscript_isRightToLeft(code)) {
    names.rightToLeft = 1;
  }
}

bool FillNames(const char* tag, OrvendaleLocaleNames& names) {
  char id[ULOC_FULLNAME_CAPACITY];
  if (!ParseTag(tag, id)) return false;
  const Locale locale(id);
  if (locale.isBogus()) return false;
  char dataLocale[kOrvendaleLocaleTag];
  if (!FindDataLocale(locale, dataLocale)) return false;

  UErrorCode status = U_ZERO_ERROR;
  const DateFormatSymbols symbols(locale, status);
  if (U_FAILURE(status)) return false;

  // Weekday tables run UCAL_SUNDAY (1) .. UCAL_SATURDAY (7); index 0 is unused.
  int32_t shortCount = 0;
  int32_t abbreviatedCount = 0;
  int32_t wideCount = 0;
  const UnicodeString* shortWeekdays =
      symbols.getWeekdays(shortCount, DateFormatSymbols::STANDALONE, DateFormatSymbols::SHORT);
  const UnicodeString* abbreviatedWeekdays =
      symbols.getWeekdays(abbreviatedCount, DateFormatSymbols::STANDALONE, DateFormatSymbols::ABBREVIATED);
  const UnicodeString* wideWeekdays =
      symbols.getWeekdays(wideCount, DateFormatSymbols::FORMAT, DateFormatSymbols::WIDE);
  int32_t narrowCount = 0;
  const UnicodeString* narrowWeekdays =
      symbols.getWeekdays(narrowCount, DateFormatSymbols::STANDALONE, DateFormatSymbols::NARROW);
  constexpr int32_t kWeekdayCount = kDaysPerWeek + 1;
  if (shortWeekdays == nullptr || abbreviatedWeekdays == nullptr || wideWeekdays == nullptr ||
      narrowWeekdays == nullptr || shortCount != kWeekdayCount || abbreviatedCount != kWeekdayCount ||
      wideCount != kWeekdayCount || narrowCount != kWeekdayCount) {
    return false;
  }
  // A heading cell wants the shortest name: of the short ("Su", "di", "So.") and the
  // abbreviated ("Sun", "dim.", "So") stand-alone sets, the one with fewer characters in
  // all, the short one when they tie. Never a mix of the two.
  const UnicodeString* headingWeekdays =
      TotalLength(abbreviatedWeekdays, 1, kWeekdayCount) < TotalLength(shortWeekdays, 1, kWeekdayCount)
          ? abbreviatedWeekdays
          : shortWeekdays;

  const UnicodeString* monthSets[4] = {};
  const DateFormatSymbols::DtContextType contexts[2] = {DateFormatSymbols::STANDALONE,
                                                        DateFormatSymbols::FORMAT};
  const DateFormatSymbols::DtWidthType widths[2] = {DateFormatSymbols::ABBREVIATED,
                                                    DateFormatSymbols::WIDE};
  for (int c = 0; c < 2; ++c) {
    for (int w = 0; w < 2; ++w) {
      int32_t count = 0;
      monthSets[c * 2 + w] = symbols.getMonths(count, contexts[c], widths[w]);
      if (monthSets[c * 2 + w] == nullptr || count != kMonthsPerYear) return false;
    }
  }

  // The week field's abbreviated display name; a locale without one leaves it empty.
  status = U_ZERO_ERROR;
  const std::unique_ptr<icu::DateTimePatternGenerator> patterns(
      icu::DateTimePatternGenerator::createInstance(locale, status));
  UnicodeString weekName;
  UnicodeString narrowWeekName;
  if (U_SUCCESS(status) && patterns != nullptr) {
    weekName = patterns->getFieldDisplayName(UDATPG_WEEK_OF_YEAR_FIELD, UDATPG_ABBREVIATED);
    narrowWeekName = patterns->getFieldDisplayName(UDATPG_WEEK_OF_YEAR_FIELD, UDATPG_NARROW);
  }

  status = U_ZERO_ERROR;
  const std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(locale, status));
  if (U_FAILURE(status) || calendar == nullptr) return false;
  const UCalendarDaysOfWeek firstDay = calendar->getFirstDayOfWeek(status);
  if (U_FAILURE(status) || firstDay < UCAL_SUNDAY || firstDay > UCAL_SATURDAY) return false;

  // Everything is known: fill a copy, and hand it over whole.
  OrvendaleLocaleNames filled{};
  filled.size = sizeof filled;
  SlotWriter writer(locale);
  for (int day = 0; day < kDaysPerWeek; ++day) {
    writer.Write(headingWeekdays[day + 1], filled.shortWeekdays[day], kOrvendaleLocaleShortName);
    writer.Write(wideWeekdays[day + 1], filled.longWeekdays[day], kOrvendaleLocaleLongName);
    writer.Write(narrowWeekdays[day + 1], filled.narrowWeekdays[day], kOrvendaleLocaleShortName);
  }
  writer.Write(weekName, filled.weekName, kOrvendaleLocaleShortName);
  writer.Write(narrowWeekName, filled.narrowWeekName, kOrvendaleLocaleShortName);
  for (int month = 0; month < kMonthsPerYear; ++month) {
    writer.Write(monthSets[0][month], filled.shortMonths[month], kOrvendaleLocaleShortName);
    writer.Write(monthSets[1][month], filled.longMonths[month], kOrvendaleLocaleLongName);
    writer.Write(monthSets[2][month], filled.shortMonthsWithDay[month], kOrvendaleLocaleShortName);
    writer.Write(monthSets[3][month], filled.longMonthsWithDay[month], kOrvendaleLocaleLongName);
  }
  filled.firstWeekday = firstDay - UCAL_SUNDAY;
  std::memcpy(filled.dataLocale, dataLocale, sizeof dataLocale);
  FindScript(locale, filled);
  ScanNames(&filled.shortWeekdays[0][0], kDaysPerWeek, kOrvendaleLocaleShortName, filled);
  ScanNames(&filled.longWeekdays[0][0], kDaysPerWeek, kOrvendaleLocaleLongName, filled);
  ScanNames(&filled.narrowWeekdays[0][0], kDaysPerWeek, kOrvendaleLocaleShortName, filled);
  ScanNames(filled.weekName, 1, kOrvendaleLocaleShortName, filled);
  ScanNames(filled.narrowWeekName, 1, kOrvendaleLocaleShortName, filled);
  ScanNames(&filled.shortMonths[0][0], kMonthsPerYear, kOrvendaleLocaleShortName, filled);
  ScanNames(&filled.longMonths[0][0], kMonthsPerYear, kOrvendaleLocaleLongName, filled);
  ScanNames(&filled.shortMonthsWithDay[0][0], kMonthsPerYear, kOrvendaleLocaleShortName, filled);
  ScanNames(&filled.longMonthsWithDay[0][0], kMonthsPerYear, kOrvendaleLocaleLongName, filled);
  names = filled;
  return true;
}

int LocaleNames(const char* tag, OrvendaleLocaleNames* names) {
  if (tag == nullptr || names == nullptr || names->size != sizeof(OrvendaleLocaleNames)) return 0;
  try {
    return FillNames(tag, *names) ? 1 : 0;
  } catch (...) {
    // An allocation that failed inside ICU's C++ layer: as if the locale were unknown.
    return 0;
  }
}

}  // namespace

ORVENDALE_PLUGIN_DESCRIPTOR(OrvendaleLocaleIcuPlugin, {&LocaleNames});
