// Prints, for a calendar file or folder, every day of `months` months from YEAR-MONTH that a
// run marks ("D YYYY-MM-DD"), and every agenda instance of those months ("I first last
// minute summary", days as YYYY-MM-DD, minute -1 for all day), sorted. The iCalendar plugin
// is found through ORVENDALE_PLUGIN_DIR.
// Usage: event_probe PATH YEAR MONTH MONTHS
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "calendar/event_set.h"

namespace {

std::string DateText(std::int64_t epochDay) {
  const orvendale::PackedDate date = orvendale::PackedDateOfEpochDay(epochDay);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", orvendale::PackedYear(date), orvendale::PackedMonth(date),
                orvendale::PackedDay(date));
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: event_probe PATH YEAR MONTH MONTHS\n");
    return 2;
  }
  const std::string path = argv[1];
  const int year = std::atoi(argv[2]), month = std::atoi(argv[3]), months = std::atoi(argv[4]);
  orvendale::ChooseEventCalendars({{std::u16string(path.begin(), path.end()), 0}});
  std::vector<std::string> lines;
  int y = year, m = month;
  std::int64_t first = 0, last = 0;
  for (int i = 0; i < months; ++i) {
    for (int d = 1; d <= orvendale::DaysInMonth(static_cast<std::int16_t>(m), static_cast<std::int16_t>(y)); ++d) {
      const auto packed = orvendale::PackDate(static_cast<std::uint16_t>(m), static_cast<std::uint16_t>(d),
                                              static_cast<std::uint16_t>(y));
      if (i == 0 && d == 1) first = orvendale::EpochDayOf(packed);
      last = orvendale::EpochDayOf(packed);
      if (orvendale::EventCalendarsOn(static_cast<std::int16_t>(m), static_cast<std::int16_t>(d),
                                      static_cast<std::int16_t>(y)) != 0) {
        lines.push_back("D " + DateText(orvendale::EpochDayOf(packed)));
      }
    }
    if (++m > 12) m = 1, ++y;
  }
  for (const orvendale::EventInstance& instance : orvendale::EventsFrom(first, static_cast<int>(last - first + 1))) {
    lines.push_back("I " + DateText(instance.firstDay) + " " + DateText(instance.lastDay) + " " +
                    std::to_string(instance.startMinute) + " " + instance.summary);
  }
  std::sort(lines.begin(), lines.end());
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return 0;
}
