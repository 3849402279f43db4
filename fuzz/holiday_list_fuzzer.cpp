// The plain holiday list over arbitrary text. Every month's days must be days the month
// has; no more lines are read or skipped than the text holds; line ends in CR LF, LF or
// CR read alike; reading the same text twice gives the same list.

#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/holiday_list.h"
#include "calendar/packed_date.h"
#include "fuzz_support.h"

namespace orvendale {
namespace {

using fuzzing::Check;

int LineCount(std::string_view text) {
  int lines = text.empty() ? 0 : 1;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++lines;
  }
  return lines;
}

std::string WithLfEnds(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out.push_back('\n');
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

}  // namespace
}  // namespace orvendale

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvendale;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  HolidayList list;
  list.Parse(text);
  Check(list.entries() >= 0 && list.skippedLines() >= 0);
  Check(list.entries() + list.skippedLines() <= LineCount(text));
  Check((list.skippedLines() == 0) == (list.firstSkippedLine() == 0));

  HolidayList again;
  again.Parse(WithLfEnds(text));
  Check(again.entries() == list.entries() && again.skippedLines() == list.skippedLines());
  for (int year = kFirstYear - 1; year <= kLastYear + 1; ++year) {
    for (int month = 0; month <= kMonthsPerYear + 1; ++month) {
      const std::uint32_t mask = list.MonthMask(year, month);
      const int days = DaysInMonth(static_cast<std::int16_t>(month), static_cast<std::int16_t>(year));
      Check((mask >> days) == 0 || (days == 0 && mask == 0));
      Check(mask == again.MonthMask(year, month));
    }
  }
  return 0;
}
