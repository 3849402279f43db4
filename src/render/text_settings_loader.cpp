#include "render/text_settings_loader.h"

#include <cstddef>
#include <initializer_list>

#include "calendar/text_settings.h"
#include "render/locale_names.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

constexpr char kShortNameSection[] = "ShortName";
constexpr char kLongNameSection[] = "LongName";
constexpr char kTextSection[] = "Text";
// Days of the neighbouring months are grey unless [Text] OtherMonthColor says otherwise.
constexpr ColorRef kDefaultOtherMonthColor = 0x00A0A0A0;  // RGB(160, 160, 160)

// A settings line holds at most 255 bytes, so no value converts to more than 255 UTF-16
// units: a name read into this buffer always arrives whole, and is then cut to its slot.
constexpr int kNameReadCapacity = 256;

constexpr std::uint32_t kComponentMask = 0xFF;
// The largest magnitudes of a signed 32-bit number: 2^31 - 1 and, negative, 2^31.
constexpr std::uint64_t kPositiveLimit = 0x7FFFFFFF;
constexpr std::uint64_t kNegativeLimit = 0x80000000;

bool IsWhiteSpace(char16_t unit) { return unit == u' ' || (unit >= u'\t' && unit <= u'\r'); }
bool IsDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }
bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

// Walks a colour text as the formatted-input operation walks it.
class ColorTextReader {
 public:
  explicit ColorTextReader(const char16_t* text) : cursor_(text) {}

  // A literal character of the pattern: it must be the next one of the text.
  bool Literal(char16_t expected) {
    if (*cursor_ != expected) return false;
    ++cursor_;
    return true;
  }

  // A blank of the pattern: any run of white space, also none.
  void Blank() {
    while (IsWhiteSpace(*cursor_)) ++cursor_;
  }

  // What is left of the text: only a ")" and white space, or nothing.
  bool OnlyCloseLeft() {
    if (*cursor_ == u')') ++cursor_;
    Blank();
    return *cursor_ == 0;
  }

  // %d: white space, an optional sign, at least one digit. The value saturates at the
  // signed 32-bit range and is kept as its two's-complement bit pattern.
  bool Number(std::uint32_t& value) {
    Blank();
    bool negative = false;
    if (*cursor_ == u'+' || *cursor_ == u'-') {
      negative = *cursor_ == u'-';
      ++cursor_;
    }
    if (!IsDigit(*cursor_)) return false;
    // The magnitude stops growing past 2^31, so it never exceeds 10 * 2^31 + 9.
    std::uint64_t magnitude = 0;
    while (IsDigit(*cursor_)) {
      if (magnitude <= kNegativeLimit) magnitude = magnitude * 10u + static_cast<std::uint64_t>(*cursor_ - u'0');
      ++cursor_;
    }
    const std::uint64_t limit = negative ? kNegativeLimit : kPositiveLimit;
    if (magnitude > limit) magnitude = limit;
    const auto low = static_cast<std::uint32_t>(magnitude);  // [0, 2^31]
    value = negative ? 0u - low : low;
    return true;
  }

 private:
  const char16_t* cursor_;
};

ColorRef ComposeColor(const ColorComponents& components) {
  return (components.red & kComponentMask) | (components.green & kComponentMask) << 8 |
         (components.blue & kComponentMask) << 16;
}

// Reads "RGB(%d, %d, %d)" into `components`, stopping at the first mismatch; returns how
// many numbers it read.
int ReadComponents(ColorTextReader& reader, ColorComponents& components) {
  for (const char16_t letter : {u'R', u'G', u'B', u'('}) {
    if (!reader.Literal(letter)) return 0;
  }
  if (!reader.Number(components.red)) return 0;
  if (!reader.Literal(u',')) return 1;
  reader.Blank();
  if (!reader.Number(components.green)) return 1;
  if (!reader.Literal(u',')) return 2;
  reader.Blank();
  return reader.Number(components.blue) ? 3 : 2;
}

// A number read into a component is cut when its low 8 bits are not the number itself.
bool IsCut(std::uint32_t component) { return component > kComponentMask; }

// Copies the terminated `text` into a slot of `capacity` units, cut to capacity - 1
// units but never between the two halves of a surrogate pair, and terminated.
void CopyIntoSlot(char16_t* slot, int capacity, const char16_t* text) {
  int length = 0;
  while (text[length] != 0 && length < capacity - 1) ++length;
  if (length == capacity - 1 && text[length] != 0 && IsHighSurrogate(text[length - 1])) --length;
  for (int i = 0; i < length; ++i) slot[i] = text[i];
  slot[length] = 0;
}

