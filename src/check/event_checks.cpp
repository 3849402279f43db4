// [Events] and the agenda keys: each calendar a run cannot read, the files of a folder it
// skips, what a limit of the work leaves out, and the words and numbers of the keys.

#include <string>
#include <vector>

#include "calendar/event_set.h"
#include "check/checks.h"
#include "check/known_keys.h"
#include "check/path_text.h"
#include "driver/event_settings.h"
#include "imagefile/image_folder.h"
#include "platform/system/plugin.h"
#include "platform/system/text.h"
#include "plugins/holiday_plugins.h"
#include "render/agenda_lines.h"
#include "render/text_settings_loader.h"

namespace orvendale {
namespace {

// Skipped files named one by one; the rest are counted.
constexpr std::size_t kSkippedFilesShown = 10;

std::string CountOf(int count, const char* thing) {
  return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

const char* SkipWhy(SkipReason reason) {
  switch (reason) {
    case SkipReason::kUnreadable: return "cannot be read (no access, a link loop, or not a regular file)";
    case SkipReason::kTooLarge: return "would take the calendar past the 64 MiB a run reads of one calendar";
    case SkipReason::kNotCalendar: return "is not iCalendar text (it does not begin with BEGIN:VCALENDAR)";
    case SkipReason::kBadCalendar: return "begins as iCalendar text, but the iCalendar plugin cannot read it";
  }
  return "";
}

// What the limits of the work left out of a calendar.
void CheckCuts(std::uint32_t cut, int line, const std::string& what, Report& report) {
  if (cut & kOrvendaleIcalCutText) {
    report.Warn(line, what + ": a file is longer than the 64 MiB the iCalendar plugin reads; the events after "
                             "that point are left out");
  }
  if (cut & kOrvendaleIcalCutTime) {
    report.Warn(line, what + ": reading it takes longer than the iCalendar plugin's time limit (4 s of work, "
                             "5 s in all); the events not reached by then are left out");
  }
  if (cut & kOrvendaleIcalCutWork) {
    report.Warn(line, what + ": its recurrence rules ask for more work than a run does for the months drawn; "
                             "the instances of the rules over that limit are left out");
  }
  if (cut & kOrvendaleIcalCutList) {
    report.Warn(line, what + ": more than " + std::to_string(kMaxListedInstances) +
                          " instances in the months drawn; an agenda lists those that start first");
  }
}

void CheckCalendar(const CheckContext& context, int slot, const EventCalendarReport& calendar, Report& report) {
  const std::string key = kEventFileRows[slot]->key;
  const int line = context.LineOf(kEventsSection, key.c_str());
  const char* value = context.Value(kEventsSection, key.c_str());
  if (value == nullptr || value[0] == 0) return;
  char16_t name[kPathCapacity] = {};
  char16_t path[kPathCapacity] = {};
  platform::WideFromNarrow(value, name, kPathCapacity);
  if (!ResolveInImageFolder(name, path)) {
    report.Warn(line, "[Events] " + key + " resolves to a path longer than 255 characters: a run reads no calendar");
    return;
  }
  const std::string what = "[Events] " + key + " " + Quote(NarrowPath(path));
  const std::string none = ": a run shows no events from it";
  switch (calendar.status) {
    case EventCalendarStatus::kNone:
      return;
    case EventCalendarStatus::kMissing:
      report.Warn(line, what + " is neither a file nor a folder" + none);
      return;
    case EventCalendarStatus::kUnreadable:
      report.Warn(line, what + (calendar.folder ? " is a folder that cannot be listed" : " cannot be read") +
                            " (no access, a link loop, not a regular file, or larger than 64 MiB)" + none);
      return;
    case EventCalendarStatus::kNotCalendar:
      report.Warn(line, what + (calendar.folder ? " is a folder without an iCalendar file (*.ics) a run can read"
                                                : " is not iCalendar text the iCalendar plugin can read") +
                            none);
      break;
    case EventCalendarStatus::kNoCalendarLibrary:
      report.Warn(line, what + ": the iCalendar plugin " + platform::PluginAbsence<OrvendaleIcalPlugin>() + none);
      return;
    case EventCalendarStatus::kRead:
      report.Note(line, what + " is " +
                            (calendar.folder ? "a folder of " + CountOf(calendar.files, "calendar file") + " with "
                                             : std::string("iCalendar text with ")) +
                            CountOf(calendar.events, "event"));
      break;
  }
  for (std::size_t i = 0; i < calendar.skipped.size() && i < kSkippedFilesShown; ++i) {
    report.Warn(line, what + ": the file " + Quote(calendar.skipped[i].name) + " " +
                          SkipWhy(calendar.skipped[i].reason) + "; a run skips it");
  }
  if (calendar.skipped.size() > kSkippedFilesShown) {
    report.Warn(line, what + ": and " + std::to_string(calendar.skipped.size() - kSkippedFilesShown) +
                          " more files a run skips");
  }
  if (calendar.folderCut) {
    report.Warn(line, what + " holds more than " + std::to_string(kMaxFolderFiles) +
                          " .ics files (or more than " + std::to_string(kMaxFolderEntries) +
                          " entries): a run reads the first " + std::to_string(kMaxFolderFiles) + " by name");
  }
  CheckCuts(calendar.cut, line, what, report);
}

void CheckMark(const CheckContext& context, Report& report) {
  const char* mark = context.Value(kEventsSection, Setting("Events", "Mark").key);
  if (mark == nullptr) return;
  for (const char* word : {"dot", "bar", "none"}) {
    if (platform::KeywordEquals(mark, word)) return;
  }
  report.Warn(context.LineOf(kEventsSection, Setting("Events", "Mark").key),
              "[Events] Mark " + Quote(mark) + " is not dot, bar or none: a run draws dots");
}

// Each calendar's colour as a run reads it: text that is no RGB(r, g, b), or a component
// outside 0-255. A colour a run cannot read at all leaves the calendar in [Text] Color.
void CheckCalendarColors(const CheckContext& context, Report& report) {
  for (int slot = 0; slot < kMaxEventCalendars; ++slot) {
    const char* key = kEventColorRows[slot]->key;
    const char* text = context.Value(kEventsSection, key);
    if (text == nullptr) continue;
    const int line = context.LineOf(kEventsSection, key);
    const std::string name = std::string("[Events] ") + key;
    char16_t wide[kColorTextCapacity] = {};
    if (context.document->GetWideString(kEventsSection, key, wide, kColorTextCapacity, nullptr) == 0) {
      report.Warn(line, name + (text[0] == 0 ? std::string(" is empty")
                                             : " is longer than " + std::to_string(kColorTextCapacity - 1) +
                                                   " characters") +
                            ": a run draws that calendar in [Text] Color");
      continue;
    }
    ColorComponents components;
    ColorReading reading;
    const ColorRef color = ParseColorText(wide, components, &reading);
    const std::string drawn = "a run draws RGB(" + std::to_string(color & 0xFF) + ", " +
                              std::to_string(color >> 8 & 0xFF) + ", " + std::to_string(color >> 16 & 0xFF) + ")";
    if (reading.componentsRead < 3 || !reading.whole) {
      report.Warn(line, name + " " + Quote(text) + " does not read as RGB(red, green, blue): " + drawn);
    }
    if (reading.cutMask != 0) {
      report.Warn(line, name + " " + Quote(text) + " has a component outside 0-255: " + drawn +
                            " (each number cut to its lowest 8 bits)");
    }
  }
}

void CheckAgendaNumbers(const CheckContext& context, Report& report) {
  const struct {
    const char* key;
    int low, high, fallback;
  } numbers[] = {{Setting("Contents", "Days").key, 1, kMaxAgendaDays, kDefaultAgendaDays},
                 {Setting("Contents", "Lines").key, 1, kMaxAgendaLines, kDefaultAgendaLines}};
  for (const auto& number : numbers) {
    if (context.Value("Contents", number.key) == nullptr) continue;
    const int value = context.document->GetInt("Contents", number.key, number.fallback);
    if (value >= number.low && value <= number.high) continue;
    report.Warn(context.LineOf("Contents", number.key),
                std::string("[Contents] ") + number.key + " " + std::to_string(value) + " is outside " +
                    std::to_string(number.low) + " to " + std::to_string(number.high) + ": a run takes " +
                    std::to_string(value < number.low ? number.low : number.high));
  }
  constexpr const SettingRow& kClock = Setting("Contents", "Clock");
  const char* clock = context.Value(kClock.section, kClock.key);
  const int hours = context.document->GetInt(kClock.section, kClock.key, kClock.defaultNumber);
  if (clock != nullptr && hours != 12 && hours != 24) {
    report.Warn(context.LineOf(kClock.section, kClock.key),
                "[Contents] Clock " + Quote(clock) + " is neither 12 nor 24: a run writes 24-hour times");
  }
}

}  // namespace

void CheckEvents(const CheckContext& context, Report& report) {
  if (context.document == nullptr) return;
  const PictureTypeInfo& picture = context.PictureInfo();
  const std::string type = picture.name;
  if (picture.listsEvents) CheckAgendaNumbers(context, report);
  const bool anyFile = [&] {
    for (int slot = 1; slot <= kMaxEventCalendars; ++slot) {
      const char* value = context.Value(kEventsSection, kEventFileRows[slot - 1]->key);
      if (value != nullptr && value[0] != 0) return true;
    }
    return false;
  }();
  if (!anyFile) {
    if (picture.listsEvents) {
      report.Note(context.LineOf("Contents", "Type"),
                  "an Agenda picture without [Events] File1 to File8 always says there are no events");
    }
    return;
  }
  if (!picture.readsEvents) {
    if (picture.type != PictureType::kNone) {
      report.Note(0, "[Events] marks the days of a Calendar picture and fills an Agenda: " +
                         std::string(picture.article) + " " + type +
                         " picture does not use it");
    }
    return;
  }
  CheckMark(context, report);
  CheckCalendarColors(context, report);
  // The calendars exactly as a run chooses and reads them, over the months it shows.
  ChooseEventsFromSettings(*context.document);
  int year = context.today.year, month = context.today.month, months = 3;
  if (!picture.listsEvents) {
    --month;
  } else {
    const AgendaSettings agenda = ReadAgendaSettings(*context.document, "Contents");
    months = 1 + (context.today.day + agenda.days - 1) / 28;
  }
  if (month < 1) month = 12, --year;
  if (year < kFirstYear) year = kFirstYear, month = 1;
  const std::vector<EventCalendarReport> calendars = InspectEvents(year, month, months);
  for (int slot = 0; slot < kMaxEventCalendars; ++slot) CheckCalendar(context, slot, calendars[slot], report);
}

}  // namespace orvendale
