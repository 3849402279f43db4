#include "calendar/event_set.h"

#include <algorithm>
#include <array>
#include <string>

#include "platform/system/file.h"
#include "platform/system/file_info.h"
#include "platform/system/folder.h"
#include "platform/system/plugin.h"

namespace orvendale {
namespace {

constexpr std::string_view kCalendarStart = "BEGIN:VCALENDAR";
// Day 0 of the packed dates, 1904-01-01, counted from 1970-01-01.
constexpr std::int64_t kFirstEpochDay = -24107;
constexpr int kMonthsPerYearHere = 12;

// iCalendar text begins with BEGIN:VCALENDAR (names are case-insensitive), perhaps after
// a byte-order mark and blank lines.
bool IsCalendarText(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos || text.size() - start < kCalendarStart.size()) return false;
  for (std::size_t i = 0; i < kCalendarStart.size(); ++i) {
    char c = text[start + i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != kCalendarStart[i]) return false;
  }
  return true;
}

struct Window {
  int firstMonth = -1;  // year * 12 + month - 1
  int months = 0;
  std::int64_t listFrom = 0;
  bool Holds(int month) const { return firstMonth >= 0 && month >= firstMonth && month < firstMonth + months; }
};

struct Calendar {
  std::u16string path;
  ColorRef color = 0;
  bool prepared = false;
  EventCalendarReport report;
  std::vector<std::string> texts;
  std::vector<std::string> textNames;  // the file name of each text (a folder's)

