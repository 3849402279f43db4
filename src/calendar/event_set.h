#pragma once
// The user's own calendars ([Events] File1..File8): which days hold their events, for the
// marks of the month grid, and the events themselves, for the agenda. The driver chooses
// them; until it does, and in every run without [Events] files, nothing here reads a file
// or loads a library.
//
// A calendar is one iCalendar file or a folder of `.ics` files (subfolders are not
// searched). Its files are read on first need; the iCalendar plugin expands them for a
// window of months at a time (the months a picture shows), so the work grows with what is
// drawn, not with the years a calendar spans.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/packed_date.h"
#include "platform/types.h"
#include "plugins/holiday_plugins.h"

namespace orvendale {

inline constexpr int kMaxEventCalendars = 8;
// Bytes read of one calendar, all files of a folder together; a file that would pass it is
// skipped whole.
inline constexpr std::size_t kMaxEventCalendarBytes = 64u << 20;
// `.ics` files read from one folder (the first in name order), and entries looked at.
inline constexpr std::size_t kMaxFolderFiles = 10000;
inline constexpr std::size_t kMaxFolderEntries = 100000;
// Instances kept per calendar and window: those that start first.
inline constexpr int kMaxListedInstances = 4096;
// Bytes of summaries kept per calendar and window.
inline constexpr std::uint32_t kMaxSummaryBytes = 256u << 10;

// How the plugin is reached; tests give their own.
struct EventSources {
  OrvendaleIcalEvents (*findIcalEvents)();
};
EventSources PluginEventSources();

// One calendar as the settings name it: its platform path (empty: the slot is unused) and
// the colour of its marks and agenda text.
struct EventCalendarChoice {
  std::u16string path;
  ColorRef color = 0;
};

// Chooses the run's calendars, forgetting the previous choice. Reads nothing yet.
void ChooseEventCalendars(const std::vector<EventCalendarChoice>& calendars);
void ChooseEventCalendars(const std::vector<EventCalendarChoice>& calendars, const EventSources& sources);

// False while no calendar is chosen, as in a run without [Events] files.
bool EventsChosen();

// The calendars that have an event on the day: bit i for the calendar of slot i (File i+1).
// 0 for a day that is not a real day of 1904..2031.
std::uint32_t EventCalendarsOn(std::int16_t month, std::int16_t day, std::int16_t year);
// Expands the calendars for month `month` of `year` and its two neighbours at once, as a
// grid that shows them asks; EventCalendarsOn then answers for all three without more work.
void ExpandEventsAround(std::int16_t month, std::int16_t year);
// The colour of the calendar of slot `calendar` (0 for an unused slot).
ColorRef EventCalendarColor(int calendar);

// One instance of an event, as the agenda lists it.
struct EventInstance {
  std::int64_t firstDay = 0;  // local days since 1970-01-01
  std::int64_t lastDay = 0;   // the last day it covers
  int startMinute = -1;       // minutes after midnight of firstDay; -1 for an all-day event
  int calendar = 0;           // slot 0..7
  std::string summary;        // UTF-8, printable (PrintableSummary)
};

// Days since 1970-01-01 of a packed date, and back (for days within 1904..2031).
std::int64_t EpochDayOf(PackedDate date);
PackedDate PackedDateOfEpochDay(std::int64_t day);

// The instances of every calendar that touch days `first` .. `first` + `days` - 1 (days
// since 1970), in no particular order. At most kMaxListedInstances per calendar: those
// that start first.
std::vector<EventInstance> EventsFrom(std::int64_t first, int days);

// A summary as the agenda may draw it: control characters (tabs and line ends too)
// become spaces, bidirectional embeddings, overrides, isolates and marks are left out,
// invalid UTF-8 becomes U+FFFD, and runs of spaces are one.
std::string PrintableSummary(std::string_view summary);

// What became of one calendar.
enum class EventCalendarStatus : std::uint8_t {
  kNone,               // the slot is unused
  kRead,               // read: one file, or a folder with at least one calendar file
  kMissing,            // neither a file nor a folder
  kUnreadable,         // no access, a link loop, not a regular file, or larger than the limit
  kNotCalendar,        // a file that is no iCalendar text, or a folder without one
  kNoCalendarLibrary,  // the iCalendar plugin is missing
};

enum class SkipReason : std::uint8_t { kUnreadable, kTooLarge, kNotCalendar, kBadCalendar };
struct SkippedFile {
  std::string name;  // the file's name in its folder
  SkipReason reason;
};

struct EventCalendarReport {
  EventCalendarStatus status = EventCalendarStatus::kNone;
  bool folder = false;
  int files = 0;                     // calendar files read
  int events = 0;                    // events read
  std::vector<SkippedFile> skipped;  // files of a folder left out
  bool folderCut = false;            // the folder holds more files than are read
  std::uint32_t cut = 0;             // kOrvendaleIcalCut... bits of the plugin's call
};

// Reads the chosen calendars as a run would, expands the window of `months` months from
// month `month` of `year`, and says what each of the eight slots held.
std::vector<EventCalendarReport> InspectEvents(int year, int month, int months);

}  // namespace orvendale
