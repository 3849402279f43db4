// The names a [Contents] Locale gives, through the whole loader and the locale plugin,
// checked against what ICU's own date formatter writes for the same locale: a month or
// weekday pattern ("LLLL", "MMMM", "EEEE", "ccc", "cccccc") formatting a day of that month
// or weekday. The formatter is another road into the same data, so a wrong table, context
// or width in the plugin shows.

#include <gtest/gtest.h>
#include <unicode/brkiter.h>
#include <unicode/calendar.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "calendar/text_settings.h"
#include "render/locale_names.h"
#include "render/text_settings_loader.h"
#include "settings/ini_document.h"
#include "support/saved_text_settings.h"
#include "support/settings_text.h"

namespace orvendale {
namespace {

std::u16string ToU16(const icu::UnicodeString& text) {
  return std::u16string(text.getBuffer(), text.getBuffer() + text.length());
}

std::string ToUtf8(const std::u16string& text) {
  std::string out;
  icu::UnicodeString(text.data(), static_cast<int32_t>(text.size())).toUTF8String(out);
  return out;
}

// What ICU's formatter writes for `pattern` on the given day of 2026 (UTC).
class Formatter {
 public:
  explicit Formatter(const char* tag) {
    UErrorCode status = U_ZERO_ERROR;
    locale_ = icu::Locale::forLanguageTag(tag, status);
    EXPECT_TRUE(U_SUCCESS(status)) << tag;
  }

  std::u16string Format(const char16_t* pattern, int month, int day) const {
    UErrorCode status = U_ZERO_ERROR;
    icu::SimpleDateFormat format(icu::UnicodeString(pattern), locale_, status);
    auto calendar = std::make_unique<icu::GregorianCalendar>(*icu::TimeZone::getGMT(), locale_, status);
    calendar->clear();
    calendar->set(2026, month - 1, day, 12, 0, 0);
    const UDate date = calendar->getTime(status);
    format.adoptCalendar(calendar.release());
    icu::UnicodeString text;
    format.format(date, text);
    EXPECT_TRUE(U_SUCCESS(status));
    return ToU16(text);
  }

  // The weekday of 2026-03-15 (a Sunday) + `weekday`.
  std::u16string Weekday(const char16_t* pattern, int weekday) const { return Format(pattern, 3, 15 + weekday); }

 private:
  icu::Locale locale_;
};

class LocaleNamesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(setenv("ORVENDALE_PLUGIN_DIR", ORVENDALE_PLUGIN_BUILD_DIR, 1), 0);
    textSettings = TextSettings{};
  }

  void Load(const std::string& text) { LoadTextSettings(testing::SettingsText(text).document()); }

  LocaleSetting Read(const std::string& text) {
    LocaleSetting setting;
    ReadLocaleSetting(testing::SettingsText(text).document(), setting);
    return setting;
  }

  testing::SavedTextSettings saved_;
};

// The short weekday names are the shorter of the two stand-alone sets ICU has for a
// heading: "short" (cccccc: Su, di, So.) and "abbreviated" (ccc: Sun, dim., So).
std::u16string ExpectedShortWeekday(const Formatter& formatter, int weekday) {
  int shortTotal = 0;
  int abbreviatedTotal = 0;
  for (int day = 0; day < 7; ++day) {
    shortTotal += icu::UnicodeString(formatter.Weekday(u"cccccc", day).c_str()).countChar32();
    abbreviatedTotal += icu::UnicodeString(formatter.Weekday(u"ccc", day).c_str()).countChar32();
  }
  return formatter.Weekday(abbreviatedTotal < shortTotal ? u"ccc" : u"cccccc", weekday);
}