  // The last window expanded.
  std::vector<std::uint32_t> masks;
  std::vector<EventInstance> instances;
};

struct ChosenCalendars {
  std::array<Calendar, kMaxEventCalendars> calendars;
  bool chosen = false;
  EventSources sources{};
  OrvendaleIcalEvents icalEvents = nullptr;
  bool pluginLooked = false;
  Window window;
};

ChosenCalendars chosenCalendars;

void ReadOneFile(Calendar& calendar, const std::string& hostPath, const std::string& name, std::size_t& bytes) {
  std::string text;
  const platform::WholeFile read = platform::ReadWholeFile(hostPath.c_str(), kMaxEventCalendarBytes - bytes, &text);
  const auto skip = [&](SkipReason reason) { calendar.report.skipped.push_back({name, reason}); };
  if (read == platform::WholeFile::kUnreadable) return skip(SkipReason::kUnreadable);
  if (read == platform::WholeFile::kTooLarge) return skip(SkipReason::kTooLarge);
  if (!IsCalendarText(text)) return skip(SkipReason::kNotCalendar);
  bytes += text.size();
  calendar.texts.push_back(std::move(text));
  calendar.textNames.push_back(name);
}

void ReadCalendar(Calendar& calendar) {
  EventCalendarReport& report = calendar.report;
  char hostPath[platform::kMaxHostPathBytes];
  if (!platform::HostPathFromPlatformPath(calendar.path.c_str(), hostPath, sizeof hostPath)) {
    report.status = EventCalendarStatus::kMissing;
    return;
  }
  std::vector<std::string> names;
  const platform::FolderListing listing =
      platform::ListFolder(hostPath, ".ics", kMaxFolderFiles, kMaxFolderEntries, &names);
  std::size_t bytes = 0;
  if (listing == platform::FolderListing::kNotAFolder) {
    const std::string path(hostPath);
    ReadOneFile(calendar, path, path, bytes);
    if (!report.skipped.empty()) {
      const SkipReason reason = report.skipped.front().reason;
      report.skipped.clear();
      report.status = reason == SkipReason::kNotCalendar ? EventCalendarStatus::kNotCalendar
                      : platform::QueryHostFile(hostPath).kind == platform::FileKind::kMissing
                          ? EventCalendarStatus::kMissing
                          : EventCalendarStatus::kUnreadable;
      return;
    }
  } else {
    report.folder = true;
    if (listing == platform::FolderListing::kUnreadable) {
      report.status = EventCalendarStatus::kUnreadable;
      return;
    }
    report.folderCut = listing == platform::FolderListing::kCut;
    std::string folder(hostPath);
    if (folder.back() != '/') folder += '/';
    for (const std::string& name : names) ReadOneFile(calendar, folder + name, name, bytes);
  }
  report.files = static_cast<int>(calendar.texts.size());
  report.status = calendar.texts.empty() ? EventCalendarStatus::kNotCalendar : EventCalendarStatus::kRead;
}

OrvendaleIcalEvents IcalEvents(ChosenCalendars& set) {
  if (!set.pluginLooked) {
    set.pluginLooked = true;
    set.icalEvents = set.sources.findIcalEvents != nullptr ? set.sources.findIcalEvents() : nullptr;
  }
  return set.icalEvents;
}

void Prepare(ChosenCalendars& set, Calendar& calendar) {
  if (calendar.prepared) return;
  calendar.prepared = true;
  if (calendar.path.empty()) return;
  ReadCalendar(calendar);
  if (calendar.report.status == EventCalendarStatus::kRead && IcalEvents(set) == nullptr) {
    calendar.report.status = EventCalendarStatus::kNoCalendarLibrary;
    calendar.texts.clear();
  }
}

// Expands one calendar over the window.
void Expand(ChosenCalendars& set, Calendar& calendar, int slot, const Window& window) {
  calendar.masks.assign(static_cast<std::size_t>(window.months), 0);
  calendar.instances.clear();
  Prepare(set, calendar);
  if (calendar.report.status != EventCalendarStatus::kRead) return;
  std::vector<const char*> texts;
  std::vector<std::size_t> lengths;
  for (const std::string& text : calendar.texts) {
    texts.push_back(text.data());
    lengths.push_back(text.size());
  }
  std::vector<int> perText(texts.size(), -1);
  std::vector<OrvendaleIcalEvent> events(kMaxListedInstances);
  std::string summaries(kMaxSummaryBytes, '\0');
  OrvendaleIcalEventList list{};
  list.listFrom = static_cast<std::int32_t>(window.listFrom);
  list.events = events.data();
  list.capacity = kMaxListedInstances;
  list.summaries = summaries.data();
  list.summaryCapacity = kMaxSummaryBytes;
  const int read = set.icalEvents(texts.data(), lengths.data(), static_cast<int>(texts.size()),
                                  window.firstMonth / kMonthsPerYearHere, window.firstMonth % kMonthsPerYearHere + 1,
                                  window.months, calendar.masks.data(), &list, perText.data());
  calendar.report.events = std::max(read, 0);
  calendar.report.cut = list.cut;
  // Texts the library could not read are skipped files; once is enough to say so.
  calendar.report.skipped.erase(std::remove_if(calendar.report.skipped.begin(), calendar.report.skipped.end(),
                                               [](const SkippedFile& file) { return file.reason == SkipReason::kBadCalendar; }),
                                calendar.report.skipped.end());
  int readable = 0;
  for (std::size_t i = 0; i < perText.size(); ++i) {
    if (perText[i] < 0 && (list.cut & kOrvendaleIcalCutTime) == 0) {
      calendar.report.skipped.push_back({calendar.textNames[i], SkipReason::kBadCalendar});
    } else {
      ++readable;
    }
  }
  if (readable == 0 && !perText.empty()) calendar.report.status = EventCalendarStatus::kNotCalendar;
  for (std::int32_t i = 0; i < list.count; ++i) {
    const OrvendaleIcalEvent& event = list.events[i];
    EventInstance instance;
    instance.firstDay = event.firstDay;
    instance.lastDay = event.lastDay;
    instance.startMinute = event.startMinute;
    instance.calendar = slot;
    instance.summary = PrintableSummary(std::string_view(summaries.data() + event.summary, event.summaryBytes));
    calendar.instances.push_back(std::move(instance));
  }
}

void ExpandAll(ChosenCalendars& set, const Window& window) {
  set.window = window;
  for (int slot = 0; slot < kMaxEventCalendars; ++slot) Expand(set, set.calendars[slot], slot, window);
}

int MonthKey(int year, int month) { return year * kMonthsPerYearHere + month - 1; }

OrvendaleIcalEvents FindIcalEvents() {
  const auto* plugin = platform::FindPlugin<OrvendaleIcalPlugin>();
  return plugin == nullptr ? nullptr : plugin->events;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The next code point of `text` from `at`, moving `at` past it; U+FFFD for a byte that
// starts no valid sequence (the byte alone is taken).
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(at);
  int length = 0;
  char32_t c = 0, least = 0;
  if (lead < 0x80) {
    ++at;
    return lead;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, c = lead & 0x1F, least = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, c = lead & 0x0F, least = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, c = lead & 0x07, least = 0x10000;
  } else {
    ++at;
    return 0xFFFD;
  }
  if (text.size() - at < static_cast<std::size_t>(length)) {
    ++at;
    return 0xFFFD;
  }
  for (int i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) {
      ++at;
      return 0xFFFD;
    }
    c = c << 6 | (byte(at + i) & 0x3F);
  }
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++at;
    return 0xFFFD;
  }
  at += static_cast<std::size_t>(length);
  return c;
}

bool IsBidiControl(char32_t c) {
  return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

}  // namespace

EventSources PluginEventSources() { return {FindIcalEvents}; }

void ChooseEventCalendars(const std::vector<EventCalendarChoice>& calendars) {
  ChooseEventCalendars(calendars, PluginEventSources());
}

