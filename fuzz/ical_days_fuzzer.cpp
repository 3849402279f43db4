// The days of an iCalendar text over arbitrary texts, windows and time zones. The input's
// first four bytes choose the window (a year from 1904 on, a month, one to sixteen
// months) and the process's time zone; the rest is the text. The work must stay within
// its limits, a text that is no calendar must leave the masks clear, and no mask may
// mark a day its month does not have. The same text listed as events: the list stays within
// its buffers, and its marks are the days' marks (cancelled events aside).

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "fuzz_support.h"
#include "plugins/ical/ical_days.h"

namespace {

using orvendale::fuzzing::Check;

constexpr std::size_t kWindowBytes = 4;
constexpr int kListCapacity = 16;  // small, so that the list fills
constexpr std::uint32_t kSummaryCapacity = 600;
const char* const kZones[] = {"UTC0", "JST-9", "EST5EDT,M3.2.0,M11.1.0", "NZST-12NZDT,M9.5.0,M4.1.0/3"};

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : kDays[month - 1];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvendale::plugins;
  if (size < kWindowBytes) return 0;
  const int year = 1904 + data[0] % 128;
  const int month = 1 + data[1] % 12;
  const int months = 1 + data[2] % 16;
  setenv("TZ", kZones[data[3] % 4], 1);
  tzset();

  std::vector<std::uint32_t> masks(static_cast<std::size_t>(months), 0xA5A5A5A5);
  std::atomic<int> eventsRead{0};
  // The two expansions below are compared day by day, so neither may be cut short by the
  // clock: on a loaded machine a one-second limit cut the first and not the second. The
  // work budget bounds them; the clock limit here is only a safety net.
  const auto deadline = [] { return IcalClock::now() + std::chrono::seconds(30); };
  const int events = MarkIcalDays(reinterpret_cast<const char*>(data + kWindowBytes), size - kWindowBytes, year,
                                  month, months, masks.data(), deadline(),
                                  eventsRead);
  Check(events >= -1);
  Check(events == eventsRead.load());
  for (int i = 0; i < months; ++i) {
    const int index = month - 1 + i;
    const int days = DaysInMonth(year + index / 12, index % 12 + 1);
    const std::uint32_t mask = masks[static_cast<std::size_t>(i)];
    if (events == -1) Check(mask == 0);
    Check((mask >> days) == 0);
  }

  std::vector<std::uint32_t> listed(static_cast<std::size_t>(months), 0xA5A5A5A5);
  std::vector<OrvendaleIcalEvent> instances(kListCapacity);
  std::vector<char> summaries(kSummaryCapacity);
  OrvendaleIcalEventList list{};
  list.listFrom = static_cast<std::int32_t>(data[0]) * 100;
  list.events = instances.data();
  list.capacity = kListCapacity;
  list.summaries = summaries.data();
  list.summaryCapacity = kSummaryCapacity;
  const char* text = reinterpret_cast<const char*>(data + kWindowBytes);
  const std::size_t length = size - kWindowBytes;
  int perText = 0;
  const IcalTexts texts{&text, &length, 1, &perText};
  const int read = ListIcalEvents(texts, year, month, months, listed.data(), &list, deadline(),
                                  eventsRead);
  Check(read >= 0 && perText >= -1 && read == (perText < 0 ? 0 : perText));
  Check(list.count >= 0 && list.count <= kListCapacity && list.summaryBytes <= kSummaryCapacity);
  for (int i = 0; i < list.count; ++i) {
    const OrvendaleIcalEvent& event = instances[static_cast<std::size_t>(i)];
    Check(event.lastDay >= event.firstDay && event.lastDay >= list.listFrom);
    Check(event.startMinute >= -1 && event.startMinute < 24 * 60);
    Check(event.summary <= list.summaryBytes && event.summaryBytes <= list.summaryBytes - event.summary);
    Check(event.summaryBytes <= kOrvendaleIcalSummaryBytes);
  }
  for (int i = 0; i < months; ++i) Check((listed[static_cast<std::size_t>(i)] & ~masks[static_cast<std::size_t>(i)]) == 0);
  return 0;
}
