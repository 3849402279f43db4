#include "calendar/holiday_set.h"

#include <array>
#include <cstring>
#include <string>
#include <string_view>

#include "calendar/holiday_list.h"
#include "calendar/holidays.h"
#include "calendar/japan_holidays.h"
#include "calendar/packed_date.h"
#include "platform/system/file.h"
#include "platform/system/plugin.h"
#include "platform/system/text.h"

namespace orvendale {
namespace {

constexpr std::string_view kCalendarStart = "BEGIN:VCALENDAR";
constexpr std::uint32_t kReadChunkBytes = 16u << 10;
constexpr int kCachedMonths = 4;  // a picture draws one month; tests walk more


// iCalendar text begins with BEGIN:VCALENDAR (names are case-insensitive), perhaps after
// a byte-order mark and blank lines.
bool IsCalendarText(std::string_view text) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::size_t start = text.find_first_not_of(" \t\r\n");
  if (start == std::string_view::npos) return false;
  text.remove_prefix(start);
  if (text.size() < kCalendarStart.size()) return false;
  for (std::size_t i = 0; i < kCalendarStart.size(); ++i) {
    if (platform::LowerAscii(text[i]) != platform::LowerAscii(kCalendarStart[i])) return false;
  }
  return true;
}

}  // namespace

HolidayFileStatus ReadHolidayFile(const std::u16string& path, std::string* text) {
  text->clear();
  const platform::FileHandle file = platform::OpenFile(path.c_str(), platform::FileAccess::kRead,
                                                       platform::FileCreation::kOpenExisting);
  if (file == platform::kInvalidFileHandle) return HolidayFileStatus::kUnreadable;
  HolidayFileStatus status = HolidayFileStatus::kList;
  // Read through a chunk on the stack: only the bytes the file has are stored.
  char chunk[kReadChunkBytes];
  std::uint32_t got = 0;
  std::size_t limit = kMaxHolidayFileBytes;
  do {
    if (!platform::ReadFile(file, chunk, kReadChunkBytes, &got)) {
      got = 0;
      status = HolidayFileStatus::kUnreadable;
    }
    text->append(chunk, got);
    // The first chunk tells a calendar from a list.
    if (text->size() == got && IsCalendarText(*text)) limit = kMaxHolidayCalendarBytes;
    if (text->size() > limit) status = HolidayFileStatus::kTooLarge;
  } while (got > 0 && status == HolidayFileStatus::kList);
  platform::CloseFile(file);
  if (status != HolidayFileStatus::kList) {
    std::string().swap(*text);
    return status;
  }
  return IsCalendarText(*text) ? HolidayFileStatus::kCalendar : HolidayFileStatus::kList;
}

namespace {

struct CachedMonth {
  int key = -1;  // year * 12 + month - 1
  std::uint32_t mask = 0;
};

// The run's chosen set.
struct ChosenSet {
  bool chosen = false;
  HolidayRules rules = HolidayRules::kBuiltIn;
  std::string word;
  std::u16string filePath;
  HolidaySources sources{};

  bool prepared = false;
  HolidayReport report;
  OrvendaleRegionDaysOff regionDaysOff = nullptr;
  OrvendaleIcalDays icalDays = nullptr;
  HolidayList list;
  std::string calendarText;

