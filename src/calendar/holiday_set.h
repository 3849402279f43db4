#pragma once
// The holiday set that IsHoliday and SetDayColor colour by, chosen by the driver from the
// settings before a picture is drawn. Until a set is chosen, and after a choice of
// neither rules nor file, it is the built-in table and nothing here runs.
//
// A chosen set is evaluated a month at a time, for the months a picture asks about: the
// holiday file is read and the region library loaded on first need, and each month's days
// are kept for the rest of the run. The heavy libraries (the region library with its
// toolkit, the iCalendar library) live in plugins that only a set which needs them loads.

#include <cstddef>
#include <cstdint>
#include <string>

#include "plugins/holiday_plugins.h"

namespace orvendale {

// Most bytes of a holiday file that are read: a larger file is refused whole. iCalendar
// text may be larger: a calendar exported after years of use holds tens of thousands of
// events.
inline constexpr std::size_t kMaxHolidayFileBytes = 4u << 20;
inline constexpr std::size_t kMaxHolidayCalendarBytes = 64u << 20;
inline constexpr int kRegionCodeCapacity = 64;  // a region code and its terminator

// The rules a [Contents] Holidays word names (letter case ignored): empty is the
// built-in table, "none" no public holidays, "JP" Japan's holidays by the law of each
// year; any other word names a region of the region library.
enum class HolidayRules : std::uint8_t { kBuiltIn, kNone, kJapan, kRegion };
HolidayRules HolidayRulesOfWord(const char* word);

// How the plugins are reached. Each finder returns its plugin's entry point, loading the
// plugin on first call, or null when the plugin is not there. The default finders load
// orvendale-holidays-kde.so and orvendale-ical.so through the platform; tests give their own.
struct HolidaySources {
  OrvendaleResolveRegion (*findResolveRegion)();
  OrvendaleRegionDaysOff (*findRegionDaysOff)();
  OrvendaleIcalDays (*findIcalDays)();
};
HolidaySources PluginHolidaySources();

// Chooses the set from a Holidays word (null or empty: the built-in table) and a holiday
// file's platform path (null or empty: none), forgetting the previous choice and its
// months. Reads and loads nothing yet. Words of more than kRegionCodeCapacity - 1 bytes
// name no region.
void ChooseHolidays(const char* rulesWord, const char16_t* filePath);
void ChooseHolidays(const char* rulesWord, const char16_t* filePath, const HolidaySources& sources);

// False while the built-in table alone decides, as in a run without the holiday keys.
bool HolidaysChosen();

// Whether the chosen set holds the day (a Sunday counts only when it is listed). False
// for a day that is not a real day of 1904..2031.
bool IsChosenHoliday(std::int16_t month, std::int16_t day, std::int16_t year);

// What the chosen rules turned out to be.
enum class HolidayRulesStatus : std::uint8_t {
  kBuiltIn,
  kNone,
  kJapan,
  kRegion,           // resolved; the region code is in the report
  kUnknownRegion,    // the region library does not know the word: no public holidays
  kNoRegionLibrary,  // the region plugin is missing: no public holidays
};

// What became of the holiday file.
enum class HolidayFileStatus : std::uint8_t {
  kNone,               // no file chosen
  kList,               // read as a plain list
  kCalendar,           // read as iCalendar text
  kUnreadable,         // missing, a folder, not a regular file, or no access
  kTooLarge,           // more than kMaxHolidayFileBytes: refused whole
  kBadCalendar,        // begins as iCalendar text but the library cannot read it
  kNoCalendarLibrary,  // the iCalendar plugin is missing
};

// The bytes of the holiday file at `path` into `text`, and what they are: kList or
// kCalendar; kUnreadable or kTooLarge (more than kMaxHolidayFileBytes) with `text` empty.
HolidayFileStatus ReadHolidayFile(const std::u16string& path, std::string* text);

struct HolidayReport {
  HolidayRulesStatus rules = HolidayRulesStatus::kBuiltIn;
  char regionCode[kRegionCodeCapacity] = {};
  HolidayFileStatus file = HolidayFileStatus::kNone;
  std::size_t fileBytes = 0;
  int entries = 0;           // dates of a list; events of a calendar
  int skippedLines = 0;      // lines of a list that are neither dates nor comments
  int firstSkippedLine = 0;  // 1-based; 0 when none
};

// Calls `each` with every region code of the region library and its name; returns their
// number, or -1 when the region plugin is missing.
int ListHolidayRegions(void (*each)(const char* code, const char* name, void* context), void* context);

// Prepares the chosen set as a run would (reads the file, loads what it needs) and says
// what it holds. For a calendar file the library reads the text once more to count its
// events.
HolidayReport InspectHolidays();

// For a holiday file read as iCalendar text: what the limits of the iCalendar plugin's
// work leave out of month `month` of `year` (kOrvendaleIcalCut... bits); 0 otherwise.
std::uint32_t InspectHolidayCalendarLimits(int year, int month);

}  // namespace orvendale
