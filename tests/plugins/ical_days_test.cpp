// The iCalendar plugin, loaded from the build folder as the program loads it, on files
// written for these tests (tests/plugins/data) and on texts made here.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "platform/system/plugin.h"
#include "plugins/holiday_plugins.h"

namespace {

OrvendaleIcalDays IcalDays() {
  static const OrvendaleIcalDays days = [] {
    setenv("ORVENDALE_PLUGIN_DIR", ORVENDALE_PLUGIN_BUILD_DIR, 1);
    const auto* table = orvendale::platform::FindPlugin<OrvendaleIcalPlugin>();
    return table == nullptr ? nullptr : table->days;
  }();
  return days;
}

std::string ReadFixture(const char* name) {
  std::ifstream file(std::string(ORVENDALE_SOURCE_DIR) + "/tests/plugins/data/" + name, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string WithLineEnds(const std::string& text, const char* lineEnd) {
  std::string result;
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') {
      result += lineEnd;
    } else {
      result += c;
    }
  }
  return result;
}

std::uint32_t Days(std::initializer_list<int> days) {
  std::uint32_t mask = 0;
  for (int day : days) mask |= std::uint32_t{1} << (day - 1);
  return mask;
}

struct Result {
  int events;
  std::vector<std::uint32_t> masks;
};

Result Read(const std::string& text, int year, int month, int months = 1) {
  Result result{0, std::vector<std::uint32_t>(static_cast<std::size_t>(months), 0xFFFFFFFF)};
  result.events = IcalDays()(text.data(), text.size(), year, month, months, result.masks.data());
  return result;
}

std::uint32_t Month(const std::string& text, int year, int month) { return Read(text, year, month).masks[0]; }

void UseTimeZone(const char* zone) {
  setenv("TZ", zone, 1);
  tzset();
}

class IcalDaysTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(IcalDays(), nullptr);
    UseTimeZone("UTC0");
  }
};

TEST_F(IcalDaysTest, AllDayEventsCoverTheirDaysWithTheEndLeftOut) {
  const std::string text = ReadFixture("all_day.ics");
  ASSERT_NE(text.find("\r\n"), std::string::npos);
  EXPECT_EQ(Read(text, 2026, 1).events, 4);
  EXPECT_EQ(Month(text, 2026, 5), Days({5}));  // no end: one day; the VTODO is not an event
  EXPECT_EQ(Month(text, 2026, 8), Days({10, 11, 12, 13, 14}));
  EXPECT_EQ(Month(text, 2026, 9), Days({21, 22, 23, 24, 25, 26, 27}));
  EXPECT_EQ(Month(text, 2026, 4), 0u);
  const Result turn = Read(text, 2026, 12, 2);
  EXPECT_EQ(turn.masks[0], Days({30, 31}));
  EXPECT_EQ(turn.masks[1], Days({1, 2}));
}