  std::array<CachedMonth, kCachedMonths> cache{};
  int nextSlot = 0;
};

// Process-wide, as the text settings are: the driver fills it, IsHoliday reads it.
ChosenSet chosenSet;
ChosenSet& Chosen() { return chosenSet; }

void PrepareRules(ChosenSet& set) {
  HolidayReport& report = set.report;
  switch (set.rules) {
    case HolidayRules::kBuiltIn:
      report.rules = HolidayRulesStatus::kBuiltIn;
      return;
    case HolidayRules::kNone:
      report.rules = HolidayRulesStatus::kNone;
      return;
    case HolidayRules::kJapan:
      report.rules = HolidayRulesStatus::kJapan;
      return;
    case HolidayRules::kRegion:
      break;
  }
  const OrvendaleResolveRegion resolve = set.sources.findResolveRegion ? set.sources.findResolveRegion() : nullptr;
  set.regionDaysOff = set.sources.findRegionDaysOff ? set.sources.findRegionDaysOff() : nullptr;
  if (resolve == nullptr || set.regionDaysOff == nullptr) {
    report.rules = HolidayRulesStatus::kNoRegionLibrary;
    set.regionDaysOff = nullptr;
    return;
  }
  char code[kRegionCodeCapacity] = {};
  if (set.word.size() >= kRegionCodeCapacity || resolve(set.word.c_str(), code, kRegionCodeCapacity) != 1 ||
      std::memchr(code, 0, kRegionCodeCapacity) == nullptr || code[0] == 0) {
    report.rules = HolidayRulesStatus::kUnknownRegion;
    set.regionDaysOff = nullptr;
    return;
  }
  report.rules = HolidayRulesStatus::kRegion;
  std::memcpy(report.regionCode, code, kRegionCodeCapacity);
}

void PrepareFile(ChosenSet& set) {
  HolidayReport& report = set.report;
  if (set.filePath.empty()) return;
  std::string text;
  report.file = ReadHolidayFile(set.filePath, &text);
  report.fileBytes = text.size();
  if (report.file == HolidayFileStatus::kList) {
    set.list.Parse(text);
    report.entries = set.list.entries();
    report.skippedLines = set.list.skippedLines();
    report.firstSkippedLine = set.list.firstSkippedLine();
  } else if (report.file == HolidayFileStatus::kCalendar) {
    set.icalDays = set.sources.findIcalDays ? set.sources.findIcalDays() : nullptr;
    if (set.icalDays == nullptr) {
      report.file = HolidayFileStatus::kNoCalendarLibrary;
    } else {
      set.calendarText = std::move(text);
    }
  }
}

void Prepare(ChosenSet& set) {
  if (set.prepared) return;
  set.prepared = true;
  PrepareRules(set);
  PrepareFile(set);
}

// The bits of the days that `month` of `year` has; 0 for a month outside the calendar.
std::uint32_t MonthDays(int year, int month) {
  const int days = DaysInMonth(static_cast<std::int16_t>(month), static_cast<std::int16_t>(year));
  return days == 0 ? 0 : (std::uint32_t{1} << days) - 1;  // days <= 31
}

// The days of the built-in table in the month, Sundays left out.
std::uint32_t BuiltInMonthMask(int year, int month) {
  std::uint32_t mask = 0;
  const auto y = static_cast<std::int16_t>(year);
  const auto m = static_cast<std::int16_t>(month);
  for (std::int16_t day = 1; day <= DaysInMonth(m, y); ++day) {
    if (WeekdayOf(m, day, y) != 0 && IsBuiltInHoliday(m, day, y) == 1) mask |= std::uint32_t{1} << (day - 1);
  }
  return mask;
}

std::uint32_t RulesMonthMask(ChosenSet& set, int year, int month) {
  switch (set.report.rules) {
    case HolidayRulesStatus::kBuiltIn:
      return BuiltInMonthMask(year, month);
    case HolidayRulesStatus::kJapan:
      return JapanHolidayMask(year, month);
    case HolidayRulesStatus::kRegion: {
      std::uint32_t mask = 0;
      return set.regionDaysOff(set.report.regionCode, year, month, 1, &mask) == 1 ? mask : 0;
    }
    default:
      return 0;
  }
}

std::uint32_t FileMonthMask(ChosenSet& set, int year, int month) {
  switch (set.report.file) {
    case HolidayFileStatus::kList:
      return set.list.MonthMask(year, month);
    case HolidayFileStatus::kCalendar: {
      std::uint32_t mask = 0;
      const int events = set.icalDays(set.calendarText.data(), set.calendarText.size(), year, month, 1, &mask);
      if (events < 0) {
        // The library cannot read the text: no days from it, now or later.
        set.report.file = HolidayFileStatus::kBadCalendar;
        std::string().swap(set.calendarText);
        return 0;
      }
      set.report.entries = events;
      return mask;
    }
    default:
      return 0;
  }
}

std::uint32_t MonthMask(ChosenSet& set, int year, int month) {
  const int key = year * kMonthsPerYear + month - 1;
  for (const CachedMonth& cached : set.cache) {
    if (cached.key == key) return cached.mask;
  }
  Prepare(set);
  const std::uint32_t mask = (RulesMonthMask(set, year, month) | FileMonthMask(set, year, month)) & MonthDays(year, month);
  set.cache[set.nextSlot] = {key, mask};
  set.nextSlot = (set.nextSlot + 1) % kCachedMonths;
  return mask;
}

OrvendaleResolveRegion FindResolveRegion() {
  const auto* plugin = platform::FindPlugin<OrvendaleHolidaysKdePlugin>();
  return plugin == nullptr ? nullptr : plugin->resolveRegion;
}
OrvendaleRegionDaysOff FindRegionDaysOff() {
  const auto* plugin = platform::FindPlugin<OrvendaleHolidaysKdePlugin>();
  return plugin == nullptr ? nullptr : plugin->regionDaysOff;
}
OrvendaleIcalDays FindIcalDays() {
  const auto* plugin = platform::FindPlugin<OrvendaleIcalPlugin>();
  return plugin == nullptr ? nullptr : plugin->days;
}

}  // namespace

