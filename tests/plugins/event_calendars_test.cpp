// The user's calendars: the iCalendar plugin's list of event instances, and the event set
// that reads files and folders of them, loaded from the build folder as a run loads them.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "calendar/event_set.h"
#include "platform/system/plugin.h"
#include "plugins/holiday_plugins.h"

namespace orvendale {
namespace {

OrvendaleIcalEvents IcalEvents() {
  static const OrvendaleIcalEvents events = [] {
    setenv("ORVENDALE_PLUGIN_DIR", ORVENDALE_PLUGIN_BUILD_DIR, 1);
    const auto* plugin = platform::FindPlugin<OrvendaleIcalPlugin>();
    return plugin == nullptr ? nullptr : plugin->events;
  }();
  return events;
}

std::string Calendar(const std::string& body) {
  return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//t//t//EN\r\n" + body + "END:VCALENDAR\r\n";
}
std::string Event(const std::string& lines) { return "BEGIN:VEVENT\r\n" + lines + "END:VEVENT\r\n"; }

// Days since 1970 of a date.
std::int64_t Day(int year, int month, int day) { return EpochDayOf(PackDate(month, day, year)); }

struct Listed {
  int read = 0;
  std::vector<OrvendaleIcalEvent> events;
  std::string summaries;
  std::uint32_t cut = 0;
  std::vector<std::uint32_t> masks;
  std::vector<int> perText;

  std::string Summary(const OrvendaleIcalEvent& event) const { return summaries.substr(event.summary, event.summaryBytes); }
};

Listed List(const std::vector<std::string>& texts, int year, int month, int months, std::int64_t listFrom,
            int capacity = 64, std::uint32_t summaryCapacity = 4096) {
  Listed listed;
  std::vector<const char*> pointers;
  std::vector<std::size_t> lengths;
  for (const std::string& text : texts) {
    pointers.push_back(text.data());
    lengths.push_back(text.size());
  }
  listed.masks.assign(static_cast<std::size_t>(months), 0);
  listed.perText.assign(texts.size(), 7);
  listed.events.resize(static_cast<std::size_t>(capacity));
  listed.summaries.assign(summaryCapacity, '\0');
  OrvendaleIcalEventList list{};
  list.listFrom = static_cast<std::int32_t>(listFrom);
  list.events = listed.events.data();
  list.capacity = capacity;
  list.summaries = listed.summaries.data();
  list.summaryCapacity = summaryCapacity;
  listed.read = IcalEvents()(pointers.data(), lengths.data(), static_cast<int>(texts.size()), year, month, months,
                             listed.masks.data(), &list, listed.perText.data());
  listed.events.resize(static_cast<std::size_t>(list.count));
  listed.summaries.resize(list.summaryBytes);
  listed.cut = list.cut;
  return listed;
}

class EventCalendarsTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(IcalEvents(), nullptr);
    setenv("TZ", "UTC0", 1);
    tzset();
  }
  void TearDown() override { ChooseEventCalendars({}); }
};

TEST_F(EventCalendarsTest, EachInstanceKeepsItsDaysStartAndSummary) {
  const std::int64_t july = Day(2026, 7, 1);
  const struct {
    const char* name;
    std::string event;
    std::int64_t firstDay, lastDay;
    int startMinute;
    const char* summary;
  } cases[] = {
      {"all day", Event("DTSTART;VALUE=DATE:20260703\r\nSUMMARY:Holiday\r\n"), july + 2, july + 2, -1, "Holiday"},
      {"three days", Event("DTSTART;VALUE=DATE:20260710\r\nDTEND;VALUE=DATE:20260713\r\nSUMMARY:Trip\r\n"), july + 9,
       july + 11, -1, "Trip"},
      {"across midnight", Event("DTSTART:20260714T220000Z\r\nDTEND:20260715T020000Z\r\nSUMMARY:Night\r\n"), july + 13,
       july + 14, 22 * 60, "Night"},
      {"ends at midnight", Event("DTSTART:20260716T220000Z\r\nDTEND:20260717T000000Z\r\nSUMMARY:Late\r\n"), july + 15,
       july + 15, 22 * 60, "Late"},
      {"zero length", Event("DTSTART:20260718T101500Z\r\nSUMMARY:Call\r\n"), july + 17, july + 17, 10 * 60 + 15, "Call"},
      {"another zone", Event("DTSTART;TZID=America/New_York:20260720T210000\r\nDURATION:PT2H\r\nSUMMARY:Show\r\n"),
       july + 20, july + 20, 60, "Show"},
      {"floating", Event("DTSTART:20260722T083000\r\nSUMMARY:Run\r\n"), july + 21, july + 21, 8 * 60 + 30, "Run"},
      {"escaped text", Event("DTSTART;VALUE=DATE:20260724\r\nSUMMARY:Tea\\, cake\\; and more\r\n"), july + 23,
       july + 23, -1, "Tea, cake; and more"},
      {"no summary", Event("DTSTART;VALUE=DATE:20260725\r\n"), july + 24, july + 24, -1, ""},
  };
  for (const auto& c : cases) {
    const Listed listed = List({Calendar(c.event)}, 2026, 7, 1, july);
    ASSERT_EQ(listed.events.size(), 1u) << c.name;
    EXPECT_EQ(listed.events[0].firstDay, c.firstDay) << c.name;
    EXPECT_EQ(listed.events[0].lastDay, c.lastDay) << c.name;
    EXPECT_EQ(listed.events[0].startMinute, c.startMinute) << c.name;
    EXPECT_EQ(listed.Summary(listed.events[0]), c.summary) << c.name;
    EXPECT_EQ(listed.cut, 0u) << c.name;
  }
}

