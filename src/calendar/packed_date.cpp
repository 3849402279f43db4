#include "calendar/packed_date.h"

namespace orvendale {
namespace {

// 1904-01-01 was a Friday.
constexpr unsigned kWeekdayOfFirstDay = 5;

// The 128 years form 32 cycles of four years; the first year of each is the leap year.
constexpr unsigned kDaysPerCommonYear = 365;
constexpr unsigned kDaysPerLeapYear = 366;
constexpr unsigned kDaysPerCycle = kDaysPerLeapYear + 3 * kDaysPerCommonYear;  // 1461

// Each "days before" row is the running sum of its "days in month" row, and each
// weekday-offset row is its "days before" row taken modulo 7.
constexpr bool TableRowsAgree() {
  for (int leap = 0; leap < 2; ++leap) {
    int sum = 0;
    for (int i = 0; i < kMonthsPerYear; ++i) {
      if (CalendarTable[kDaysBeforeMonthCommon + leap][i] != sum) return false;
      if (CalendarTable[kWeekdayOffsetCommon + leap][i] != sum % kDaysPerWeek) return false;
      sum += CalendarTable[kDaysInMonthCommon + leap][i];
    }
    if (sum != static_cast<int>(kDaysPerCommonYear) + leap) return false;
  }
  return true;
}
static_assert(TableRowsAgree());
static_assert(32 * kDaysPerCycle - 1 == kLastDayNumber);

bool IsYearInRange(int year) { return year >= kFirstYear && year <= kLastYear; }
bool IsMonthInRange(int month) { return month >= 1 && month <= kMonthsPerYear; }

// The table row for a year offset (year - 1904, [0, 127]): the leap row when the offset
// is a multiple of 4.
int RowFor(CalendarRow commonRow, unsigned yearOffset) {
  return yearOffset % 4 == 0 ? commonRow + 1 : commonRow;
}

// Leap years from 1904 up to, not including, the year at `yearOffset`.
unsigned LeapYearsBefore(unsigned yearOffset) { return (yearOffset + 3) / 4; }

// The record's 16-bit field moved by a signed amount, wrapping as the field does.
std::uint16_t WrapAdd(std::uint16_t field, std::int32_t amount) {
  return static_cast<std::uint16_t>(static_cast<std::uint32_t>(field) + static_cast<std::uint32_t>(amount));
}

}  // namespace

std::int16_t DaysInMonth(std::int16_t month, std::int16_t year) {
  if (!IsYearInRange(year) || !IsMonthInRange(month)) return 0;
  const int row = year % 4 == 0 ? kDaysInMonthLeap : kDaysInMonthCommon;
  return CalendarTable[row][month - 1];
}

std::int16_t WeekdayOf(std::int16_t month, std::int16_t day, std::int16_t year) {
  if (!IsYearInRange(year) || !IsMonthInRange(month)) return 0;
  if (day < 1 || day > DaysInMonth(month, year)) return 0;
  const unsigned yearOffset = static_cast<unsigned>(year - kFirstYear);  // [0, 127]
  const unsigned monthOffset =
      static_cast<unsigned>(CalendarTable[RowFor(kWeekdayOffsetCommon, yearOffset)][month - 1]);  // [0, 6]
  // [5, 5 + 127 + 32 + 6 + 30] = [5, 200]
  const unsigned total = kWeekdayOfFirstDay + yearOffset + LeapYearsBefore(yearOffset) + monthOffset +
                         static_cast<unsigned>(day - 1);
  return static_cast<std::int16_t>(total % kDaysPerWeek);
}

std::int16_t WeekdayOccurrence(std::int16_t month, std::int16_t day, std::int16_t year) {
  const std::int32_t week = (static_cast<std::int32_t>(day) - 1) / kDaysPerWeek;  // [-4681, 4680]
  return CutTo16Bits(WeekdayOf(month, day, year) + kDaysPerWeek * week);
}

DayNumber PackedDateToDayNumber(PackedDate date) {
  const unsigned yearOffset = date & kPackedYearMask;  // [0, 127]
  int month = PackedMonth(date);                       // [0, 15]
  if (month < 1) month = 1;
  if (month > kMonthsPerYear) month = kMonthsPerYear;
  const unsigned day = static_cast<unsigned>(PackedDay(date));  // [0, 31]
  const unsigned daysBefore =
      static_cast<unsigned>(CalendarTable[RowFor(kDaysBeforeMonthCommon, yearOffset)][month - 1]);  // [0, 335]
  // [0, 46355 + 32 + 335 + 31]; only December 31 of 2031 reaches 46752, so the day
  // number below never exceeds 46751.
  const unsigned throughDay = yearOffset * kDaysPerCommonYear + LeapYearsBefore(yearOffset) + daysBefore + day;
  return throughDay == 0 ? 0 : throughDay - 1;  // day 0 of January 1904 stays at day 0
}

void DayNumberToPackedDate(DayNumber n, PackedDate* date) {
  if (date == nullptr) return;
  if (n > kLastDayNumber) n = kLastDayNumber;
  const unsigned cycle = n / kDaysPerCycle;            // [0, 31]
  unsigned dayOfCycle = n - cycle * kDaysPerCycle;     // [0, 1460]
  unsigned yearOffset = 4 * cycle;                     // [0, 124]
  int row = kDaysBeforeMonthLeap;
  if (dayOfCycle >= kDaysPerLeapYear) {
    dayOfCycle -= kDaysPerLeapYear;                    // [0, 1094]
    yearOffset += dayOfCycle / kDaysPerCommonYear + 1;  // [1, 127]
    dayOfCycle %= kDaysPerCommonYear;                  // [0, 364]
    row = kDaysBeforeMonthCommon;
  }
  const unsigned dayOfYear = dayOfCycle;
  int month = 1;
  while (month < kMonthsPerYear && dayOfYear >= static_cast<unsigned>(CalendarTable[row][month])) ++month;
  const unsigned day = dayOfYear - static_cast<unsigned>(CalendarTable[row][month - 1]) + 1;  // [1, 31]
  *date = static_cast<PackedDate>(yearOffset | static_cast<unsigned>(month) << kPackedMonthShift |
                                  day << kPackedDayShift);
}

void AddDays(PackedDate* date, std::int32_t delta) {
  if (date == nullptr || delta == 0) return;
  DayNumber n = PackedDateToDayNumber(*date);  // [0, 46751]
  if (delta < 0) {
    const std::uint32_t back = 0u - static_cast<std::uint32_t>(delta);  // [1, 2^31]
    n = back > n ? 0 : n - back;
  } else {
    // [1, 46751 + 2^31 - 1]: fits 32 unsigned bits.
    n += static_cast<std::uint32_t>(delta);
    if (n > kLastDayNumber) n = kLastDayNumber;
  }
  DayNumberToPackedDate(n, date);
}

void AddMonths(DateRecord* record, std::int16_t count) {
  if (record == nullptr) return;
  std::uint16_t month = record->month;
  std::uint16_t year = record->year;
  if (count > 0) {
    // The first step brings any month into 0..12: past December (or any larger value)
    // comes January of the next year, and 65535 wraps to 0 as the field does.
    month = static_cast<std::uint16_t>(month + 1);
    if (month >= 13) {
      month = 1;
      year = WrapAdd(year, 1);
    }
    const std::int32_t remaining = count - 1;  // [0, 32766]
    if (month != 0 || remaining != 0) {
      const std::int32_t index = month - 1 + remaining;  // [0, 32777]
      year = WrapAdd(year, index / kMonthsPerYear);
      month = static_cast<std::uint16_t>(index % kMonthsPerYear + 1);
    }
  } else if (count < 0) {
    const std::int32_t steps = -static_cast<std::int32_t>(count);  // [1, 32768]
    // Stepping back, the month reaches December of the year before after `month` steps;
    // from 0 the field first wraps to 65535, so that takes 65536 steps.
    const std::int32_t stepsToDecember = month == 0 ? 65536 : month;
    if (steps < stepsToDecember) {
      month = static_cast<std::uint16_t>(stepsToDecember - steps);
    } else {
      const std::int32_t beforeDecember = steps - stepsToDecember;  // [0, 32767]
      year = WrapAdd(year, -1 - beforeDecember / kMonthsPerYear);
      month = static_cast<std::uint16_t>(kMonthsPerYear - beforeDecember % kMonthsPerYear);
    }
  }
  record->month = month;
  record->year = year;
  const std::int16_t length = DaysInMonth(CutTo16Bits(month), CutTo16Bits(year));  // [0, 31]
  if (record->day > length) record->day = static_cast<std::uint16_t>(length);
}

}  // namespace orvendale
