#include "calendar/japan_holidays.h"

#include <array>

#include "calendar/packed_date.h"

namespace orvendale {
namespace {

// The observatory's equinox days follow day = trunc(base + rate x (year - 1980) - q),
// where q is (year - 1980) / 4 from 1980 on and (year - 1983) / 4 before, both divisions
// truncating toward zero. Each period has its own bases: the drift of the equinox against
// the calendar changes slowly, and the constants were fitted to each period's equinoxes.
constexpr double kEquinoxDrift = 0.242194;         // days per year
constexpr double kVernalBaseBefore1980 = 20.8357;  // 1900..1979
constexpr double kAutumnalBaseBefore1980 = 23.2588;
constexpr double kVernalBaseFrom1980 = 20.8431;    // 1980..2099
constexpr double kAutumnalBaseFrom1980 = 23.2488;
constexpr int kEquinoxFirstYear = 1900;
constexpr int kEquinoxLastYear = 2099;
constexpr int kEquinoxPeriodYear = 1980;
constexpr int kLeapCountBaseBefore1980 = 1983;

int EquinoxDay(int year, double baseBefore1980, double baseFrom1980) {
  if (year < kEquinoxFirstYear || year > kEquinoxLastYear) return 0;
  const bool early = year < kEquinoxPeriodYear;
  const int e = year - kEquinoxPeriodYear;                                    // [-80, 119]
  const int q = (year - (early ? kLeapCountBaseBefore1980 : kEquinoxPeriodYear)) / 4;  // [-20, 29]
  const double x = ((early ? baseBefore1980 : baseFrom1980) + kEquinoxDrift * e) - q;
  return static_cast<int>(x);
}

constexpr int kMonday = 1;
constexpr int kSunday = 0;
constexpr int kMaxDaysPerYear = 366;

// Dates on which the rules changed, as year * 10000 + month * 100 + day.
constexpr int Stamp(int year, int month, int day) { return year * 10000 + month * 100 + day; }
constexpr int kLawStart = Stamp(kJapanHolidayLawYear, kJapanHolidayLawMonth, kJapanHolidayLawDay);
constexpr int kSubstituteHolidaysStart = Stamp(1973, 4, 12);
constexpr int kCitizensHolidaysStart = Stamp(1985, 12, 27);
// From 2007 a substitute is the nearest day that is not a national holiday, and a
// citizens' holiday may fall on a Sunday.
constexpr int kAmendment2007Year = 2007;

// Holidays given once, each by its own law: weddings and ceremonies of the imperial house.
constexpr int kOneTimeHolidays[] = {
    Stamp(1959, 4, 10), Stamp(1989, 2, 24), Stamp(1990, 11, 12),
    Stamp(1993, 6, 9),  Stamp(2019, 5, 1),  Stamp(2019, 10, 22),
};

// The days of one year, by index 0 = January 1.
class JapanYear {
 public:
  explicit JapanYear(int year) : year_(year), leap_(DaysInMonth(2, static_cast<std::int16_t>(year)) == 29) {}

  int year() const { return year_; }
  int DayCount() const { return leap_ ? 366 : 365; }
  int IndexOf(int month, int day) const {
    return CalendarTable[leap_ ? kDaysBeforeMonthLeap : kDaysBeforeMonthCommon][month - 1] + day - 1;
  }
  int WeekdayAt(int index) const { return (firstWeekday_ + index) % kDaysPerWeek; }
  int StampAt(int index) const {
    int month = 12;
    while (IndexOf(month, 1) > index) --month;
    return Stamp(year_, month, index - IndexOf(month, 1) + 1);
  }
  // The day of the n-th Monday of `month`.
  int NthMonday(int month, int n) const {
    const int first = WeekdayOf(static_cast<std::int16_t>(month), 1, static_cast<std::int16_t>(year_));
    return 1 + (kMonday - first + kDaysPerWeek) % kDaysPerWeek + (n - 1) * kDaysPerWeek;
  }

  // A national holiday on the day, from the law's start on.
  void Mark(int month, int day) {
    if (day >= 1 && Stamp(year_, month, day) >= kLawStart) national_[IndexOf(month, day)] = true;
  }
  bool National(int index) const { return index >= 0 && index < DayCount() && national_[index]; }

