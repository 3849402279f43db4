// The agenda's lines before drawing (which events, on which days, in which order, with which
// time text) and where the grid's marks go in a cell.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/agenda_lines.h"
#include "render/event_marks.h"

namespace orvendale {
namespace {

EventInstance Instance(std::int64_t first, std::int64_t last, int minute, int calendar, const char* summary) {
  EventInstance instance;
  instance.firstDay = first;
  instance.lastDay = last;
  instance.startMinute = minute;
  instance.calendar = calendar;
  instance.summary = summary;
  return instance;
}

// A line as "day first? time calendar summary".
std::string Show(const AgendaLine& line) {
  return std::to_string(line.day) + (line.firstOfDay ? "* " : "  ") + std::to_string(line.startMinute) + " " +
         std::to_string(line.calendar) + " " + line.summary;
}

std::vector<std::string> Lines(const std::vector<EventInstance>& instances, std::int64_t first, int days, int max) {
  std::vector<std::string> shown;
  for (const AgendaLine& line : ListAgenda(instances, first, days, max)) shown.push_back(Show(line));
  return shown;
}

TEST(AgendaLinesTest, OrderDaysAndLimits) {
  const std::vector<EventInstance> week = {
      Instance(12, 12, 9 * 60, 1, "Stand-up"),     Instance(10, 10, 14 * 60, 0, "Dentist"),
      Instance(10, 10, 9 * 60, 1, "Review"),       Instance(10, 10, 9 * 60, 0, "Breakfast"),
      Instance(10, 10, -1, 1, "Holiday"),          Instance(8, 11, -1, 0, "Trip"),
      Instance(11, 12, 22 * 60, 0, "Night shift"), Instance(10, 10, 9 * 60, 0, "Alarm"),
      Instance(20, 20, -1, 0, "Later"),            Instance(2, 5, -1, 0, "Before"),
  };
  const struct {
    const char* name;
    std::int64_t first;
    int days, max;
    std::vector<std::string> lines;
  } cases[] = {
      {"a day: all-day first (calendar, then summary), then by time, calendar and summary",
       10, 1, 100,
       {"10* -1 0 Trip", "10  -1 1 Holiday", "10  540 0 Alarm", "10  540 0 Breakfast", "10  540 1 Review",
        "10  840 0 Dentist"}},
      {"several days: an event on each day it covers, its time on its first day only",
       11, 2, 100,
       {"11* -1 0 Trip", "11  1320 0 Night shift", "12* -1 0 Night shift", "12  540 1 Stand-up"}},
      {"the line limit cuts within a day", 9, 3, 3, {"9* -1 0 Trip", "10* -1 0 Trip", "10  -1 1 Holiday"}},
      {"days without events are left out", 13, 8, 100, {"20* -1 0 Later"}},
      {"the day limit ends the list", 13, 7, 100, {}},
      {"a long event started before today", 4, 2, 100, {"4* -1 0 Before", "5* -1 0 Before"}},
      {"nothing at all", 30, 366, 100, {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Lines(week, c.first, c.days, c.max), c.lines) << c.name;
}

TEST(AgendaLinesTest, ALongEventOverAYearStaysBounded) {
  // 4,096 instances a calendar can list, each over a whole year: the list stops at its lines.
  std::vector<EventInstance> many(4096, Instance(0, 400, -1, 0, "Long"));
  EXPECT_EQ(ListAgenda(many, 0, kMaxAgendaDays, kMaxAgendaLines).size(), static_cast<std::size_t>(kMaxAgendaLines));
}

TEST(AgendaLinesTest, ClockTexts) {
  const struct {
    int minute;
    const char16_t* hours24;
    const char16_t* hours12;
  } cases[] = {
      {-1, u"", u""},          {0, u"00:00", u"12:00am"},     {5, u"00:05", u"12:05am"},
      {9 * 60 + 30, u"09:30", u"9:30am"}, {12 * 60, u"12:00", u"12:00pm"}, {13 * 60 + 1, u"13:01", u"1:01pm"},
      {23 * 60 + 59, u"23:59", u"11:59pm"}, {22 * 60 + 10, u"22:10", u"10:10pm"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClockText(c.minute, false), c.hours24) << c.minute;
    EXPECT_EQ(ClockText(c.minute, true), c.hours12) << c.minute;
  }
}

TEST(EventMarksTest, MarksStayBelowTheInkAndInsideTheCell) {
  const struct {
    const char* name;
    EventMarkStyle style;
    std::int32_t rasterX, rasterY, lineHeight, inkBottom;
    std::int32_t bandTop, bandHeight, size, thickness;
  } cases[] = {
      // The example grid: 24 x 20 cells, a 14-pixel line whose digits end 11 rows down.
      {"example dots", EventMarkStyle::kDot, 24, 20, 14, 11, 15, 5, 3, 1},
      {"example bars", EventMarkStyle::kBar, 24, 20, 14, 11, 15, 5, 3, 1},
      {"large cells", EventMarkStyle::kDot, 48, 40, 28, 22, 29, 11, 7, 3},
      {"a tight cell: the dot shrinks to the band", EventMarkStyle::kDot, 24, 14, 14, 12, 13, 1, 1, 1},
      {"no room below the digits", EventMarkStyle::kDot, 24, 14, 14, 14, 0, 0, 0, 0},
      {"a font taller than the cell", EventMarkStyle::kDot, 24, 10, 20, 16, 0, 0, 0, 0},
      {"no marks", EventMarkStyle::kNone, 24, 20, 14, 11, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    const EventMarkGeometry geometry = PlanEventMarks(c.style, c.rasterX, c.rasterY, c.lineHeight, c.inkBottom);
    EXPECT_EQ(geometry.bandTop, c.bandTop) << c.name;
    EXPECT_EQ(geometry.bandHeight, c.bandHeight) << c.name;
    EXPECT_EQ(geometry.size, c.size) << c.name;
    EXPECT_EQ(geometry.thickness, c.thickness) << c.name;
    if (geometry.bandHeight > 0) {
      // Below the lowest ink of the centred digits, and not past the cell's bottom.
      EXPECT_GT(geometry.bandTop, (c.rasterY - c.lineHeight) / 2 + c.inkBottom - 1) << c.name;
      EXPECT_EQ(geometry.bandTop + geometry.bandHeight, c.rasterY) << c.name;
      EXPECT_LE(c.style == EventMarkStyle::kDot ? geometry.size : geometry.thickness, geometry.bandHeight) << c.name;
    }
  }
}

}  // namespace
}  // namespace orvendale