TEST_F(LocaleNamesTest, NamesAreTheLocaleFormattersNames) {
  for (const char* tag : {"de", "de-AT", "en-GB", "fr", "ja", "pl", "ru", "zh-Hant-TW"}) {
    SCOPED_TRACE(tag);
    Load(std::string("[Contents]\nLocale=") + tag + "\n");
    const Formatter formatter(tag);
    EXPECT_EQ(textSettings.monthNamesWithDayGiven, 1);
    for (int day = 0; day < 7; ++day) {
      EXPECT_EQ(std::u16string(textSettings.longWeekdayNames[day]), formatter.Weekday(u"EEEE", day));
      EXPECT_EQ(std::u16string(textSettings.shortWeekdayNames[day]), ExpectedShortWeekday(formatter, day));
      EXPECT_EQ(std::u16string(textSettings.narrowWeekdayNames[day]), formatter.Weekday(u"ccccc", day));
    }
    EXPECT_EQ(textSettings.narrowWeekdayNamesGiven, 1);
    for (int month = 0; month < 12; ++month) {
      EXPECT_EQ(std::u16string(textSettings.longMonthNames[month]), formatter.Format(u"LLLL", month + 1, 1));
      EXPECT_EQ(std::u16string(textSettings.shortMonthNames[month]), formatter.Format(u"LLL", month + 1, 1));
      EXPECT_EQ(std::u16string(textSettings.longMonthNamesWithDay[month]), formatter.Format(u"MMMM", month + 1, 1));
      EXPECT_EQ(std::u16string(textSettings.shortMonthNamesWithDay[month]), formatter.Format(u"MMM", month + 1, 1));
    }
  }
}

// A few names every reader of the language knows, so that the comparison above cannot
// pass on two equal wrong answers.
TEST_F(LocaleNamesTest, KnownNames) {
  struct Case {
    const char* tag;
    int month;  // 0 = January
    const char16_t* standAlone;
    const char16_t* withDay;
    const char16_t* shortSunday;
  };
  const Case cases[] = {
      {"pl", 2, u"marzec", u"marca", u"nie"},
      {"ru", 4, u"май", u"мая", u"вс"},
      {"de-AT", 0, u"Jänner", u"Jänner", u"So"},
      {"de", 0, u"Januar", u"Januar", u"So"},
      {"en-GB", 8, u"September", u"September", u"Su"},
      {"fr", 7, u"août", u"août", u"di"},
      {"ja", 3, u"4月", u"4月", u"日"},
      {"zh-Hant-TW", 11, u"12月", u"12月", u"日"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag);
    Load(std::string("[Contents]\nLocale=") + c.tag + "\n");
    EXPECT_EQ(std::u16string(textSettings.longMonthNames[c.month]), c.standAlone);
    EXPECT_EQ(std::u16string(textSettings.longMonthNamesWithDay[c.month]), c.withDay);
    EXPECT_EQ(std::u16string(textSettings.shortWeekdayNames[0]), c.shortSunday);
  }
}

// The week heading takes the locale's short name of the week, with its narrow name
// beside it for a narrow cell; a [ShortName] Week key, or a weekday key for the narrow
// weekday names, keeps the locale's forms out.
TEST_F(LocaleNamesTest, WeekNameAndNarrowNamesOfTheLocale) {
  const struct {
    const char* tag;
    const char16_t* week;
    const char16_t* narrowWeek;
    const char16_t* narrowMonday;
  } cases[] = {
      {"de", u"Woche", u"W", u"M"}, {"en-US", u"wk.", u"wk", u"M"}, {"ja", u"週", u"週", u"月"},
      {"pl", u"tydz.", u"tydz.", u"P"}, {"zh", u"周", u"周", u"一"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tag);
    Load(std::string("[Contents]\nLocale=") + c.tag + "\n");
    EXPECT_EQ(std::u16string(textSettings.shortWeekName), c.week);
    EXPECT_EQ(textSettings.narrowWeekNameGiven, 1);
    EXPECT_EQ(std::u16string(textSettings.narrowWeekName), c.narrowWeek);
    EXPECT_EQ(std::u16string(textSettings.narrowWeekdayNames[1]), c.narrowMonday);
    Load(std::string("[Contents]\nLocale=") + c.tag + "\n[ShortName]\nWeek=KW\nSat=x\n");
    EXPECT_EQ(std::u16string(textSettings.shortWeekName), u"KW");
    EXPECT_EQ(textSettings.narrowWeekNameGiven, 0);
    EXPECT_EQ(textSettings.narrowWeekdayNamesGiven, 0);
  }
  Load("[Contents]\nType=Calendar\n");
  EXPECT_EQ(std::u16string(textSettings.shortWeekName), u"Wk");
  EXPECT_EQ(textSettings.narrowWeekNameGiven, 0);
  EXPECT_EQ(textSettings.narrowWeekdayNamesGiven, 0);
}

