#include "calendar/date_pattern.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "calendar/text_settings.h"
#include "settings/settings_table.h"
#include "platform/system/text.h"
#include "support/saved_text_settings.h"

namespace orvendale {
namespace {

DateRecord Date(int year, int month, int day) {
  DateRecord record;
  record.year = static_cast<std::uint16_t>(year);
  record.month = static_cast<std::uint16_t>(month);
  record.day = static_cast<std::uint16_t>(day);
  record.dayOfWeek = 2;  // stale on purpose: the weekday must be computed
  return record;
}

constexpr char16_t kCanary = 0xBEEF;

// The built-in names, as a run without [ShortName] or [LongName] settings has them.
void FillDefaultNames(TextSettings& settings) {
  for (int i = 0; i < 7; ++i) {
    platform::WideCopy(settings.shortWeekdayNames[i], kShortNameCapacity, kWeekdayNameKeys[i].shortDefault);
    platform::WideCopy(settings.longWeekdayNames[i], kLongNameCapacity, kWeekdayNameKeys[i].longDefault);
  }
  for (int i = 0; i < 12; ++i) {
    platform::WideCopy(settings.shortMonthNames[i], kShortNameCapacity, kMonthNameKeys[i].shortDefault);
    platform::WideCopy(settings.longMonthNames[i], kLongNameCapacity, kMonthNameKeys[i].longDefault);
  }
}

class ExpandDatePatternTest : public ::testing::Test {
 protected:
  void SetUp() override {
    textSettings = TextSettings{};
    FillDefaultNames(textSettings);
  }

  // Expands into the first 64 units of a larger buffer and checks that nothing beyond
  // them was touched.
  std::u16string Expand(const char16_t* pattern, const DateRecord& date) {
    std::array<char16_t, kPatternCapacity + 8> buffer;
    buffer.fill(kCanary);
    ExpandDatePattern(pattern, date, std::span<char16_t, kPatternCapacity>(buffer.data(), kPatternCapacity));
    for (std::size_t i = kPatternCapacity; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], kCanary) << i;
    const int length = platform::WideLength(buffer.data());
    EXPECT_LT(length, kPatternCapacity);
    return std::u16string(buffer.data(), static_cast<std::size_t>(length));
  }