void ReadName(const IniDocument& document, const char* section, const char* key,
              const char16_t* defaultName, char16_t* slot, int capacity) {
  char16_t value[kNameReadCapacity];
  // The result is not examined: the slot holds whatever the read left, the configured
  // name, the default, or empty text for a key without a value.
  document.GetWideString(section, key, value, kNameReadCapacity, defaultName);
  CopyIntoSlot(slot, capacity, value);
}

enum class NameForm { kShort, kLong };

// Reads the short or the long name of each key into its slot. An absent key gives the
// built-in name, or the name of `localeNames` when given.
template <std::size_t Count, int Capacity>
void ReadNames(const IniDocument& document, const NameKey (&keys)[Count], NameForm form,
               char16_t (&slots)[Count][Capacity], const char16_t (*localeNames)[Capacity] = nullptr) {
  const char* section = form == NameForm::kLong ? kLongNameSection : kShortNameSection;
  for (std::size_t i = 0; i < Count; ++i) {
    const char16_t* defaultName = form == NameForm::kLong ? keys[i].longDefault : keys[i].shortDefault;
    if (localeNames != nullptr) defaultName = localeNames[i];
    ReadName(document, section, keys[i].key, defaultName, slots[i], Capacity);
  }
}

static_assert(kShortNameCapacity == kOrvendaleLocaleShortName && kLongNameCapacity == kOrvendaleLocaleLongName,
              "the locale plugin fills slots of the sizes the text settings hold");

// The names with the locale's names as defaults. A month key that is present gives its
// value in both forms; an absent one gives the stand-alone name and, beside a day
// number, the other form.
void ReadLocaleNames(const IniDocument& document, const OrvendaleLocaleNames& locale) {
  ReadNames(document, kWeekdayNameKeys, NameForm::kShort, textSettings.shortWeekdayNames, locale.shortWeekdays);
  ReadNames(document, kWeekdayNameKeys, NameForm::kLong, textSettings.longWeekdayNames, locale.longWeekdays);
  ReadNames(document, kMonthNameKeys, NameForm::kShort, textSettings.shortMonthNames, locale.shortMonths);
  ReadNames(document, kMonthNameKeys, NameForm::kLong, textSettings.longMonthNames, locale.longMonths);
  ReadNames(document, kMonthNameKeys, NameForm::kShort, textSettings.shortMonthNamesWithDay,
            locale.shortMonthsWithDay);
  ReadNames(document, kMonthNameKeys, NameForm::kLong, textSettings.longMonthNamesWithDay,
            locale.longMonthsWithDay);
  textSettings.monthNamesWithDayGiven = 1;
  textSettings.localeFirstWeekday = locale.firstWeekday;
  textSettings.localeRightToLeft = locale.rightToLeft != 0 ? 1 : 0;
  // The narrow names stand in for the locale's own short names only, never for names a
  // user wrote.
  bool weekdayKeyGiven = false;
  for (const NameKey& key : kWeekdayNameKeys) weekdayKeyGiven |= document.HasKey(kShortNameSection, key.key);
  if (!weekdayKeyGiven) {
    for (int day = 0; day < 7; ++day) {
      CopyIntoSlot(textSettings.narrowWeekdayNames[day], kShortNameCapacity, locale.narrowWeekdays[day]);
    }
    textSettings.narrowWeekdayNamesGiven = 1;
  }
}

// A colour read after the four colours of the original settings: `fallback` when the key
// is absent, else its text parsed with the running components (an empty or unmatched
// text keeps the components of the colour read before it, as for the others).
ColorRef ReadLaterColor(const IniDocument& document, const char* key, ColorRef fallback,
                        ColorComponents& components, ColorReading* reading) {
  if (!document.HasKey(kTextSection, key)) return fallback;
  char16_t text[kColorTextCapacity];
  document.GetWideString(kTextSection, key, text, kColorTextCapacity, nullptr);
  if (reading != nullptr) reading->parsed = true;
  return ParseColorText(text, components, reading);
}

ColorRef ReadColor(const IniDocument& document, const SettingRow& row, ColorComponents& components,
                   ColorReading* reading) {
  char16_t text[kColorTextCapacity];
  document.GetWideString(kTextSection, row.key, text, kColorTextCapacity, row.defaultWide);
  if (reading != nullptr) reading->parsed = true;
  return ParseColorText(text, components, reading);
}

}  // namespace

