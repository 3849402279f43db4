#include "calendar/holiday_set.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calendar/holidays.h"
#include "calendar/packed_date.h"
#include "calendar/text_settings.h"
#include "support/saved_text_settings.h"
#include "support/temp_directory.h"

namespace orvendale {
namespace {

std::int16_t S16(int value) { return static_cast<std::int16_t>(value); }
std::uint32_t Day(int day) { return std::uint32_t{1} << (day - 1); }

// Stand-ins for the plugins, counting what the holiday set asks of them.
struct PluginCalls {
  int finds = 0;
  int resolves = 0;
  int regionMonths = 0;
  int calendarMonths = 0;
  int calendarResult = 2;  // what the calendar plugin returns: events, or -1
  std::string lastCalendarText;
};
PluginCalls calls;

int FakeResolveRegion(const char* word, char* code, int capacity) {
  ++calls.resolves;
  if (std::strcmp(word, "de-by") != 0 || capacity < 9) return 0;
  std::memcpy(code, "de-by_de", 9);
  return 1;
}
// October 3 and, to see months told apart, the first of every month.
int FakeRegionDaysOff(const char* code, int, int month, int months, std::uint32_t* masks) {
  ++calls.regionMonths;
  if (std::strcmp(code, "de-by_de") != 0 || months != 1) return 0;
  masks[0] = Day(1) | (month == 10 ? Day(3) : 0);
  return 1;
}
int FakeIcalDays(const char* text, std::size_t length, int, int month, int months, std::uint32_t* masks) {
  ++calls.calendarMonths;
  calls.lastCalendarText.assign(text, length);
  if (months != 1) return -1;
  masks[0] = calls.calendarResult < 0 ? 0 : (month == 12 ? Day(25) : 0);
  return calls.calendarResult;
}

HolidaySources FakePlugins() {
  return {[] { return ++calls.finds, &FakeResolveRegion; },
          [] { return ++calls.finds, &FakeRegionDaysOff; },
          [] { return ++calls.finds, &FakeIcalDays; }};
}
HolidaySources NoPlugins() {
  return {[]() -> OrvendaleResolveRegion { return ++calls.finds, nullptr; },
          []() -> OrvendaleRegionDaysOff { return ++calls.finds, nullptr; },
          []() -> OrvendaleIcalDays { return ++calls.finds, nullptr; }};
}

// The non-Sunday holidays of a month, as IsHoliday sees them.
std::uint32_t WeekdayHolidays(int year, int month) {
  std::uint32_t mask = 0;
  for (int day = 1; day <= DaysInMonth(S16(month), S16(year)); ++day) {
    if (WeekdayOf(S16(month), S16(day), S16(year)) != 0 && IsHoliday(S16(month), S16(day), S16(year)) == 1) {
      mask |= Day(day);
    }
  }
  return mask;
}

class HolidaySetTest : public ::testing::Test {
 protected:
  void SetUp() override { calls = PluginCalls(); }
  void TearDown() override { ChooseHolidays(nullptr, nullptr); }

  std::u16string File(const std::string& name, const std::string& bytes) {
    folder_.Write(name, bytes);
    return folder_.PlatformPath(name);
  }