  testing::SavedTextSettings saved_;
};

TEST_F(ExpandDatePatternTest, PatternTable) {
  struct Case {
    DateRecord date;
    const char16_t* pattern;
    const char16_t* text;
  };
  const Case cases[] = {
      {Date(2007, 10, 12), u"yyyy/MM/dd", u"2007/10/12"},
      {Date(2007, 10, 12), u"yy.M.d", u"07.10.12"},
      {Date(2007, 10, 12), u"y", u"07"},
      {Date(2007, 10, 12), u"MMMM d, yyyy", u"October 12, 2007"},
      {Date(2007, 10, 12), u"MMM", u"Oct"},
      {Date(2007, 10, 12), u"ddd", u"Fr"},
      {Date(2007, 10, 12), u"dddd", u"Friday"},
      {Date(2007, 10, 12), u"ddddd", u"Friday"},
      {Date(2007, 10, 12), u"ggyyyy", u"2007"},
      {Date(2007, 10, 12), u"g", u""},
      {Date(2007, 1, 5), u"M/d", u"1/5"},
      {Date(2007, 1, 5), u"MM/dd", u"01/05"},
      {Date(2007, 1, 5), u"MMMM", u"January"},
      {Date(2007, 12, 5), u"MMM", u"Dec"},
      {Date(2005, 3, 1), u"yy", u"05"},
      {Date(2007, 10, 12), u"", u""},
      {Date(2007, 10, 12), u"Today:", u"To12a07:"},
      {Date(2007, 10, 12), u"Week W", u"Week W"},
      // Case matters, runs are taken whole, and written text is not scanned again.
      {Date(2007, 10, 12), u"DmYG", u"DmYG"},
      {Date(2007, 10, 12), u"dd-dd", u"12-12"},
      {Date(2007, 10, 12), u"yyyyy", u"2007"},
      {Date(2007, 5, 13), u"ddddMMMM", u"SundayMay"},
      {Date(2031, 12, 31), u"dddd ddd", u"Wednesday We"},
      {Date(2007, 10, 12), u"\u65e5\u4ed8 d\u65e5", u"\u65e5\u4ed8 12\u65e5"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Expand(c.pattern, c.date), std::u16string(c.text));
  }
}

TEST_F(ExpandDatePatternTest, DatesThatAreNoDays) {
  struct Case {
    DateRecord date;
    const char16_t* pattern;
    const char16_t* text;
  };
  const Case cases[] = {
      // Numbers print as they stand; the weekday is Sunday's.
      {Date(2007, 2, 30), u"yyyy/MM/dd dddd", u"2007/02/30 Sunday"},
      {Date(2032, 1, 1), u"ddd yy", u"Su 32"},
      {Date(65535, 65535, 65535), u"d M yyy", u"65535 65535 65535"},
      // A month outside 1..12 has no name.
      {Date(2007, 0, 5), u"[MMM][MMMM]M", u"[][]0"},
      {Date(2007, 13, 5), u"[MMM][MMMM]MM", u"[][]13"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Expand(c.pattern, c.date), std::u16string(c.text));
  }
  EXPECT_EQ(Expand(nullptr, Date(2007, 10, 12)), u"");
}

TEST_F(ExpandDatePatternTest, LongTextIsCutAt63Characters) {
  for (int i = 0; i < 7; ++i) {
    platform::WideCopy(textSettings.longWeekdayNames[i], kLongNameCapacity, u"ABCDEFGHIJKLMNO");
  }
  const DateRecord date = Date(2007, 10, 12);
  // Five long names and four blanks would be 79 characters.
  const std::u16string five = Expand(u"dddd dddd dddd dddd dddd", date);
  EXPECT_EQ(five.size(), 63u);
  EXPECT_EQ(five.substr(0, 16), u"ABCDEFGHIJKLMNO ");
  EXPECT_EQ(five.substr(48), u"ABCDEFGHIJKLMNO");

  // A pattern of plain characters longer than the buffer, and one that ends exactly there.
  EXPECT_EQ(Expand(std::u16string(100, u'x').c_str(), date), std::u16string(63, u'x'));
  EXPECT_EQ(Expand((std::u16string(61, u'x') + u"yyyy").c_str(), date), std::u16string(61, u'x') + u"20");
  EXPECT_EQ(Expand((std::u16string(59, u'x') + u"yyyy").c_str(), date), std::u16string(59, u'x') + u"2007");
  // Nothing is added once the text has been cut, not even a short piece that would fit.
  EXPECT_EQ(Expand((std::u16string(62, u'x') + u"dd-").c_str(), date), std::u16string(62, u'x') + u"1");
}

TEST_F(ExpandDatePatternTest, CutNeverSplitsASurrogatePair) {
  // Seven characters outside the basic plane take all 14 units plus one of a long slot.
  const std::u16string face = u"\U0001F600";
  std::u16string name;
  for (int i = 0; i < 7; ++i) name += face;
  for (int i = 0; i < 7; ++i) platform::WideCopy(textSettings.longWeekdayNames[i], kLongNameCapacity, name.c_str());
  const DateRecord date = Date(2007, 10, 12);
  // 62 characters, then a pair that does not fit: the text stops before it.
  const std::u16string cut = Expand((std::u16string(62, u'x') + u"dddd").c_str(), date);
  EXPECT_EQ(cut, std::u16string(62, u'x'));
  // With room for one pair, exactly one goes in.
  EXPECT_EQ(Expand((std::u16string(61, u'x') + u"dddd").c_str(), date), std::u16string(61, u'x') + face);
  // The same for a pair in the pattern itself.
  EXPECT_EQ(Expand((std::u16string(62, u'x') + face).c_str(), date), std::u16string(62, u'x'));
}

}  // namespace
}  // namespace orvendale

namespace orvendale {
namespace {

// Where the names carry a second form for use beside a day number, a pattern that writes
// the day of the month (one or two d) takes that form; any other pattern, the first.
TEST_F(ExpandDatePatternTest, MonthNamesBesideADayNumber) {
  platform::WideCopy(textSettings.longMonthNames[2], kLongNameCapacity, u"marzec");
  platform::WideCopy(textSettings.shortMonthNames[2], kShortNameCapacity, u"mar");
  platform::WideCopy(textSettings.longMonthNamesWithDay[2], kLongNameCapacity, u"marca");
  platform::WideCopy(textSettings.shortMonthNamesWithDay[2], kShortNameCapacity, u"marc.");
  const DateRecord date = Date(2026, 3, 20);
  const struct {
    const char16_t* pattern;
    const char16_t* text;
  } cases[] = {
      {u"d MMMM yyyy", u"20 marca 2026"},
      {u"MMMM yyyy", u"marzec 2026"},
      {u"dd.MMM", u"20.marc."},
      {u"MMM", u"mar"},
      {u"MMMM d", u"marca 20"},      // the day may come after the month
      {u"dddd, MMMM", u"Friday, marzec"},  // a weekday name is no day number
      {u"ddd MMM", u"Fr mar"},
      {u"ddddd MMMM yy", u"Friday marzec 26"},
      {u"Today: MMMM", u"To20a26: marca"},  // a d inside a word writes the day too
  };
  textSettings.monthNamesWithDayGiven = 1;
  for (const auto& c : cases) EXPECT_EQ(Expand(c.pattern, date), c.text) << std::u16string(c.pattern).size();
  // Without the second form every pattern takes the first.
  textSettings.monthNamesWithDayGiven = 0;
  EXPECT_EQ(Expand(u"d MMMM yyyy", date), u"20 marzec 2026");
  EXPECT_EQ(Expand(u"dd.MMM", date), u"20.mar");
}

}  // namespace
}  // namespace orvendale
