// The agenda's text before drawing: labels, times, summaries and their colours from the
// calendars (a plugin stand-in gives the instances), the line without events, and how a
// summary is cut to the width.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "calendar/event_set.h"
#include "calendar/text_settings.h"
#include "platform/drawing/graphics.h"
#include "render/agenda.h"
#include "render/surface.h"
#include "render/text_settings_loader.h"
#include "settings/ini_document.h"
#include "support/temp_directory.h"

namespace orvendale {
namespace {

// The instances the stand-in plugin lists, with their summaries.
struct Given {
  OrvendaleIcalEvent event;
  const char* summary;
};
std::vector<Given> given;

int StandInEvents(const char* const*, const std::size_t*, int textCount, int, int, int months, std::uint32_t* masks,
                  OrvendaleIcalEventList* list, int* perText) {
  for (int i = 0; i < months; ++i) masks[i] = 0;
  for (int i = 0; i < textCount; ++i) perText[i] = 1;
  list->count = 0;
  list->summaryBytes = 0;
  list->cut = 0;
  for (const Given& item : given) {
    OrvendaleIcalEvent event = item.event;
    event.summary = list->summaryBytes;
    event.summaryBytes = static_cast<std::uint32_t>(std::strlen(item.summary));
    std::memcpy(list->summaries + list->summaryBytes, item.summary, event.summaryBytes);
    list->summaryBytes += event.summaryBytes;
    list->events[list->count++] = event;
  }
  return static_cast<int>(given.size());
}
OrvendaleIcalEvents FindStandIn() { return StandInEvents; }

constexpr ColorRef kText = 0x303030, kSunday = 0x2222CC, kSaturday = 0xCC5522, kToday = 0x1478E6;
constexpr ColorRef kFirst = 0x0000AA, kSecond = 0x00AA00;

class AgendaTest : public ::testing::Test {
 protected:
  void Use(const std::string& contents) {
    directory_.Write("cal.ics", "BEGIN:VCALENDAR\r\nEND:VCALENDAR\r\n");
    directory_.Write("s.ini", "[Contents]\nType=Agenda\n" + contents +
                                  "\n[Text]\nColor=RGB(48, 48, 48)\nSundayColor=RGB(204, 34, 34)\n"
                                  "SaturdayColor=RGB(34, 85, 204)\nTodayColor=RGB(230, 120, 20)\n");
    document_ = std::make_unique<IniDocument>(directory_.PlatformPath("s.ini").c_str());
    ASSERT_EQ(document_->Load(), S_OK);
    LoadTextSettings(*document_);
    const std::u16string calendar = directory_.PlatformPath("cal.ics");
    ChooseEventCalendars({{calendar, kFirst}, {calendar, kSecond}}, EventSources{FindStandIn});
  }
  void TearDown() override {
    ChooseEventCalendars({});
    given.clear();
  }
  std::vector<AgendaTextLine> Text(int year, int month, int day) {
    DateRecord today;
    today.year = static_cast<std::uint16_t>(year);
    today.month = static_cast<std::uint16_t>(month);
    today.day = static_cast<std::uint16_t>(day);
    return AgendaText(*document_, "Contents", today);
  }

