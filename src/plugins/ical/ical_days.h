#pragma once
// The days that the events of an iCalendar text cover, worked out in the calling process.
// The plugin's entry point runs this in a child process that it can stop; the fuzz
// target calls it directly.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>

namespace orvendale::plugins {

using IcalClock = std::chrono::steady_clock;
using IcalDeadline = IcalClock::time_point;

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

}  // namespace orvendale::plugins
