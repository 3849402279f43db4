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

// US: weeks run Sunday to Saturday, and week 1 of a year is the one that holds its
// January 1; a date is counted in its own year.
inline int UsWeekReference(std::chrono::sys_days date) {
  using namespace std::chrono;
  const sys_days january1{year_month_day{date}.year() / January / 1};
  const sys_days week1 = january1 - (weekday{january1} - Sunday);
  return static_cast<int>((date - week1).count() / 7 + 1);
}

}  // namespace orvendale::testing