TEST_F(LocaleNamesTest, FirstWeekdayOfTheLocale) {
  const struct {
    const char* tag;
    int firstWeekday;
  } cases[] = {{"de", 1}, {"en-US", 0}, {"en-GB", 1}, {"ja", 0}, {"ar-EG", 6}, {"fr_FR", 1}, {"pl", 1}};
  for (const auto& c : cases) {
    Load(std::string("[Contents]\nLocale=") + c.tag + "\n");
    EXPECT_EQ(textSettings.localeFirstWeekday, c.firstWeekday) << c.tag;
  }
  Load("[Contents]\nType=Calendar\n");
  EXPECT_EQ(textSettings.localeFirstWeekday, -1);
}

// Whether the locale is written right to left, for Direction=locale; a run without a
// Locale after one with it does not keep it.
TEST_F(LocaleNamesTest, RightToLeftLocales) {
  const struct {
    const char* tag;
    int rightToLeft;
  } cases[] = {{"he", 1}, {"ar-EG", 1}, {"fa", 1}, {"ur", 1}, {"de", 0}, {"hi", 0}, {"ja", 0}, {"xx", 0}};
  for (const auto& c : cases) {
    Load(std::string("[Contents]\nLocale=") + c.tag + "\n");
    EXPECT_EQ(textSettings.localeRightToLeft, c.rightToLeft) << c.tag;
  }
  Load("[Contents]\nLocale=he\n");
  Load("[Contents]\nType=Calendar\n");
  EXPECT_EQ(textSettings.localeRightToLeft, 0);
}

TEST_F(LocaleNamesTest, ExplicitKeysWinInBothForms) {
  Load("[Contents]\nLocale=pl\n[LongName]\nMar=Wiosna\nSun=\n[ShortName]\nMay=Maj!\n");
  EXPECT_EQ(std::u16string(textSettings.longMonthNames[2]), u"Wiosna");
  EXPECT_EQ(std::u16string(textSettings.longMonthNamesWithDay[2]), u"Wiosna");
  EXPECT_EQ(std::u16string(textSettings.shortMonthNames[4]), u"Maj!");
  EXPECT_EQ(std::u16string(textSettings.shortMonthNamesWithDay[4]), u"Maj!");
  EXPECT_EQ(std::u16string(textSettings.longWeekdayNames[0]), u"");  // present and empty
  // The keys not written keep the locale's names.
  EXPECT_EQ(std::u16string(textSettings.longMonthNames[3]), u"kwiecień");
  EXPECT_EQ(std::u16string(textSettings.longMonthNamesWithDay[3]), u"kwietnia");
  EXPECT_EQ(std::u16string(textSettings.longWeekdayNames[1]), u"poniedziałek");
}