  testing::TempDirectory folder_;
};

TEST_F(HolidaySetTest, WordsAndTheBuiltInTable) {
  struct Case {
    const char* word;
    HolidayRules rules;
  };
  const Case cases[] = {{nullptr, HolidayRules::kBuiltIn}, {"", HolidayRules::kBuiltIn},
                        {"none", HolidayRules::kNone},     {"NONE", HolidayRules::kNone},
                        {"JP", HolidayRules::kJapan},      {"jp", HolidayRules::kJapan},
                        {"jp_ja", HolidayRules::kRegion},  {"nonesuch", HolidayRules::kRegion},
                        {"de-by", HolidayRules::kRegion}};
  for (const Case& c : cases) EXPECT_EQ(HolidayRulesOfWord(c.word), c.rules) << (c.word ? c.word : "null");

  // Neither key: the built-in table alone, as before there were holiday sets.
  ChooseHolidays("", u"", FakePlugins());
  EXPECT_FALSE(HolidaysChosen());
  EXPECT_EQ(WeekdayHolidays(2008, 5), Day(3) | Day(5));
  EXPECT_EQ(calls.finds, 0);
  ChooseHolidays("none", nullptr, FakePlugins());
  EXPECT_TRUE(HolidaysChosen());
}

TEST_F(HolidaySetTest, NoneKeepsSundaysAndSaturdays) {
  ChooseHolidays("None", nullptr, FakePlugins());
  EXPECT_EQ(WeekdayHolidays(2008, 5), 0u);
  EXPECT_EQ(IsHoliday(5, 4, 2008), 1);   // a Sunday
  EXPECT_EQ(IsHoliday(2, 30, 2008), 1);  // not a day: counts as a Sunday, as always
  const testing::SavedTextSettings saved;
  textSettings.saturdayColor = 0x00FF0000;
  textSettings.sundayColor = 0x000000FF;
  platform::DrawingContext* context = platform::CreateCompatibleContext(platform::GetScreenContext());
  ASSERT_NE(context, nullptr);
  SetDayColor(context, 12, 23, 2006);  // a Saturday holiday of the built-in table
  EXPECT_EQ(platform::SetTextColor(context, 0), 0x00FF0000u);
  platform::DeleteContext(context);
  EXPECT_EQ(InspectHolidays().rules, HolidayRulesStatus::kNone);
  EXPECT_EQ(calls.finds, 0);  // no plugin for that
}

TEST_F(HolidaySetTest, RegionIsResolvedOnFirstNeedAndAskedOnceAMonth) {
  ChooseHolidays("de-by", nullptr, FakePlugins());
  EXPECT_EQ(calls.finds, 0);  // choosing loads nothing
  EXPECT_EQ(IsHoliday(10, 6, 2024), 1);  // a Sunday: no need to ask
  EXPECT_EQ(calls.resolves, 0);
  EXPECT_EQ(WeekdayHolidays(2024, 10), Day(1) | Day(3));
  EXPECT_EQ(WeekdayHolidays(2024, 10), Day(1) | Day(3));
  EXPECT_EQ(calls.resolves, 1);
  EXPECT_EQ(calls.regionMonths, 1);
  EXPECT_EQ(WeekdayHolidays(2024, 11), Day(1));
  EXPECT_EQ(calls.regionMonths, 2);
  const HolidayReport report = InspectHolidays();
  EXPECT_EQ(report.rules, HolidayRulesStatus::kRegion);
  EXPECT_STREQ(report.regionCode, "de-by_de");
  EXPECT_EQ(calls.resolves, 1);
}

TEST_F(HolidaySetTest, UnknownRegionOrNoLibraryGivesNoHolidays) {
  ChooseHolidays("xx-nowhere", nullptr, FakePlugins());
  EXPECT_EQ(WeekdayHolidays(2024, 10), 0u);
  EXPECT_EQ(InspectHolidays().rules, HolidayRulesStatus::kUnknownRegion);
  EXPECT_EQ(calls.regionMonths, 0);

  ChooseHolidays("de-by", nullptr, NoPlugins());
  EXPECT_EQ(WeekdayHolidays(2024, 10), 0u);
  EXPECT_EQ(InspectHolidays().rules, HolidayRulesStatus::kNoRegionLibrary);

  // A word longer than any region code is not handed to the library.
  ChooseHolidays(std::string(200, 'a').c_str(), nullptr, FakePlugins());
  EXPECT_EQ(InspectHolidays().rules, HolidayRulesStatus::kUnknownRegion);
  EXPECT_EQ(calls.resolves, 1);
}

TEST_F(HolidaySetTest, AListAddsItsDaysToTheRules) {
  const std::u16string list = File("days.txt", "2008-05-07 Party\n06-10\nbad line\n");
  ChooseHolidays(nullptr, list.c_str(), FakePlugins());
  EXPECT_TRUE(HolidaysChosen());
  EXPECT_EQ(WeekdayHolidays(2008, 5), Day(3) | Day(5) | Day(7));  // with the built-in table
  ChooseHolidays("JP", list.c_str(), FakePlugins());
  EXPECT_EQ(WeekdayHolidays(2008, 5), Day(3) | Day(5) | Day(6) | Day(7));  // May 6: a substitute
  EXPECT_EQ(WeekdayHolidays(2009, 6), Day(10));
  ChooseHolidays("de-by", list.c_str(), FakePlugins());
  EXPECT_EQ(WeekdayHolidays(2008, 6), Day(10));  // the region's June 1 is a Sunday
  const HolidayReport report = InspectHolidays();
  EXPECT_EQ(report.file, HolidayFileStatus::kList);
  EXPECT_EQ(report.entries, 2);
  EXPECT_EQ(report.skippedLines, 1);
  EXPECT_EQ(report.firstSkippedLine, 3);
}

TEST_F(HolidaySetTest, FilesThatCannotBeUsedGiveNoDays) {
  std::filesystem::create_directory(folder_.Path("folder"));
  std::string binary(70000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7919 % 251);
  struct Case {
    std::u16string path;
    HolidayFileStatus status;
    std::uint32_t days;  // weekday holidays of May 2008 with Holidays=none
  };
  const Case cases[] = {
      {folder_.PlatformPath("absent.txt"), HolidayFileStatus::kUnreadable, 0},
      {folder_.PlatformPath("folder"), HolidayFileStatus::kUnreadable, 0},
      {File("empty.txt", ""), HolidayFileStatus::kList, 0},
      {File("binary.bin", binary), HolidayFileStatus::kList, 0},
      {File("limit.txt", std::string(kMaxHolidayFileBytes - 6, '#') + "\n05-07"), HolidayFileStatus::kList, Day(7)},
      {File("over.txt", std::string(kMaxHolidayFileBytes - 5, '#') + "\n05-07"), HolidayFileStatus::kTooLarge, 0},
  };
  for (const Case& c : cases) {
    ChooseHolidays("none", c.path.c_str(), FakePlugins());
    EXPECT_EQ(WeekdayHolidays(2008, 5), c.days) << std::string(c.path.begin(), c.path.end());
    EXPECT_EQ(InspectHolidays().file, c.status) << std::string(c.path.begin(), c.path.end());
  }
}

TEST_F(HolidaySetTest, CalendarTextGoesToTheCalendarLibrary) {
  const std::string text = "\xEF\xBB\xBF\r\nbegin:vcalendar\r\nEND:VCALENDAR\r\n";
  const std::u16string path = File("family.ics", text);
  ChooseHolidays("none", path.c_str(), FakePlugins());
  EXPECT_EQ(WeekdayHolidays(2024, 12), Day(25));
  EXPECT_EQ(calls.lastCalendarText, text);
  EXPECT_EQ(WeekdayHolidays(2024, 11), 0u);
  EXPECT_EQ(calls.calendarMonths, 2);
  HolidayReport report = InspectHolidays();
  EXPECT_EQ(report.file, HolidayFileStatus::kCalendar);
  EXPECT_EQ(report.entries, 2);

  // Text the library refuses gives no days, and is not handed over again.
  calls = PluginCalls();
  calls.calendarResult = -1;
  ChooseHolidays("none", path.c_str(), FakePlugins());
  EXPECT_EQ(WeekdayHolidays(2024, 12), 0u);
  EXPECT_EQ(WeekdayHolidays(2024, 11), 0u);
  EXPECT_EQ(calls.calendarMonths, 1);
  EXPECT_EQ(InspectHolidays().file, HolidayFileStatus::kBadCalendar);

  ChooseHolidays("JP", path.c_str(), NoPlugins());
  EXPECT_EQ(WeekdayHolidays(2024, 11), Day(4) | Day(23));  // the rules still hold
  report = InspectHolidays();
  EXPECT_EQ(report.file, HolidayFileStatus::kNoCalendarLibrary);
  EXPECT_EQ(report.rules, HolidayRulesStatus::kJapan);
}

}  // namespace
}  // namespace orvendale
