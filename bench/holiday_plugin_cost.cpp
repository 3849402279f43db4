// The cost of a holiday plugin for one run: load it as the program does and ask it for
// the days of some months, printing the masks and the time each step took. Meant to run
// under `valgrind --tool=callgrind` too, where the instruction counts are what counts.
//
// Usage: holiday_plugin_cost region WORD YEAR MONTH [MONTHS]
//        holiday_plugin_cost ical FILE YEAR MONTH [MONTHS]
// The plugins are looked for where the program looks (ORVENDALE_PLUGIN_DIR first).
// Exit code 0 when the plugin loaded and answered.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/system/plugin.h"
#include "plugins/holiday_plugins.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since) {
  return std::chrono::duration<double, std::milli>(Clock::now() - since).count();
}

void PrintMasks(int year, int month, const std::vector<std::uint32_t>& masks) {
  for (std::size_t i = 0; i < masks.size(); ++i) {
    const int index = month - 1 + static_cast<int>(i);
    std::printf("%04d-%02d:", year + index / 12, index % 12 + 1);
    for (int day = 1; day <= 31; ++day) {
      if ((masks[i] >> (day - 1) & 1) != 0) std::printf(" %d", day);
    }
    std::printf("\n");
  }
}

int Region(const char* word, int year, int month, std::vector<std::uint32_t>& masks) {
  const Clock::time_point start = Clock::now();
  const auto* plugin = orvendale::platform::FindPlugin<OrvendaleHolidaysKdePlugin>();
  if (plugin == nullptr) return 1;
  const OrvendaleResolveRegion resolve = plugin->resolveRegion;
  const OrvendaleRegionDaysOff daysOff = plugin->regionDaysOff;
  std::printf("load: %.2f ms\n", Milliseconds(start));
  const Clock::time_point query = Clock::now();
  char code[64];
  if (resolve(word, code, sizeof code) != 1) return 1;
  const int result = daysOff(code, year, month, static_cast<int>(masks.size()), masks.data());
  std::printf("query %s: %.2f ms\n", code, Milliseconds(query));
  return result == 1 ? 0 : 1;
}

int Ical(const char* path, int year, int month, std::vector<std::uint32_t>& masks) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  const std::string contents = text.str();
  const Clock::time_point start = Clock::now();
  const auto* plugin = orvendale::platform::FindPlugin<OrvendaleIcalPlugin>();
  if (plugin == nullptr) return 1;
  const OrvendaleIcalDays days = plugin->days;
  std::printf("load: %.2f ms\n", Milliseconds(start));
  const Clock::time_point query = Clock::now();
  const int events = days(contents.data(), contents.size(), year, month, static_cast<int>(masks.size()), masks.data());
  std::printf("query: %.2f ms, %d events\n", Milliseconds(query), events);
  return events >= 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: %s region|ical WORD|FILE YEAR MONTH [MONTHS]\n", argv[0]);
    return 2;
  }
  const int year = std::atoi(argv[3]);
  const int month = std::atoi(argv[4]);
  const int months = argc > 5 ? std::atoi(argv[5]) : 1;
  if (months < 1 || months > 1536) return 2;
  std::vector<std::uint32_t> masks(static_cast<std::size_t>(months));
  const int result = std::strcmp(argv[1], "region") == 0 ? Region(argv[2], year, month, masks)
                                                          : Ical(argv[2], year, month, masks);
  if (result == 0) PrintMasks(year, month, masks);
  return result;
}
