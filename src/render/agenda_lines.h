#pragma once
// The lines of the agenda picture, before anything is drawn: which events of which days,
// in which order, and the text of their time column.

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/event_set.h"
#include "settings/settings_table.h"

namespace orvendale {

class IniDocument;

inline constexpr int kDefaultAgendaDays = Setting("Contents", "Days").defaultNumber;
inline constexpr int kMaxAgendaDays = 366;
inline constexpr int kDefaultAgendaLines = Setting("Contents", "Lines").defaultNumber;
inline constexpr int kMaxAgendaLines = 100;

struct AgendaSettings {
  int days = kDefaultAgendaDays;    // [Contents] Days, 1..366
  int lines = kDefaultAgendaLines;  // [Contents] Lines, 1..100
  bool clock12 = false;             // [Contents] Clock=12
};

// The agenda keys of `section`; a number outside its range is brought to the nearest end.
AgendaSettings ReadAgendaSettings(const IniDocument& document, const char* section);

struct AgendaLine {
  std::int64_t day = 0;     // days since 1970-01-01
  bool firstOfDay = false;  // the line that carries the day's label
  int startMinute = -1;     // the time column: -1 for none (an all-day event, or a later day of an event)
  int calendar = 0;
  std::string summary;
};

// The lines for days `first` .. `first` + `days` - 1, at most `maxLines`: an event is listed
// on each day it covers; by day, then the all-day events (and the later days of events
// that began before), then by start time, calendar and summary.
std::vector<AgendaLine> ListAgenda(const std::vector<EventInstance>& instances, std::int64_t first, int days,
                                   int maxLines);

// "HH:MM" (24-hour), or "h:MMam" / "h:MMpm" for the 12-hour clock; empty for -1.
std::u16string ClockText(int minute, bool twelveHour);

}  // namespace orvendale
