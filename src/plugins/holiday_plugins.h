#pragma once
// The tables of functions of the holiday plugins (see platform/system/plugin.h). Days are
// given per month as a bit mask: bit d-1 set means day d of that month is a holiday. Every
// function is bounded in work and memory and never throws; none prints anything.
#include <cstddef>
#include <cstdint>

// The user's own calendars (plugin "ical"): what a VEVENT is, not only which days.
//
// One instance of an event that touches the window.
struct OrvendaleIcalEvent {
  std::int32_t firstDay;       // the local day it starts, counted from 1970-01-01
  std::int32_t lastDay;        // the last local day it covers (firstDay or later)
  std::int32_t startMinute;    // minutes from local midnight of firstDay; -1 for an all-day event
  std::uint32_t summary;       // where its SUMMARY (UTF-8, not terminated) starts in `summaries`
  std::uint32_t summaryBytes;  // at most kOrvendaleIcalSummaryBytes
};

// Why a call left something out (bits of OrvendaleIcalEventList::cut).
enum : std::uint32_t {
  kOrvendaleIcalCutTime = 1,  // the time limit stopped the work
  kOrvendaleIcalCutWork = 2,  // rules whose expansion would cost more than the work left
  kOrvendaleIcalCutList = 4,  // more instances than the list holds: the earliest are kept
  kOrvendaleIcalCutText = 8,  // a text longer than the plugin reads was cut
};
// A SUMMARY longer than this is cut (at a character boundary).
enum : std::uint32_t { kOrvendaleIcalSummaryBytes = 512 };

// The caller's buffers for OrvendaleIcalPlugin::events.
struct OrvendaleIcalEventList {
  std::int32_t listFrom;               // in: instances that end before this day are not listed
  OrvendaleIcalEvent* events;          // in: `capacity` entries (may be null when 0)
  std::int32_t capacity;
  std::int32_t count;                  // out: entries filled, in no particular order
  char* summaries;                     // in: `summaryCapacity` bytes
  std::uint32_t summaryCapacity;
  std::uint32_t summaryBytes;          // out: bytes used
  std::uint32_t cut;                   // out: kOrvendaleIcalCut... bits
};

using OrvendaleResolveRegion = int (*)(const char*, char*, int);
using OrvendaleRegionDaysOff = int (*)(const char*, int, int, int, std::uint32_t*);
using OrvendaleListRegions = int (*)(void (*)(const char*, const char*, void*), void*);
using OrvendaleIcalDays = int (*)(const char*, std::size_t, int, int, int, std::uint32_t*);
using OrvendaleIcalEvents = int (*)(const char* const*, const std::size_t*, int, int, int, int, std::uint32_t*,
                                    OrvendaleIcalEventList*, int*);

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
  static constexpr std::uint32_t kAbiVersion = 2;  // raise it whenever this table changes

  // Reads iCalendar text (RFC 5545; `length` bytes, not necessarily terminated) and marks,
  // for `months` months from month `month` of `year`, every local day (in the process's
  // time zone, TZ) that a VEVENT covers: all-day events (DTSTART;VALUE=DATE, DTEND
  // exclusive, one day when absent), timed events (every local day they touch),
  // recurrences (RRULE, RDATE, EXDATE), STATUS:CANCELLED events left out. Work is bounded
  // by what it costs (the months asked for, a budget for the rules' expansion, a time
  // limit), not by a count of events.
  // Returns the number of events read, or -1 when the text is not an iCalendar object.
  OrvendaleIcalDays days;  // (text, length, year, month, months, masks)
  // Reads `textCount` iCalendar texts (`texts[i]`, `lengths[i]` bytes) as `days` reads
  // one, leaving out STATUS:CANCELLED events: marks the days into `masks` (`months` months
  // from month `month` of `year`), and lists in `list` the instances that touch the window
  // and do not end before list->listFrom; when they are more than its capacity, those that
  // start first are kept. `eventsPerText[i]` gets the events read from text i, -1 for a
  // text that is no calendar. One time limit covers the whole call. Returns the events
  // read in all, or -1 for invalid arguments.
  OrvendaleIcalEvents events;  // (texts, lengths, textCount, year, month, months, masks, list, eventsPerText)
};
