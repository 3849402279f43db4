#pragma once
// The days that the events of an iCalendar text cover, worked out in the calling process.
// The plugin's entry point runs this in a child process that it can stop; the fuzz
// target calls it directly.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>

#include "plugins/holiday_plugins.h"

namespace orvendale::plugins {

using IcalClock = std::chrono::steady_clock;
using IcalDeadline = IcalClock::time_point;

// Text read at most of one calendar; a longer text is cut at its last line end before this.
inline constexpr std::size_t kMaxIcalTextBytes = 64u << 20;

// Clears `masks` (`months` entries) and marks in them, for `months` months from month
// `month` (1-12) of `year` (1-9999, at most kMaxWindowMonths months), every local day (in
// the time zone TZ names) that a VEVENT of `text` (`length` bytes, NUL not needed) covers.
// `eventsRead` is -1 until the text is known to be an iCalendar object, then counts the
// events whose days are marked, as the work goes on: when the work is stopped from outside
// it tells how far it got. No libical work starts after `deadline`; one call already
// running may take a few seconds more. Returns the final `eventsRead`; -1 (masks cleared)
// for invalid arguments or a text that is no calendar. May throw std::bad_alloc.
int MarkIcalDays(const char* text, std::size_t length, int year, int month, int months, std::uint32_t* masks,
                 IcalDeadline deadline, std::atomic<int>& eventsRead);

// Several calendar texts and, for each, the events read from it (-1: no calendar).
struct IcalTexts {
  const char* const* texts;
  const std::size_t* lengths;
  int count;
  int* eventsRead;  // `count` entries
};

// As MarkIcalDays for each text in turn, skipping STATUS:CANCELLED events, and lists the
// instances in `list` (see orvendale_ical_events); the deadline covers all texts. Sets
// `list->cut`. Returns the events read in all; -1 for invalid arguments.
int ListIcalEvents(const IcalTexts& texts, int year, int month, int months, std::uint32_t* masks,
                   OrvendaleIcalEventList* list, IcalDeadline deadline, std::atomic<int>& eventsRead);

}  // namespace orvendale::plugins
