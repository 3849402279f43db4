#pragma once
// The public-holiday calendar and the colour of each kind of day.
//
// The built-in calendar is one fixed set of rules by month for every year from 1904 to 2031:
// fixed days, a Monday that stands in for a holiday falling on the Sunday before it, the
// second or third Monday of a month, and the vernal and autumnal equinox days computed
// by formula. There is no other holiday. The driver may choose another set from the
// settings (calendar/holiday_set.h); IsHoliday and SetDayColor then follow that set.

#include <cstdint>

#include "platform/drawing/graphics.h"

namespace orvendale {

// The equinox formula: day = trunc((base + rate x e) - trunc(e / 4)) with e = year - 1980,
// evaluated in IEEE double precision in exactly that order. Each constant is the double
// nearest to its decimal value; the holiday lists depend on these exact bits.
inline constexpr double kEquinoxRate = 0.242194;        // days the equinox drifts per year
inline constexpr double kVernalEquinoxBase = 20.8431;   // March day of the equinox in 1980
inline constexpr double kAutumnalEquinoxBase = 23.2488; // September day in 1980
inline constexpr std::int32_t kEquinoxBaseYear = 1980;

// The March day of the vernal equinox holiday of `year`; 20 or 21 for 1904..2031. The
// formula is evaluated for any year and never overflows.
int VernalEquinoxDay(std::int16_t year);
// The September day of the autumnal equinox holiday of `year`; 22 or 23 for 1904..2031.
int AutumnalEquinoxDay(std::int16_t year);

// 1 when the date is a Sunday or a public holiday of the chosen holiday set (see
// calendar/holiday_set.h; the built-in table unless the driver chose another), else 0.
// A date that is not a real day of 1904..2031 gives 1: it counts as a Sunday.
int IsHoliday(std::int16_t month, std::int16_t day, std::int16_t year);

// As IsHoliday with the built-in table, whatever set is chosen.
int IsBuiltInHoliday(std::int16_t month, std::int16_t day, std::int16_t year);

// Sets the text colour of `context` for the date: textSettings.sundayColor for a
// holiday (checked first, so a Saturday holiday takes it), saturdayColor for another
// Saturday, textColor for every other day. Draws nothing; a null context is left alone.
void SetDayColor(platform::DrawingContext* context, std::int16_t month, std::int16_t day,
                 std::int16_t year);

}  // namespace orvendale