ColorRef ParseColorText(const char16_t* text, ColorComponents& components, ColorReading* reading) {
  const ColorComponents before = components;
  int read = 0;
  bool whole = false;
  if (text != nullptr) {
    ColorTextReader reader(text);
    read = ReadComponents(reader, components);
    // Only an explanation looks past the third number; a run never does.
    whole = reading != nullptr && read == 3 && reader.OnlyCloseLeft();
  }
  const ColorRef color = ComposeColor(components);
  if (reading != nullptr) {
    reading->before = before;
    reading->componentsRead = read;
    reading->whole = whole;
    const std::uint32_t values[] = {components.red, components.green, components.blue};
    reading->cutMask = 0;
    for (int i = 0; i < read; ++i) {
      if (IsCut(values[i])) reading->cutMask |= 1u << i;
    }
    reading->color = color;
  }
  return color;
}

TextColors ReadTextColors(const IniDocument& document, ColorReading (*readings)[kTextColorCount]) {
  // A run asks for no readings, and its parses then look at nothing more than they use.
  if (readings != nullptr) {
    for (ColorReading& reading : *readings) reading = ColorReading{};
  }
  const auto read = [readings](int index) { return readings != nullptr ? &(*readings)[index] : nullptr; };

  // The components start at 0 once, here; each colour after the first starts from what
  // the one before it left.
  TextColors colors;
  ColorComponents components;
  colors.text = ReadColor(document, Setting("Text", "Color"), components, read(kTextColorIndex));
  colors.sunday = ReadColor(document, Setting("Text", "SundayColor"), components, read(kSundayColorIndex));
  colors.saturday = ReadColor(document, Setting("Text", "SaturdayColor"), components, read(kSaturdayColorIndex));

  char16_t todayText[kColorTextCapacity];
  if (document.GetWideString(kTextSection, Setting("Text", "TodayColor").key, todayText, kColorTextCapacity,
                             nullptr) != 0) {
    if (readings != nullptr) read(kTodayColorIndex)->parsed = true;
    colors.today = ParseColorText(todayText, components, read(kTodayColorIndex));
    colors.todayGiven = true;
  }

  // The grid's later colours come last, so that they never change the values above.
  colors.weekNumber = ReadLaterColor(document, Setting("Text", "WeekNumberColor").key, colors.text, components,
                                     read(kWeekNumberColorIndex));
  colors.otherMonth = ReadLaterColor(document, Setting("Text", "OtherMonthColor").key, kDefaultOtherMonthColor,
                                     components, read(kOtherMonthColorIndex));
  return colors;
}

void LoadTextSettings(const IniDocument& document) {
  textSettings.monthNamesWithDayGiven = 0;
  textSettings.localeFirstWeekday = -1;
  textSettings.localeRightToLeft = 0;
  textSettings.narrowWeekdayNamesGiven = 0;
  textSettings.narrowWeekNameGiven = 0;
  LocaleSetting locale;
  ReadLocaleSetting(document, locale);
  if (locale.state == LocaleState::kKnown) {
    ReadLocaleNames(document, locale.names);
  } else {
    ReadNames(document, kWeekdayNameKeys, NameForm::kShort, textSettings.shortWeekdayNames);
    ReadNames(document, kWeekdayNameKeys, NameForm::kLong, textSettings.longWeekdayNames);
    ReadNames(document, kMonthNameKeys, NameForm::kShort, textSettings.shortMonthNames);
    ReadNames(document, kMonthNameKeys, NameForm::kLong, textSettings.longMonthNames);
  }

  const TextColors colors = ReadTextColors(document, nullptr);
  textSettings.textColor = colors.text;
  textSettings.sundayColor = colors.sunday;
  textSettings.saturdayColor = colors.saturday;
  if (colors.todayGiven) {
    textSettings.todayColor = colors.today;
    textSettings.todayColorGiven = 1;
  }

  // The grid's later options, read after the colours above so that they never change
  // their values.
  // The week heading's default is the Locale's name of the week, where it has one.
  const bool localeWeekName = locale.state == LocaleState::kKnown && locale.names.weekName[0] != 0;
  ReadName(document, kShortNameSection, kWeekNameKey.key,
           localeWeekName ? locale.names.weekName : kWeekNameKey.shortDefault, textSettings.shortWeekName,
           kShortNameCapacity);
  if (localeWeekName && locale.names.narrowWeekName[0] != 0 && !document.HasKey(kShortNameSection, kWeekNameKey.key)) {
    CopyIntoSlot(textSettings.narrowWeekName, kShortNameCapacity, locale.names.narrowWeekName);
    textSettings.narrowWeekNameGiven = 1;
  }
  textSettings.weekNumberColor = colors.weekNumber;
  textSettings.otherMonthColor = colors.otherMonth;
}

}  // namespace orvendale