 private:
  int year_;
  bool leap_;
  int firstWeekday_ = WeekdayOf(1, 1, static_cast<std::int16_t>(year_));
  std::array<bool, kMaxDaysPerYear> national_{};
};

// The national holidays of the year, each on the day the law of that year gave it.
void MarkNationalHolidays(JapanYear& days) {
  const int y = days.year();
  days.Mark(1, 1);                                              // New Year's Day
  days.Mark(1, y < 2000 ? 15 : days.NthMonday(1, 2));           // Coming of Age Day
  if (y >= 1967) days.Mark(2, 11);                              // National Foundation Day
  if (y >= 2020) days.Mark(2, 23);                              // the Emperor's Birthday
  days.Mark(3, JapanVernalEquinoxDay(y));                       // Vernal Equinox Day
  days.Mark(4, 29);  // the Emperor's Birthday to 1988, then Greenery Day, from 2007 Showa Day
  days.Mark(5, 3);                                              // Constitution Memorial Day
  if (y >= 2007) days.Mark(5, 4);                               // Greenery Day
  days.Mark(5, 5);                                              // Children's Day
  // Marine Day; in 2020 and 2021 moved next to the opening of the Olympic Games.
  if (y == 2020) {
    days.Mark(7, 23);
  } else if (y == 2021) {
    days.Mark(7, 22);
  } else if (y >= 2003) {
    days.Mark(7, days.NthMonday(7, 3));
  } else if (y >= 1996) {
    days.Mark(7, 20);
  }
  // Mountain Day; in 2020 and 2021 moved next to the closing of the Games.
  if (y == 2020) {
    days.Mark(8, 10);
  } else if (y == 2021) {
    days.Mark(8, 8);
  } else if (y >= 2016) {
    days.Mark(8, 11);
  }
  if (y >= 1966) days.Mark(9, y < 2003 ? 15 : days.NthMonday(9, 3));  // Respect for the Aged Day
  days.Mark(9, JapanAutumnalEquinoxDay(y));                            // Autumnal Equinox Day
  // Sports Day; in 2020 and 2021 moved to the day after Marine Day.
  if (y == 2020) {
    days.Mark(7, 24);
  } else if (y == 2021) {
    days.Mark(7, 23);
  } else if (y >= 2000) {
    days.Mark(10, days.NthMonday(10, 2));
  } else if (y >= 1966) {
    days.Mark(10, 10);
  }
  days.Mark(11, 3);                                             // Culture Day
  days.Mark(11, 23);                                            // Labour Thanksgiving Day
  if (y >= 1989 && y <= 2018) days.Mark(12, 23);                // the Emperor's Birthday
  for (const int stamp : kOneTimeHolidays) {
    if (stamp / 10000 == y) days.Mark(stamp / 100 % 100, stamp % 100);
  }
}

}  // namespace

int JapanVernalEquinoxDay(int year) { return EquinoxDay(year, kVernalBaseBefore1980, kVernalBaseFrom1980); }
int JapanAutumnalEquinoxDay(int year) {
  return EquinoxDay(year, kAutumnalBaseBefore1980, kAutumnalBaseFrom1980);
}

std::uint32_t JapanHolidayMask(int year, int month) {
  if (year < kFirstYear || year > kLastYear || month < 1 || month > kMonthsPerYear) return 0;
  if (year < kJapanHolidayLawYear) return 0;
  JapanYear days(year);
  MarkNationalHolidays(days);

  std::array<bool, kMaxDaysPerYear> off{};
  for (int index = 0; index < days.DayCount(); ++index) {
    off[index] = off[index] || days.National(index);
    const int stamp = days.StampAt(index);
    // A national holiday on a Sunday gives the next day off; from 2007 the nearest day
    // after it that is not a national holiday itself. No national holiday falls on
    // December 31, so a substitute never leaves its year.
    if (days.National(index) && days.WeekdayAt(index) == kSunday && stamp >= kSubstituteHolidaysStart) {
      int substitute = index + 1;
      if (year >= kAmendment2007Year) {
        while (days.National(substitute)) ++substitute;
      }
      if (substitute < days.DayCount()) off[substitute] = true;
    }
    // A day between two national holidays is a citizens' holiday. Before 2007 the law
    // excluded Sundays (and substitute holidays, which are days off anyway).
    const bool excludedSunday = year < kAmendment2007Year && days.WeekdayAt(index) == kSunday;
    if (!days.National(index) && days.National(index - 1) && days.National(index + 1) &&
        stamp >= kCitizensHolidaysStart && !excludedSunday) {
      off[index] = true;
    }
  }

  std::uint32_t mask = 0;
  const int first = days.IndexOf(month, 1);
  const int length = DaysInMonth(static_cast<std::int16_t>(month), static_cast<std::int16_t>(year));
  for (int day = 1; day <= length; ++day) {
    if (off[first + day - 1]) mask |= std::uint32_t{1} << (day - 1);
  }
  return mask;
}

}  // namespace orvendale