TEST_F(EventCalendarsTest, TheListKeepsTheEarliestInstancesAndSaysWhatItLeftOut) {
  // A daily event over July: with room for 5, the first five days from the 10th are kept.
  const std::string daily = Calendar(Event("DTSTART:20260601T090000Z\r\nRRULE:FREQ=DAILY\r\nSUMMARY:Daily\r\n") +
                                     Event("DTSTART;VALUE=DATE:20260710\r\nSUMMARY:First\r\n"));
  const Listed listed = List({daily}, 2026, 7, 1, Day(2026, 7, 10), 5);
  ASSERT_EQ(listed.events.size(), 5u);
  std::vector<std::int64_t> days;
  for (const auto& event : listed.events) days.push_back(event.firstDay);
  std::sort(days.begin(), days.end());
  const std::int64_t tenth = Day(2026, 7, 10);
  EXPECT_EQ(days, (std::vector<std::int64_t>{tenth, tenth, tenth + 1, tenth + 2, tenth + 3}));
  EXPECT_EQ(listed.cut, std::uint32_t{kOrvendaleIcalCutList});
  EXPECT_EQ(listed.masks[0], 0x7FFFFFFFu);  // the marks are whole all the same

  // A summary of 100 KB is cut to kOrvendaleIcalSummaryBytes, never inside a character.
  std::string text;
  for (int i = 0; i < 50000; ++i) text += "\xC3\xA9";  // é
  const Listed cut = List({Calendar(Event("DTSTART;VALUE=DATE:20260701\r\nSUMMARY:x" + text + "\r\n"))}, 2026, 7, 1,
                          Day(2026, 7, 1));
  ASSERT_EQ(cut.events.size(), 1u);
  EXPECT_EQ(cut.events[0].summaryBytes, kOrvendaleIcalSummaryBytes - 1);  // "x" and 255 whole characters
  // With no room for summaries the instances are still listed.
  const Listed noRoom = List({daily}, 2026, 7, 1, Day(2026, 7, 1), 64, 3);
  EXPECT_EQ(noRoom.events.size(), 31u + 1u);
  EXPECT_NE(noRoom.cut & kOrvendaleIcalCutList, 0u);
}

TEST_F(EventCalendarsTest, TheWorkLimitStopsRulesNotTheEventsAfterThem) {
  std::string rules;
  for (int i = 0; i < 3000; ++i) rules += Event("DTSTART;VALUE=DATE:20200101\r\nRRULE:FREQ=DAILY\r\n");
  const Listed listed = List({Calendar(rules), Calendar(Event("DTSTART;VALUE=DATE:20270615\r\nSUMMARY:Last\r\n"))},
                             2026, 1, 18, Day(2027, 6, 1), 8);
  EXPECT_EQ(listed.perText, (std::vector<int>{3000, 1}));
  EXPECT_NE(listed.cut & kOrvendaleIcalCutWork, 0u);
  EXPECT_NE(listed.masks[17] & (1u << 14), 0u);  // 15 June 2027
  // A calendar within the limits says nothing was left out.
  EXPECT_EQ(List({Calendar(Event("DTSTART;VALUE=DATE:20200101\r\nRRULE:FREQ=DAILY\r\n"))}, 2026, 1, 1, 0).cut, 0u);
}

TEST_F(EventCalendarsTest, SeveralTextsAreCountedOneByOne) {
  const Listed listed = List({Calendar(Event("DTSTART;VALUE=DATE:20260701\r\n")), "not a calendar",
                              "\x89PNG\r\n\x1a\n\x00\x01binary",
                              Calendar(Event("DTSTART;VALUE=DATE:20260702\r\n") + Event("DTSTART;VALUE=DATE:20260703\r\n") +
                                       Event("DTSTART;VALUE=DATE:20260704\r\nSTATUS:CANCELLED\r\n"))},
                             2026, 7, 1, Day(2026, 7, 1));
  EXPECT_EQ(listed.read, 3);
  EXPECT_EQ(listed.perText, (std::vector<int>{1, -1, -1, 2}));
  EXPECT_EQ(listed.masks[0], 0x7u);
  EXPECT_EQ(listed.events.size(), 3u);
}

