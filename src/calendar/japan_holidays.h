#pragma once
// The public holidays of Japan as the law had them in each year, from the day the
// national holidays law took effect (1948-07-20) to 2031: the national holidays with the
// dates each amendment gave them, the one-time holidays, substitute holidays (from
// 1973-04-12) and citizens' holidays (from 1985-12-27), and the equinox days as the
// national observatory computes them.

#include <cstdint>

namespace orvendale {

// The first day on which Japan's national holidays law held.
inline constexpr int kJapanHolidayLawYear = 1948;
inline constexpr int kJapanHolidayLawMonth = 7;
inline constexpr int kJapanHolidayLawDay = 20;

// The March day of Japan's vernal equinox day in `year`, 1900..2099; 0 outside.
int JapanVernalEquinoxDay(int year);
// The September day of Japan's autumnal equinox day in `year`, 1900..2099; 0 outside.
int JapanAutumnalEquinoxDay(int year);

// The holidays of `month` (1-12) of `year` as a bit mask: bit d - 1 set when day d is a
// public holiday of Japan. A Sunday is marked only when it is a holiday itself. 0 for a
// month outside 1904..2031 or before the law.
std::uint32_t JapanHolidayMask(int year, int month);

}  // namespace orvendale