  testing::TempDirectory directory_;
  std::unique_ptr<IniDocument> document_;
};

std::int32_t Day(int year, int month, int day) {
  return static_cast<std::int32_t>(EpochDayOf(PackDate(month, day, year)));
}

TEST_F(AgendaTest, LabelsTimesSummariesAndTheirColours) {
  // Both calendars are the same stand-in: each instance comes once from each.
  given = {{{Day(2026, 12, 12), Day(2026, 12, 12), 9 * 60 + 5, 0, 0}, "Market"},
           {{Day(2026, 12, 8), Day(2026, 12, 8), -1, 0, 0}, "Today"},
           {{Day(2026, 12, 13), Day(2026, 12, 14), 23 * 60, 0, 0}, "Late"}};
  Use("Days=7\nLines=20\nFormat=ddd d");
  const std::vector<AgendaTextLine> lines = Text(2026, 12, 8);
  const struct {
    const char16_t* label;
    const char16_t* time;
    const char16_t* summary;
    ColorRef labelColor, eventColor;
  } expected[] = {
      {u"Tu 8", u"", u"Today", kToday, kFirst},          {u"", u"", u"Today", kToday, kSecond},
      {u"Sa 12", u"09:05", u"Market", kSaturday, kFirst}, {u"", u"09:05", u"Market", kSaturday, kSecond},
      {u"Su 13", u"23:00", u"Late", kSunday, kFirst},     {u"", u"23:00", u"Late", kSunday, kSecond},
      {u"Mo 14", u"", u"Late", kText, kFirst},            {u"", u"", u"Late", kText, kSecond},
  };
  ASSERT_EQ(lines.size(), std::size(expected));
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].label, expected[i].label) << i;
    EXPECT_EQ(lines[i].time, expected[i].time) << i;
    EXPECT_EQ(lines[i].summary, expected[i].summary) << i;
    EXPECT_EQ(lines[i].labelColor, expected[i].labelColor) << i;
    EXPECT_EQ(lines[i].eventColor, expected[i].eventColor) << i;
  }

  Use("Days=7\nLines=3\nClock=12");
  const std::vector<AgendaTextLine> cut = Text(2026, 12, 9);
  ASSERT_EQ(cut.size(), 3u);
  EXPECT_EQ(cut[0].label, u"Sa 12 Dec");  // the default pattern
  EXPECT_EQ(cut[0].time, u"9:05am");
  EXPECT_EQ(cut[2].label, u"Su 13 Dec");
  EXPECT_EQ(cut[2].time, u"11:00pm");
}

TEST_F(AgendaTest, DaysWithoutEventsGiveOneLine) {
  given = {{{Day(2026, 12, 20), Day(2026, 12, 20), -1, 0, 0}, "Later"}};
  Use("Days=3");
  std::vector<AgendaTextLine> lines = Text(2026, 12, 8);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].summary, u"No events");
  EXPECT_EQ(lines[0].label, u"");
  EXPECT_EQ(lines[0].eventColor, kText);
  directory_.Write("s2.ini", "[Contents]\nType=Agenda\nDays=3\n[LongName]\nNoEvents=Rien\n");
  IniDocument other(directory_.PlatformPath("s2.ini").c_str());
  ASSERT_EQ(other.Load(), S_OK);
  DateRecord today;
  today.year = 2026, today.month = 12, today.day = 8;
  lines = AgendaText(other, "Contents", today);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].summary, u"Rien");
}

TEST_F(AgendaTest, ASummaryIsCutToTheWidthWithAnEllipsis) {
  Use("");
  DrawingSequence sequence(platform::GetScreenContext(), *document_);
  const auto width = [&](const std::u16string& text) {
    Rect measured{0, 0, 0, 0};
    platform::DrawText(sequence.context(), text.c_str(), static_cast<int>(text.size()), &measured,
                       platform::TextFlags::kCalculateRect | platform::TextFlags::kSingleLine |
                           platform::TextFlags::kNoPrefix);
    return std::int64_t{measured.right};
  };
  const std::u16string text = u"Night deployment across midnight";
  EXPECT_EQ(FitAgendaText(sequence.context(), text, width(text)), text);
  for (const std::int64_t room : {width(text) - 1, width(text) / 2, width(u"N…"), std::int64_t{1}}) {
    const std::u16string fitted = FitAgendaText(sequence.context(), text, room);
    ASSERT_FALSE(fitted.empty());
    EXPECT_EQ(fitted.back(), u'…') << room;
    EXPECT_TRUE(room < width(u"N…") || width(fitted) <= room) << room;
    EXPECT_NE(fitted.size() >= 2 ? fitted[fitted.size() - 2] : u'x', u' ') << room;
    EXPECT_EQ(text.compare(0, fitted.size() - 1, fitted, 0, fitted.size() - 1), 0) << room;
  }
  // A character outside the basic plane is never split.
  const std::u16string emoji = u"ab\U0001F382\U0001F382\U0001F382cd";
  for (std::int64_t room = 1; room < width(emoji); ++room) {
    const std::u16string fitted = FitAgendaText(sequence.context(), emoji, room);
    ASSERT_GE(fitted.size(), 1u);
    if (fitted.size() >= 2) {
      EXPECT_FALSE(fitted[fitted.size() - 2] >= 0xD800 && fitted[fitted.size() - 2] <= 0xDBFF) << room;
    }
  }
}

}  // namespace
}  // namespace orvendale