void ChooseEventCalendars(const std::vector<EventCalendarChoice>& calendars, const EventSources& sources) {
  chosenCalendars = ChosenCalendars();
  chosenCalendars.sources = sources;
  for (std::size_t slot = 0; slot < calendars.size() && slot < kMaxEventCalendars; ++slot) {
    chosenCalendars.calendars[slot].path = calendars[slot].path;
    chosenCalendars.calendars[slot].color = calendars[slot].color;
    if (!calendars[slot].path.empty()) chosenCalendars.chosen = true;
  }
}

bool EventsChosen() { return chosenCalendars.chosen; }

std::int64_t EpochDayOf(PackedDate date) { return kFirstEpochDay + PackedDateToDayNumber(date); }

PackedDate PackedDateOfEpochDay(std::int64_t day) {
  PackedDate date = 0;
  const std::int64_t number = std::clamp<std::int64_t>(day - kFirstEpochDay, 0, kLastDayNumber);
  DayNumberToPackedDate(static_cast<DayNumber>(number), &date);
  return date;
}

std::uint32_t EventCalendarsOn(std::int16_t month, std::int16_t day, std::int16_t year) {
  ChosenCalendars& set = chosenCalendars;
  if (!set.chosen || year < kFirstYear || year > kLastYear || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(month, year)) {
    return 0;
  }
  const int key = MonthKey(year, month);
  if (!set.window.Holds(key)) ExpandEventsAround(month, year);
  std::uint32_t calendars = 0;
  for (int slot = 0; slot < kMaxEventCalendars; ++slot) {
    const std::vector<std::uint32_t>& masks = set.calendars[slot].masks;
    const std::size_t index = static_cast<std::size_t>(key - set.window.firstMonth);
    if (index < masks.size() && (masks[index] >> (day - 1) & 1u) != 0) calendars |= 1u << slot;
  }
  return calendars;
}

void ExpandEventsAround(std::int16_t month, std::int16_t year) {
  ChosenCalendars& set = chosenCalendars;
  if (!set.chosen || year < kFirstYear || year > kLastYear || month < 1 || month > 12) return;
  const int key = MonthKey(year, month);
  const int first = std::max(key - 1, MonthKey(kFirstYear, 1));
  const int last = std::min(key + 1, MonthKey(kLastYear, 12));
  if (set.window.Holds(first) && set.window.Holds(last)) return;
  ExpandAll(set, Window{first, last - first + 1,
                        EpochDayOf(PackDate(static_cast<std::uint16_t>(first % 12 + 1), 1,
                                            static_cast<std::uint16_t>(first / 12)))});
}

ColorRef EventCalendarColor(int calendar) {
  return calendar >= 0 && calendar < kMaxEventCalendars ? chosenCalendars.calendars[calendar].color : 0;
}

std::vector<EventInstance> EventsFrom(std::int64_t first, int days) {
  ChosenCalendars& set = chosenCalendars;
  std::vector<EventInstance> instances;
  if (!set.chosen || days <= 0) return instances;
  const std::int64_t last = first + days - 1;
  const PackedDate firstDate = PackedDateOfEpochDay(first);
  const PackedDate lastDate = PackedDateOfEpochDay(last);
  const int firstMonth = MonthKey(PackedYear(firstDate), PackedMonth(firstDate));
  const int lastMonth = MonthKey(PackedYear(lastDate), PackedMonth(lastDate));
  ExpandAll(set, Window{firstMonth, lastMonth - firstMonth + 1, first});
  for (const Calendar& calendar : set.calendars) {
    for (const EventInstance& instance : calendar.instances) {
      if (instance.lastDay >= first && instance.firstDay <= last) instances.push_back(instance);
    }
  }
  return instances;
}

std::string PrintableSummary(std::string_view summary) {
  std::string out;
  out.reserve(summary.size());
  std::size_t at = 0;
  while (at < summary.size()) {
    char32_t c = NextCodePoint(summary, at);
    if (IsBidiControl(c)) continue;
    if (c < 0x20 || (c >= 0x7F && c < 0xA0) || c == 0x2028 || c == 0x2029) c = U' ';
    if (c == U' ' && (out.empty() || out.back() == ' ')) continue;
    AppendUtf8(out, c);
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

std::vector<EventCalendarReport> InspectEvents(int year, int month, int months) {
  ChosenCalendars& set = chosenCalendars;
  std::vector<EventCalendarReport> reports(kMaxEventCalendars);
  if (!set.chosen) return reports;
  const int first = MonthKey(year, month);
  ExpandAll(set, Window{first, months, EpochDayOf(PackDate(static_cast<std::uint16_t>(month), 1,
                                                            static_cast<std::uint16_t>(year)))});
  for (int slot = 0; slot < kMaxEventCalendars; ++slot) reports[slot] = set.calendars[slot].report;
  return reports;
}

}  // namespace orvendale