TEST_F(IcalDaysTest, RecurrencesWithExceptionsAndExtraDates) {
  const std::string text = ReadFixture("birthdays.ics");
  ASSERT_EQ(text.find('\r'), std::string::npos);
  const struct {
    int year, month;
    std::uint32_t days;
  } cases[] = {
      {1979, 3, 0},         {1980, 3, Days({14})}, {2026, 3, Days({14})},
      {2027, 3, 0},         {2028, 3, Days({14})}, {2031, 3, Days({14})},  // the birthday, but 2027
      {1995, 2, 0},         {1996, 2, Days({29})}, {2026, 2, Days({28})},
      {2028, 2, Days({29})},                                                // the last day of February
      {2026, 4, Days({7, 21})},  {2026, 5, Days({5, 12})},                 // COUNT=3, one excluded, RDATEs
      {2027, 4, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(Month(text, c.year, c.month), c.days) << c.year << "-" << c.month;
  EXPECT_EQ(Read(text, 2026, 1).events, 3);
}

std::string Calendar(const std::string& body);
std::string Event(const std::string& lines);

TEST_F(IcalDaysTest, AMovedInstanceMarksItsNewDayInsteadOfItsOldOne) {
  const std::string text = Calendar(
      Event("UID:course\r\nDTSTART;VALUE=DATE:20260602\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\n") +
      Event("UID:course\r\nRECURRENCE-ID;VALUE=DATE:20260609\r\nDTSTART;VALUE=DATE:20260610\r\n") +
      Event("UID:call\r\nDTSTART:20260701T100000Z\r\nDURATION:PT1H\r\nRRULE:FREQ=DAILY;COUNT=3\r\n") +
      Event("UID:call\r\nRECURRENCE-ID:20260702T100000Z\r\nDTSTART:20260705T100000Z\r\n") +
      // Replacing an instance of no event: only its own day.
      Event("UID:nothing\r\nRECURRENCE-ID;VALUE=DATE:20260615\r\nDTSTART;VALUE=DATE:20260616\r\n"));
  const Result result = Read(text, 2026, 6, 2);
  EXPECT_EQ(result.events, 5);
  EXPECT_EQ(result.masks[0], Days({2, 10, 16}));
  EXPECT_EQ(result.masks[1], Days({1, 3, 5}));
}

TEST_F(IcalDaysTest, FoldedLinesAndEitherLineEndReadAlike) {
  for (const char* name : {"all_day.ics", "birthdays.ics", "folded.ics", "timed.ics"}) {
    const std::string text = ReadFixture(name);
    const Result asWritten = Read(text, 2026, 1, 24);
    EXPECT_GT(asWritten.events, 0) << name;
    EXPECT_EQ(Read(WithLineEnds(text, "\n"), 2026, 1, 24).masks, asWritten.masks) << name;
    EXPECT_EQ(Read(WithLineEnds(text, "\r\n"), 2026, 1, 24).masks, asWritten.masks) << name;
    EXPECT_EQ(Read(WithLineEnds(text, "\r"), 2026, 1, 24).masks, asWritten.masks) << name;
  }
  // The start and the rule of the fourth Thursday of November are folded mid-word.
  const std::string folded = ReadFixture("folded.ics");
  EXPECT_EQ(Month(folded, 2026, 11), Days({26}));
  EXPECT_EQ(Month(folded, 2027, 11), Days({25}));
  EXPECT_EQ(Month(folded, 2026, 10), 0u);
}

TEST_F(IcalDaysTest, TimedEventsMarkTheLocalDaysTheyTouch) {
  const std::string text = ReadFixture("timed.ics");
  const struct {
    const char* zone;
    int year, month;
    std::uint32_t days;
  } cases[] = {
      // A floating time is local wherever it is read; the end is left out.
      {"UTC0", 2026, 12, Days({31})},   {"UTC0", 2027, 1, Days({1})},
      {"JST-9", 2026, 12, Days({31})},  {"UTC0", 2026, 9, Days({1})},
      // 23:00-24:00 UTC on June 10 is 08:00-09:00 on June 11 in Japan.
      {"UTC0", 2026, 6, Days({10})},    {"JST-9", 2026, 6, Days({11})},
      // 21:00 summer time in the calendar's eastern zone is 01:00 UTC the next day.
      {"UTC0", 2026, 7, Days({2})},     {"EST5EDT,M3.2.0,M11.1.0", 2026, 7, Days({1})},
      // Weekly at 20:00 eastern standard time, the second left out.
      {"UTC0", 2026, 1, Days({16, 30})}, {"EST5EDT,M3.2.0,M11.1.0", 2026, 1, Days({15, 29})},
  };
  for (const auto& c : cases) {
    UseTimeZone(c.zone);
    EXPECT_EQ(Month(text, c.year, c.month), c.days) << c.zone << " " << c.year << "-" << c.month;
  }
}

TEST_F(IcalDaysTest, MalformedEventsAreSkippedAndTheRestRead) {
  const std::string text = ReadFixture("malformed.ics");
  const Result march = Read(text, 2026, 3);
  // An unknown rule and end leave a one-day event; an end before the start too; an
  // unknown zone reads as floating.
  EXPECT_EQ(march.masks[0], Days({3, 17, 20, 25}));
  EXPECT_GE(march.events, 4);
}

TEST_F(IcalDaysTest, TextThatIsNoCalendarIsRefused) {
  const char* texts[] = {
      "", "hello", "\x89PNG\r\n\x1a\n", "BEGIN:VEVENT\nDTSTART;VALUE=DATE:20260101\nEND:VEVENT\n",
      "BEGIN:VCARD\nFN:Someone\nEND:VCARD\n",
  };
  for (const char* text : texts) {
    const Result result = Read(text, 2026, 1);
    EXPECT_EQ(result.events, -1) << text;
    EXPECT_EQ(result.masks[0], 0u) << text;
  }
  EXPECT_EQ(Read("BEGIN:VCALENDAR\nEND:VCALENDAR\n", 2026, 1).events, 0);
}

TEST_F(IcalDaysTest, RefusesBadWindowsWithClearedMasks) {
  const std::string text = ReadFixture("all_day.ics");
  for (const auto& [year, month, months] : std::vector<std::tuple<int, int, int>>{
           {2026, 0, 2}, {2026, 13, 2}, {0, 5, 2}, {10000, 5, 2}, {2026, 5, 100000}}) {
    std::vector<std::uint32_t> masks(static_cast<std::size_t>(months), 0xFFFFFFFF);
    EXPECT_EQ(IcalDays()(text.data(), text.size(), year, month, months, masks.data()), -1);
    for (std::uint32_t mask : masks) ASSERT_EQ(mask, 0u);
  }
  std::uint32_t mask = 5;
  EXPECT_EQ(IcalDays()(text.data(), text.size(), 2026, 5, 0, &mask), -1);
  EXPECT_EQ(mask, 5u);
  EXPECT_EQ(IcalDays()(nullptr, 10, 2026, 5, 1, &mask), -1);
  EXPECT_EQ(mask, 0u);
  EXPECT_EQ(IcalDays()(text.data(), text.size(), 2026, 5, 1, nullptr), -1);
  // Only `length` bytes are read: the text need not end in NUL.
  EXPECT_EQ(IcalDays()(text.data(), text.find("BEGIN:VEVENT"), 2026, 5, 1, &mask), 0);
}

TEST_F(IcalDaysTest, TruncatedTextNeverReadsMoreEventsThanTheWhole) {
  for (const char* name : {"all_day.ics", "timed.ics", "birthdays.ics"}) {
    const std::string text = ReadFixture(name);
    const int whole = Read(text, 2026, 1, 12).events;
    for (std::size_t length = 0; length < text.size(); length += 7) {
      const Result cut = Read(text.substr(0, length), 2026, 1, 12);
      EXPECT_LE(cut.events, whole) << name << " cut at " << length;
    }
  }
}

// Seconds a call takes; the work limits keep each of these far below a second (a few
// under the sanitizers).
double Seconds(const std::string& text, int year, int month, int months, Result* result) {
  const auto start = std::chrono::steady_clock::now();
  *result = Read(text, year, month, months);
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string Calendar(const std::string& body) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n" + body + "END:VCALENDAR\r\n";
}

std::string Event(const std::string& lines) { return "BEGIN:VEVENT\r\n" + lines + "END:VEVENT\r\n"; }

TEST_F(IcalDaysTest, EndlessAndAbsurdRecurrencesAreBounded) {
  const struct {
    const char* name;
    std::string lines;
    int year, month;
    std::uint32_t days;
  } cases[] = {
      {"daily without end, from 1904", "DTSTART;VALUE=DATE:19040101\r\nRRULE:FREQ=DAILY\r\n", 2031, 12,
       0x7FFFFFFF},
      {"daily with an absurd count", "DTSTART;VALUE=DATE:19040101\r\nRRULE:FREQ=DAILY;COUNT=2000000000\r\n", 2031,
       12, 0x7FFFFFFF},
      {"a rule that never matches", "DTSTART;VALUE=DATE:19040101\r\nRRULE:FREQ=DAILY;BYMONTH=2;BYMONTHDAY=30\r\n",
       2031, 2, 0},
      {"every second, read as its start", "DTSTART:20260105T000000\r\nRRULE:FREQ=SECONDLY\r\n", 2026, 1, Days({5})},
      {"a span of a thousand years", "DTSTART;VALUE=DATE:15000101\r\nDTEND;VALUE=DATE:25000101\r\n", 2026, 2,
       0x0FFFFFFF},
      {"a negative duration", "DTSTART:20260205T100000\r\nDURATION:-P3D\r\n", 2026, 2, Days({5})},
  };
  for (const auto& c : cases) {
    Result result;
    const double seconds = Seconds(Calendar(Event(c.lines)), c.year, c.month, 1, &result);
    EXPECT_EQ(result.events, 1) << c.name;
    EXPECT_EQ(result.masks[0], c.days) << c.name;
    EXPECT_LT(seconds, 10.0) << c.name;
  }
}

TEST_F(IcalDaysTest, ThousandsOfEventsAndDeepNestingAreBounded) {
  // No count of events cuts a calendar: the events after the ten thousandth are read too,
  // and so the 29th of July is marked.
  std::string many;
  for (int i = 0; i < 10200; ++i) {
    const int day = i < 10000 ? i % 28 + 1 : 29;
    many += Event("DTSTART;VALUE=DATE:202607" + std::string(day < 10 ? "0" : "") + std::to_string(day) + "\r\n");
  }
  Result result;
  EXPECT_LT(Seconds(Calendar(many), 2026, 7, 1, &result), 30.0);
  EXPECT_EQ(result.events, 10200);
  EXPECT_EQ(result.masks[0], 0x1FFFFFFFu);

  // Each endless daily event marks a whole year: the rules' work ends long before the
  // events, which are all read all the same (their rules past the limit not expanded).
  std::string endless;
  for (int i = 0; i < 10000; ++i) endless += Event("DTSTART;VALUE=DATE:20200101\r\nRRULE:FREQ=DAILY\r\n");
  EXPECT_LT(Seconds(Calendar(endless), 2026, 1, 12, &result), 30.0);
  EXPECT_EQ(result.events, 10000);
  EXPECT_EQ(result.masks[1], 0x0FFFFFFFu);

  std::string deep = "BEGIN:VCALENDAR\r\n" + Event("DTSTART;VALUE=DATE:20260601\r\n");
  for (int i = 0; i < 200000; ++i) deep += "BEGIN:X\r\n";
  EXPECT_LT(Seconds(deep, 2026, 6, 1, &result), 30.0);
  EXPECT_EQ(result.masks[0], Days({1}));

  // A time zone whose changes repeat every second is not used: its times read as floating.
  const std::string zone =
      "BEGIN:VTIMEZONE\r\nTZID:Busy\r\nBEGIN:STANDARD\r\nDTSTART:16000101T000000\r\nRRULE:FREQ=SECONDLY\r\n"
      "TZOFFSETFROM:+0000\r\nTZOFFSETTO:+1400\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";
  EXPECT_LT(Seconds(Calendar(zone + Event("DTSTART;TZID=Busy:20260610T230000\r\n")), 2026, 6, 1, &result), 10.0);
  EXPECT_EQ(result.masks[0], Days({10}));
}

TEST_F(IcalDaysTest, ALibicalCallThatTakesSecondsIsCutOffWithTheDaysMarkedSoFar) {
  // libical looks for the ninth Monday of a month until its last year, for seconds, at
  // the first instance: the work is stopped after a few seconds, whatever libical does.
  std::string text = Event("DTSTART;VALUE=DATE:20260105\r\n");
  for (int i = 0; i < 6; ++i) text += Event("DTSTART;VALUE=DATE:20260106\r\nRRULE:FREQ=MONTHLY;BYSETPOS=9;BYDAY=MO\r\n");
  Result result;
  EXPECT_LT(Seconds(Calendar(text), 2026, 1, 1, &result), 15.0);
  EXPECT_GE(result.events, 1);
  EXPECT_LE(result.events, 7);
  EXPECT_EQ(result.masks[0] & Days({5}), Days({5}));
}

TEST_F(IcalDaysTest, PrintsNothing) {
  std::vector<std::string> texts;
  for (const char* name : {"all_day.ics", "birthdays.ics", "folded.ics", "timed.ics", "malformed.ics"}) {
    texts.push_back(ReadFixture(name));
    texts.push_back(texts.back().substr(0, texts.back().size() / 2));
  }
  // The fuzz target's seeds, past findings among them, without their four window bytes.
  for (const auto& entry :
       std::filesystem::directory_iterator(std::string(ORVENDALE_SOURCE_DIR) + "/fuzz/corpus/ical_days")) {
    std::ifstream file(entry.path(), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    if (text.str().size() >= 4) texts.push_back(text.str().substr(4));
  }
  ASSERT_GT(texts.size(), 10u);
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  for (const std::string& text : texts) Read(text, 2026, 1, 24);
  Read(Calendar(Event("DTSTART;TZID=Nowhere:20260101T100000\r\nRRULE:FREQ=MONTHLY;BYDAY=9MO\r\n")), 2026, 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace

namespace {

// A calendar exported after years of use: `count` one-hour events, all but the last ten
// spread over 2000 to 2024 (day i % 9000 from 2000-01-01), the last ten on 1 to 10 July 2026.
std::string LongHistory(int count) {
  std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n";
  for (int i = 0; i < count; ++i) {
    const std::time_t day = (i < count - 10 ? 10957 + i % 9000 : 20635 + (count - 1 - i)) * std::time_t{86400};
    std::tm date{};
    gmtime_r(&day, &date);
    char start[32];
    std::strftime(start, sizeof start, "%Y%m%dT100000Z", &date);
    text += "BEGIN:VEVENT\r\nUID:e" + std::to_string(i) + "\r\nDTSTART:" + start +
            "\r\nDURATION:PT1H\r\nSUMMARY:Meeting " + std::to_string(i) + "\r\nEND:VEVENT\r\n";
  }
  return text + "END:VCALENDAR\r\n";
}

}  // namespace

TEST_F(IcalDaysTest, WhatAUsersCalendarHoldsIsReadWhole) {
  const std::string bom = "\xEF\xBB\xBF";
  const std::string plain = Calendar(Event("DTSTART;VALUE=DATE:20260704\r\n"));
  const struct {
    const char* name;
    std::string text;
    int year, month;
    std::uint32_t days;
    int events;
  } cases[] = {
      // A byte-order mark before BEGIN:VCALENDAR, as some programs save it.
      {"a byte-order mark", bom + plain, 2026, 7, Days({4}), 1},
      {"a byte-order mark and LF line ends", bom + WithLineEnds(plain, "\n"), 2026, 7, Days({4}), 1},
      // A cancelled event is no day off; its moved instance cancelled frees the old day too.
      {"a cancelled event",
       Calendar(Event("DTSTART;VALUE=DATE:20260703\r\nSTATUS:CANCELLED\r\n") + Event("DTSTART;VALUE=DATE:20260706\r\n")),
       2026, 7, Days({6}), 1},
      {"a cancelled instance",
       Calendar(Event("UID:w\r\nDTSTART;VALUE=DATE:20260701\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\n") +
                Event("UID:w\r\nRECURRENCE-ID;VALUE=DATE:20260708\r\nDTSTART;VALUE=DATE:20260708\r\n"
                      "STATUS:CANCELLED\r\n")),
       2026, 7, Days({1, 15}), 1},
      {"status written in small letters", Calendar(Event("DTSTART;VALUE=DATE:20260703\r\nSTATUS:cancelled\r\n")), 2026,
       7, 0, 0},
      // Rules within a day mark every day an instance touches.
      {"hourly, 48 times", Calendar(Event("DTSTART:20260710T220000Z\r\nRRULE:FREQ=HOURLY;COUNT=48\r\n")), 2026, 7,
       Days({10, 11, 12}), 1},
      {"every 24 hours", Calendar(Event("DTSTART:20260728T090000Z\r\nRRULE:FREQ=HOURLY;INTERVAL=24\r\n")), 2026, 7,
       Days({28, 29, 30, 31}), 1},
      {"every 24 hours, 3 times",
       Calendar(Event("DTSTART:20260705T090000Z\r\nRRULE:FREQ=HOURLY;INTERVAL=24;COUNT=3\r\n")), 2026, 7,
       Days({5, 6, 7}), 1},
      {"every 90 minutes until the next day",
       Calendar(Event("DTSTART:20260705T200000Z\r\nRRULE:FREQ=MINUTELY;INTERVAL=90;UNTIL=20260706T020000Z\r\n")), 2026,
       7, Days({5, 6}), 1},
      {"hourly on one hour of the day from before the window",
       Calendar(Event("DTSTART:20250101T070000Z\r\nRRULE:FREQ=HOURLY;BYHOUR=7;BYDAY=MO\r\n")), 2026, 7,
       Days({6, 13, 20, 27}), 1},
  };
  for (const auto& c : cases) {
    const Result result = Read(c.text, c.year, c.month);
    EXPECT_EQ(result.masks[0], c.days) << c.name;
    EXPECT_EQ(result.events, c.events) << c.name;
  }
}

TEST_F(IcalDaysTest, AHundredThousandEventsAreReadWithinTheTimeLimit) {
  const std::string text = LongHistory(100000);
  ASSERT_GT(text.size(), std::size_t{4} << 20);  // more than the old limit of the text
  Result result;
  EXPECT_LT(Seconds(text, 2026, 7, 1, &result), 6.0);
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "the sanitizers make reading the file slower than the time limit: only the bound is checked";
#endif
  EXPECT_EQ(result.events, 100000);
  EXPECT_EQ(result.masks[0], Days({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}
