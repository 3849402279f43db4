// The days of an iCalendar text over arbitrary texts, windows and time zones. The input's
// first four bytes choose the window (a year from 1904 on, a month, one to sixteen
// months) and the process's time zone; the rest is the text. The work must stay within
// its limits, a text that is no calendar must leave the masks clear, and no mask may
// mark a day its month does not have.

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
constexpr int kMaxEvents = 10000;  // the plugin's own limit
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
  const int events = MarkIcalDays(reinterpret_cast<const char*>(data + kWindowBytes), size - kWindowBytes, year,
                                  month, months, masks.data(), IcalClock::now() + std::chrono::seconds(1),
                                  eventsRead);
  Check(events >= -1 && events <= kMaxEvents);
  Check(events == eventsRead.load());
  for (int i = 0; i < months; ++i) {
    const int index = month - 1 + i;
    const int days = DaysInMonth(year + index / 12, index % 12 + 1);
    const std::uint32_t mask = masks[static_cast<std::size_t>(i)];
    if (events == -1) Check(mask == 0);
    Check((mask >> days) == 0);
  }
  return 0;
}
