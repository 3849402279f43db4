#pragma once
// The tables of functions of the holiday plugins (see platform/system/plugin.h). Days are
// given per month as a bit mask: bit d-1 set means day d of that month is a holiday. Every
// function is bounded in work and memory and never throws; none prints anything.
#include <cstddef>
#include <cstdint>

using OrvendaleResolveRegion = int (*)(const char*, char*, int);
using OrvendaleRegionDaysOff = int (*)(const char*, int, int, int, std::uint32_t*);
using OrvendaleListRegions = int (*)(void (*)(const char*, const char*, void*), void*);
using OrvendaleIcalDays = int (*)(const char*, std::size_t, int, int, int, std::uint32_t*);

// Plugin "holidays-kde" (orvendale-holidays-kde.so; Qt 5 Core + KF5 Holidays).
struct OrvendaleHolidaysKdePlugin {
  static constexpr char kName[] = "holidays-kde";
  static constexpr std::uint32_t kAbiVersion = 1;  // raise it whenever this table changes

  // Resolves a user's region word: a full region code of the holidays library
  // ("de-by_de"), or the part before the underscore where it names exactly one region
  // ("de-by", "fr", "us"); letter case ignored. Writes the full code, terminated, into
  // `code` (capacity bytes) and returns 1; returns 0 for an unknown or ambiguous word.
  OrvendaleResolveRegion resolveRegion;  // (word, code, capacity)
  // The days off (not observances) of region `code` (a full code) for `months` months from
  // month `month` (1-12) of `year`: masks[0] for that month, masks[1] for the next, ...
  // Returns 1, or 0 when the region does not load (masks then all 0).
  OrvendaleRegionDaysOff regionDaysOff;  // (code, year, month, months, masks)
  // Calls `each` for every region code the library has, with its name; returns the count.
  OrvendaleListRegions listRegions;  // (each(code, name, context), context)
};

// Plugin "ical" (orvendale-ical.so; libical).
struct OrvendaleIcalPlugin {
  static constexpr char kName[] = "ical";
  static constexpr std::uint32_t kAbiVersion = 1;  // raise it whenever this table changes

  // Reads iCalendar text (RFC 5545; `length` bytes, not necessarily terminated) and marks,
  // for `months` months from month `month` of `year`, every local day (in the process's
  // time zone, TZ) that a VEVENT covers: all-day events (DTSTART;VALUE=DATE, DTEND
  // exclusive, one day when absent), timed events (every local day they touch),
  // recurrences (RRULE, RDATE, EXDATE). Work is bounded (events, expansions per event).
  // Returns the number of events read, or -1 when the text is not an iCalendar object.
  OrvendaleIcalDays days;  // (text, length, year, month, months, masks)
};