TEST_F(LocaleNamesTest, LocaleNamesAreCutBetweenCharacters) {
  // Chakma writes outside the basic plane (two UTF-16 units a letter) with combining
  // vowel signs; Bengali, Malayalam and Tamil names combine marks too. Their names run
  // past the slots and must be cut where a character ends.
  for (const char* tag : {"ccp", "bn", "ml", "ta", "my"}) {
    SCOPED_TRACE(tag);
    Load(std::string("[Contents]\nLocale=") + tag + "\n");
    const Formatter formatter(tag);
    auto check = [&](const char16_t* slot, int capacity, const std::u16string& whole) {
      const std::u16string name(slot);
      SCOPED_TRACE(ToUtf8(whole));
      ASSERT_LE(name.size(), static_cast<std::size_t>(capacity - 1));
      ASSERT_EQ(whole.compare(0, name.size(), name), 0) << "a prefix of the whole name";
      if (name.size() == whole.size()) return;
      EXPECT_FALSE(name.empty());
      // The cut stands before a character that starts a cluster of its own.
      const UChar32 next = icu::UnicodeString(whole.c_str()).char32At(static_cast<int32_t>(name.size()));
      EXPECT_FALSE(U16_IS_TRAIL(whole[name.size()]));
      const int breakClass = u_getIntPropertyValue(next, UCHAR_GRAPHEME_CLUSTER_BREAK);
      EXPECT_NE(breakClass, U_GCB_EXTEND);
      EXPECT_NE(breakClass, U_GCB_SPACING_MARK);
      EXPECT_NE(breakClass, U_GCB_ZWJ);
      // And survives a trip through UTF-8 unchanged.
      std::string utf8;
      icu::UnicodeString(name.data(), static_cast<int32_t>(name.size())).toUTF8String(utf8);
      EXPECT_EQ(ToU16(icu::UnicodeString::fromUTF8(utf8)), name);
    };
    for (int day = 0; day < 7; ++day) {
      check(textSettings.longWeekdayNames[day], kLongNameCapacity, formatter.Weekday(u"EEEE", day));
    }
    for (int month = 0; month < 12; ++month) {
      check(textSettings.longMonthNames[month], kLongNameCapacity, formatter.Format(u"LLLL", month + 1, 1));
      check(textSettings.shortMonthNames[month], kShortNameCapacity, formatter.Format(u"LLL", month + 1, 1));
      check(textSettings.shortMonthNamesWithDay[month], kShortNameCapacity, formatter.Format(u"MMM", month + 1, 1));
    }
  }
}

TEST_F(LocaleNamesTest, BadOrUnknownLocalesLeaveTheBuiltInNames) {
  Load("[Contents]\nType=Date\n");
  const TextSettings builtIn = textSettings;
  const struct {
    std::string line;
    LocaleState state;
  } cases[] = {
      {"Locale=", LocaleState::kAbsent},
      {"Locale=" + std::string(63, 'a'), LocaleState::kMalformed},  // a 63-letter language
      {"Locale=de-" + std::string(61, 'a'), LocaleState::kMalformed},  // longer than 63 bytes
      {"Locale=../../etc", LocaleState::kMalformed},
      {"Locale=--", LocaleState::kMalformed},
      {"Locale=_", LocaleState::kMalformed},
      {"Locale=de\tAT", LocaleState::kMalformed},
      {"Locale=d\xC3\xA9", LocaleState::kMalformed},
      {"Locale=\xFF\xFE", LocaleState::kMalformed},
      {"Locale=de-AT-", LocaleState::kMalformed},
      {"Locale=C", LocaleState::kMalformed},
      {"Locale=xx", LocaleState::kUnknown},
      {"Locale=und", LocaleState::kUnknown},
      {"Locale=xx-DE", LocaleState::kUnknown},
      {"Locale=de-AT-toolongsub", LocaleState::kMalformed},
      {"Locale=de-AT-AT", LocaleState::kUnknown},  // not a whole BCP 47 tag
      {"Locale=abcdefgh-ijklmnop", LocaleState::kUnknown},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string text = "[Contents]\nType=Date\n" + c.line + "\n";
    EXPECT_EQ(Read(text).state, c.state);
    Load(text);
    for (int day = 0; day < 7; ++day) {
      EXPECT_EQ(std::u16string(textSettings.shortWeekdayNames[day]), builtIn.shortWeekdayNames[day]);
      EXPECT_EQ(std::u16string(textSettings.longWeekdayNames[day]), builtIn.longWeekdayNames[day]);
    }
    for (int month = 0; month < 12; ++month) {
      EXPECT_EQ(std::u16string(textSettings.shortMonthNames[month]), builtIn.shortMonthNames[month]);
      EXPECT_EQ(std::u16string(textSettings.longMonthNames[month]), builtIn.longMonthNames[month]);
    }
    EXPECT_EQ(textSettings.monthNamesWithDayGiven, 0);
    EXPECT_EQ(textSettings.localeFirstWeekday, -1);
  }
}