// A scratch folder of calendar files.
class Folder {
 public:
  Folder() : path_(std::filesystem::temp_directory_path() / ("events-" + std::to_string(getpid()))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~Folder() { std::filesystem::remove_all(path_); }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
  }
  std::string path() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

TEST_F(EventCalendarsTest, AFolderIsReadAsOneCalendarAndItsBadFilesAreNamed) {
  const Folder folder;
  folder.Write("a.ics", Calendar(Event("DTSTART;VALUE=DATE:20260701\r\nSUMMARY:A\r\n")));
  folder.Write("B.ICS", "\xEF\xBB\xBF" + Calendar(Event("DTSTART;VALUE=DATE:20260702\r\nSUMMARY:B\r\n")));
  folder.Write("binary.ics", std::string("\x00\x01\x02\xFF garbage", 13));
  folder.Write("broken.ics", "BEGIN:VCALENDAR\r\nno more");
  folder.Write("notes.txt", Calendar(Event("DTSTART;VALUE=DATE:20260703\r\n")));  // not an .ics file: ignored
  std::filesystem::create_directories(folder.path() + "/sub.ics");                 // a folder: not searched
  std::filesystem::create_directory_symlink(".", folder.path() + "/loop");
  std::filesystem::create_symlink("self.ics", folder.path() + "/self.ics");  // a link loop
  std::filesystem::create_symlink("/dev/zero", folder.path() + "/zero.ics");

  ChooseEventCalendars({{Wide(folder.path()), 0x112233}, {}, {Wide(folder.path() + "/missing"), 1},
                        {Wide(folder.path() + "/a.ics"), 2}},
                       PluginEventSources());
  EXPECT_EQ(EventCalendarsOn(7, 1, 2026), 0b1001u);
  EXPECT_EQ(EventCalendarsOn(7, 2, 2026), 0b0001u);
  EXPECT_EQ(EventCalendarsOn(7, 3, 2026), 0u);
  EXPECT_EQ(EventCalendarColor(0), 0x112233u);

  const std::vector<EventCalendarReport> reports = InspectEvents(2026, 7, 1);
  EXPECT_EQ(reports[0].status, EventCalendarStatus::kRead);
  EXPECT_TRUE(reports[0].folder);
  EXPECT_EQ(reports[0].files, 3);  // a, B and broken begin as calendars; broken holds no event
  EXPECT_EQ(reports[0].events, 2);
  std::vector<std::string> skipped;
  for (const SkippedFile& file : reports[0].skipped) {
    skipped.push_back(file.name + ":" + std::to_string(static_cast<int>(file.reason)));
  }
  std::sort(skipped.begin(), skipped.end());
  EXPECT_EQ(skipped, (std::vector<std::string>{"binary.ics:2", "self.ics:0", "sub.ics:0", "zero.ics:0"}));
  EXPECT_EQ(reports[1].status, EventCalendarStatus::kNone);
  EXPECT_EQ(reports[2].status, EventCalendarStatus::kMissing);
  EXPECT_EQ(reports[3].status, EventCalendarStatus::kRead);
  EXPECT_FALSE(reports[3].folder);
}

TEST_F(EventCalendarsTest, AFolderOfTenThousandFilesIsBounded) {
  const Folder folder;
  for (int i = 0; i < 10050; ++i) {
    folder.Write("e" + std::to_string(100000 + i) + ".ics",
                 Calendar(Event("DTSTART;VALUE=DATE:202607" + std::string(i % 28 < 9 ? "0" : "") +
                                std::to_string(i % 28 + 1) + "\r\n")));
  }
  ChooseEventCalendars({{Wide(folder.path()), 1}}, PluginEventSources());
  const auto start = std::chrono::steady_clock::now();
  const std::vector<EventCalendarReport> reports = InspectEvents(2026, 7, 1);
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10.0);
  EXPECT_EQ(reports[0].files, static_cast<int>(kMaxFolderFiles));
  EXPECT_TRUE(reports[0].folderCut);
  EXPECT_EQ(reports[0].events, static_cast<int>(kMaxFolderFiles));
  EXPECT_EQ(EventCalendarsOn(7, 28, 2026), 1u);
}

TEST(PrintableSummaryTest, ControlAndDirectionCharactersDoNotReachTheDrawing) {
  const struct {
    std::string in, out;
  } cases[] = {
      {"Dentist", "Dentist"},
      {"Line one\nline two\ttab", "Line one line two tab"},
      {"\x1B[31mred\x1B[0m", "[31mred [0m"},
      {"a\xE2\x80\xAE" "evil\xE2\x80\xAC" "b", "aevilb"},  // U+202E, U+202C
      {"\xE2\x81\xA6iso\xE2\x81\xA9 \xE2\x80\x8Fmark", "iso mark"},
      {"bad \xFF\xFE bytes \xC3", "bad \xEF\xBF\xBD\xEF\xBF\xBD bytes \xEF\xBF\xBD"},
      {"  spaced    out  ", "spaced out"},
      {"\xC2\x85next line", "next line"},  // U+0085
      {"Caf\xC3\xA9 \xF0\x9F\x8E\x82", "Caf\xC3\xA9 \xF0\x9F\x8E\x82"},
      {"\xED\xA0\x80surrogate", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDsurrogate"},
  };
  for (const auto& c : cases) EXPECT_EQ(PrintableSummary(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace orvendale
