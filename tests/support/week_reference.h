#pragma once
// Week numbers by their definitions, on the standard library's calendar types, for
// checking the calendar's own arithmetic: nothing here shares code or formulas with it.

#include <chrono>
#include <cstdint>

namespace orvendale::testing {

// The date of a day number: days since 1904-01-01, negative before it.
inline std::chrono::sys_days DateOfDayNumber(std::int32_t n) {
  using namespace std::chrono;
  return sys_days{year{1904} / January / 1} + days{n};
}

// ISO 8601: weeks run Monday to Sunday, and week 1 of a year is the one that holds its
// January 4. The week of a date counts from the first week 1 that is not after it.
inline int IsoWeekReference(std::chrono::sys_days date) {
  using namespace std::chrono;
  const auto mondayOf = [](sys_days day) { return day - (weekday{day} - Monday); };
  const year y = year_month_day{date}.year();
  for (const year candidate : {y + years{1}, y, y - years{1}}) {
    const sys_days week1 = mondayOf(sys_days{candidate / January / 4});
    if (date >= week1) return static_cast<int>((date - week1).count() / 7 + 1);
  }
  return 0;
}

// US: a grid row of seven days that holds a January 1 is week 1, and each later row
// counts on from it; the row's first day may be any weekday.
inline int UsRowWeekReference(std::chrono::sys_days rowStart) {
  using namespace std::chrono;
  const sys_days january1{year_month_day{rowStart + days{6}}.year() / January / 1};
  const sys_days weekOneStart = january1 - (weekday{january1} - weekday{rowStart});
  return static_cast<int>((rowStart - weekOneStart).count() / 7 + 1);
}

}  // namespace orvendale::testing