TEST_F(LocaleNamesTest, ReportsWhatAScriptNeedsAndWhoseDataAnswers) {
  const struct {
    const char* tag;
    const char* dataLocale;
    const char* script;
    int rightToLeft;
    int needsShaping;
  } cases[] = {
      {"de-AT", "de_AT", "Latn", 0, 0}, {"de-ZZ", "de", "Latn", 0, 0},   {"ja", "ja", "Jpan", 0, 0},
      {"zh-Hant-TW", "zh_Hant_TW", "Hant", 0, 0}, {"ru", "ru", "Cyrl", 0, 0}, {"ar", "ar", "Arab", 1, 1},
      {"fa", "fa", "Arab", 1, 1}, {"he", "he", "Hebr", 1, 0},        {"hi", "hi", "Deva", 0, 1},
      {"th", "th", "Thai", 0, 1}, {"ta", "ta", "Taml", 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tag);
    const LocaleSetting setting = Read(std::string("[Contents]\nLocale=") + c.tag + "\n");
    ASSERT_EQ(setting.state, LocaleState::kKnown);
    EXPECT_STREQ(setting.names.dataLocale, c.dataLocale);
    EXPECT_STREQ(setting.names.script, c.script);
    EXPECT_EQ(setting.names.rightToLeft, c.rightToLeft);
    EXPECT_EQ(setting.names.needsShaping, c.needsShaping);
  }
}

TEST_F(LocaleNamesTest, FindingsForTheCheckOfTheSettings) {
  using Level = LocaleFindingLevel;
  const struct {
    const char* line;
    std::vector<Level> levels;
    std::vector<const char*> words;  // each appears in the text of its finding
  } cases[] = {
      {"", {}, {}},
      {"Locale=", {}, {}},
      {"Locale=de", {}, {}},
      {"Locale=EN-gb", {}, {}},
      {"Locale=zh_Hant_TW.UTF-8", {}, {}},
      {"Locale=de-ZZ", {Level::kNote}, {"those of de are used"}},
      {"Locale=../../etc", {Level::kWarning}, {"not a locale name"}},
      {"Locale=de-AT-toolongsub", {Level::kWarning}, {"not a locale name"}},
      {"Locale=xx", {Level::kWarning}, {"no locale"}},
      // With the text layout plugin beside the locale plugin, these draw as they should.
      {"Locale=ar", {}, {}},
      {"Locale=he", {}, {}},
      {"Locale=th", {}, {}},
      {"Locale=hi-IN", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const std::vector<LocaleFinding> findings = DescribeLocaleSetting(Read(std::string("[Contents]\n") + c.line + "\n"));
    ASSERT_EQ(findings.size(), c.levels.size());
    for (std::size_t i = 0; i < findings.size(); ++i) {
      EXPECT_EQ(findings[i].level, c.levels[i]);
      EXPECT_NE(findings[i].text.find(c.words[i]), std::string::npos) << findings[i].text;
      EXPECT_EQ(findings[i].text.find("etc"), std::string::npos) << "the value is not repeated";
    }
  }
}

TEST_F(LocaleNamesTest, LocalesWithAnotherCalendarStillNameGregorianMonths) {
  // Persian and Thai default to calendars of their own; the pictures count in
  // Gregorian months.
  for (const char* tag : {"fa-IR", "th-TH", "ar-SA"}) {
    SCOPED_TRACE(tag);
    Load(std::string("[Contents]\nLocale=") + tag + "\n");
    const Formatter formatter((std::string(tag) + "-u-ca-gregory").c_str());
    for (int month = 0; month < 12; ++month) {
      EXPECT_EQ(std::u16string(textSettings.longMonthNames[month]), formatter.Format(u"LLLL", month + 1, 1));
    }
  }
}

}  // namespace
}  // namespace orvendale