HolidayRules HolidayRulesOfWord(const char* word) {
  if (word == nullptr || word[0] == 0) return HolidayRules::kBuiltIn;
  if (platform::KeywordEquals(word, "none")) return HolidayRules::kNone;
  if (platform::KeywordEquals(word, "JP")) return HolidayRules::kJapan;
  return HolidayRules::kRegion;
}

HolidaySources PluginHolidaySources() { return {FindResolveRegion, FindRegionDaysOff, FindIcalDays}; }

void ChooseHolidays(const char* rulesWord, const char16_t* filePath) {
  ChooseHolidays(rulesWord, filePath, PluginHolidaySources());
}

void ChooseHolidays(const char* rulesWord, const char16_t* filePath, const HolidaySources& sources) {
  ChosenSet& set = Chosen();
  set = ChosenSet();
  set.rules = HolidayRulesOfWord(rulesWord);
  if (set.rules == HolidayRules::kRegion) set.word = rulesWord;
  if (filePath != nullptr) set.filePath = filePath;
  set.sources = sources;
  set.chosen = set.rules != HolidayRules::kBuiltIn || !set.filePath.empty();
}

bool HolidaysChosen() { return Chosen().chosen; }

bool IsChosenHoliday(std::int16_t month, std::int16_t day, std::int16_t year) {
  if (day < 1 || day > DaysInMonth(month, year)) return false;
  return (MonthMask(Chosen(), year, month) >> (day - 1) & 1u) != 0;
}

int ListHolidayRegions(void (*each)(const char* code, const char* name, void* context), void* context) {
  const auto* plugin = platform::FindPlugin<OrvendaleHolidaysKdePlugin>();
  return plugin == nullptr || each == nullptr ? -1 : plugin->listRegions(each, context);
}

std::uint32_t InspectHolidayCalendarLimits(int year, int month) {
  ChosenSet& set = Chosen();
  Prepare(set);
  if (set.report.file != HolidayFileStatus::kCalendar) return 0;
  const auto* plugin = platform::FindPlugin<OrvendaleIcalPlugin>();
  if (plugin == nullptr) return 0;
  const OrvendaleIcalEvents events = plugin->events;
  const char* text = set.calendarText.data();
  const std::size_t length = set.calendarText.size();
  std::uint32_t mask = 0;
  int read = 0;
  OrvendaleIcalEventList list{};
  events(&text, &length, 1, year, month, 1, &mask, &list, &read);
  return list.cut;
}

HolidayReport InspectHolidays() {
  ChosenSet& set = Chosen();
  Prepare(set);
  if (set.report.file == HolidayFileStatus::kCalendar) FileMonthMask(set, kFirstYear, 1);
  return set.report;
}

}  // namespace orvendale
