#include "calendar/packed_date.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <limits>

namespace orvendale {
namespace {

namespace chrono = std::chrono;

std::int16_t S16(int value) { return static_cast<std::int16_t>(value); }

PackedDate Pack(int month, int day, int year) {
  return PackDate(static_cast<std::uint16_t>(month), static_cast<std::uint16_t>(day),
                  static_cast<std::uint16_t>(year));
}

// Every day of the calendar, checked against the standard library's civil calendar:
// weekdays, month lengths, day numbers rising by one, both conversions inverting each
// other, and a step of one day landing on the next date.
TEST(PackedDate, EveryDayAgreesWithTheCivilCalendar) {
  const chrono::sys_days first = chrono::year{1904} / chrono::January / 1;
  const chrono::sys_days last = chrono::year{2031} / chrono::December / 31;
  DayNumber expected = 0;
  int failures = 0;
  for (chrono::sys_days day = first; day <= last; day += chrono::days{1}, ++expected) {
    const chrono::year_month_day civil{day};
    const int year = static_cast<int>(civil.year());
    const int month = static_cast<int>(static_cast<unsigned>(civil.month()));
    const int dayOfMonth = static_cast<int>(static_cast<unsigned>(civil.day()));
    const int monthLength = static_cast<int>(static_cast<unsigned>(
        chrono::year_month_day_last{civil.year(), chrono::month_day_last{civil.month()}}.day()));
    const PackedDate packed = Pack(month, dayOfMonth, year);

    PackedDate roundTrip = 0;
    DayNumberToPackedDate(expected, &roundTrip);
    PackedDate next = packed;
    AddDays(&next, 1);
    const chrono::year_month_day tomorrow{day + chrono::days{1}};
    const PackedDate expectedNext =
        day == last ? packed
                    : Pack(static_cast<int>(static_cast<unsigned>(tomorrow.month())),
                           static_cast<int>(static_cast<unsigned>(tomorrow.day())),
                           static_cast<int>(tomorrow.year()));

    const bool ok = WeekdayOf(S16(month), S16(dayOfMonth), S16(year)) ==
                        static_cast<int>(chrono::weekday{day}.c_encoding()) &&
                    DaysInMonth(S16(month), S16(year)) == monthLength &&
                    PackedYear(packed) == year && PackedMonth(packed) == month &&
                    PackedDay(packed) == dayOfMonth && PackedDateToDayNumber(packed) == expected &&
                    roundTrip == packed && next == expectedNext;
    if (!ok && ++failures <= 10) ADD_FAILURE() << year << '-' << month << '-' << dayOfMonth;
  }
  EXPECT_EQ(expected, kLastDayNumber + 1);
  EXPECT_EQ(failures, 0);
}

TEST(PackedDate, FieldLayout) {
  EXPECT_EQ(Pack(10, 12, 2007), 0x6567);
  EXPECT_EQ(Pack(1, 1, 1904), 0x0880);
  EXPECT_EQ(Pack(12, 31, 2031), 0xFE7F);
  // Each field is reduced to its width; writing one leaves the others alone.
  EXPECT_EQ(Pack(17, 33, 1903), Pack(1, 1, 2031));
  EXPECT_EQ(WithPackedMonth(Pack(10, 12, 2007), 3), Pack(3, 12, 2007));
}

TEST(PackedDate, WeekdayOccurrence) {
  struct Case {
    int month, day, year, occurrence;
  };
  // An invalid date counts as weekday 0 but still counts whole weeks of its day.
  const Case cases[] = {{1, 8, 2007, 8},   {7, 16, 2007, 15},       {1, 14, 2007, 7},
                        {2, 29, 2001, 28}, {1, 32767, 2007, 32760}, {1, -32768, 2007, -32767}};
  for (const Case& c : cases) {
    EXPECT_EQ(WeekdayOccurrence(S16(c.month), S16(c.day), S16(c.year)), c.occurrence) << c.month << '/' << c.day;
  }
}

// Packed values that are no real day (month field 0 or 13-15, day field 0, day beyond
// the month) still give a day number inside the calendar, and the conversion back
// always gives a real day.
TEST(PackedDate, EverySixteenBitValueConvertsInsideTheCalendar) {
  int outside = 0;
  int unreal = 0;
  for (std::uint32_t value = 0; value <= 0xFFFF; ++value) {
    const DayNumber n = PackedDateToDayNumber(static_cast<PackedDate>(value));
    if (n > kLastDayNumber) ++outside;
    PackedDate back = 0;
    DayNumberToPackedDate(n, &back);
    if (WeekdayOf(PackedMonth(back), PackedDay(back), PackedYear(back)) == 0 &&
        DaysInMonth(PackedMonth(back), PackedYear(back)) == 0) {
      ++unreal;
    }
  }
  EXPECT_EQ(outside, 0);
  EXPECT_EQ(unreal, 0);
  EXPECT_EQ(PackedDateToDayNumber(Pack(0, 5, 1904)), 4u);   // month 0 reads as January
  EXPECT_EQ(PackedDateToDayNumber(Pack(15, 31, 2031)), kLastDayNumber);
  EXPECT_EQ(PackedDateToDayNumber(Pack(1, 0, 1904)), 0u);
  EXPECT_EQ(PackedDateToDayNumber(Pack(3, 0, 2000)), 35123u);  // the day before March 1
  for (DayNumber n : {kLastDayNumber + 1, std::numeric_limits<DayNumber>::max()}) {
    PackedDate date = 0;
    DayNumberToPackedDate(n, &date);
    EXPECT_EQ(date, Pack(12, 31, 2031)) << n;
  }
}

TEST(PackedDate, AddDaysSaturates) {
  struct Case {
    PackedDate from;
    std::int32_t delta;
    PackedDate to;
  };
  constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
  constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
  const Case cases[] = {
      {Pack(12, 31, 2031), 1, Pack(12, 31, 2031)},    {Pack(1, 3, 1904), -5, Pack(1, 1, 1904)},
      {Pack(1, 3, 1904), -2, Pack(1, 1, 1904)},       {Pack(3, 1, 2000), -1, Pack(2, 29, 2000)},
      {Pack(1, 1, 1904), 46751, Pack(12, 31, 2031)},  {Pack(12, 31, 2031), -46751, Pack(1, 1, 1904)},
      {Pack(6, 15, 1990), kMax, Pack(12, 31, 2031)},  {Pack(6, 15, 1990), kMin, Pack(1, 1, 1904)},
      // Dates that are no real day move from where their day number puts them.
      {Pack(2, 30, 2007), 1, Pack(3, 3, 2007)},       {Pack(0, 1, 2007), 1, Pack(1, 2, 2007)},
  };
  for (const Case& c : cases) {
    PackedDate date = c.from;
    AddDays(&date, c.delta);
    EXPECT_EQ(date, c.to) << std::hex << c.from << " + " << std::dec << c.delta;
  }
  // A delta of 0 leaves even a value that is no real day untouched.
  PackedDate unreal = 0xFFFF;
  AddDays(&unreal, 0);
  EXPECT_EQ(unreal, 0xFFFF);
  AddDays(nullptr, 1);
}

// A record with a stale weekday and a time, which AddMonths must leave alone.
DateRecord Record(int year, int month, int day) {
  DateRecord record;
  record.year = static_cast<std::uint16_t>(year);
  record.month = static_cast<std::uint16_t>(month);
  record.day = static_cast<std::uint16_t>(day);
  record.dayOfWeek = 3;
  record.hour = 13;
  return record;
}

// The month-by-month walk, exactly as a calendar page is turned, on the record's 16-bit
// fields. AddMonths must land where this lands for every record, without its loop.
void AddMonthsStepByStep(DateRecord& record, int count) {
  for (int i = 0; i < count; ++i) {
    record.month = static_cast<std::uint16_t>(record.month + 1);
    if (record.month >= 13) {
      record.month = 1;
      record.year = static_cast<std::uint16_t>(record.year + 1);
    }
  }
  for (int i = 0; i < -count; ++i) {
    record.month = static_cast<std::uint16_t>(record.month - 1);
    if (record.month == 0) {
      record.month = 12;
      record.year = static_cast<std::uint16_t>(record.year - 1);
    }
  }
  const std::int16_t length = DaysInMonth(CutTo16Bits(record.month), CutTo16Bits(record.year));
  if (record.day > length) record.day = static_cast<std::uint16_t>(length);
}

TEST(PackedDate, AddMonthsEqualsTheMonthByMonthWalk) {
  const int months[] = {0, 1, 2, 11, 12, 13, 24, 32768, 65534, 65535};
  const int years[] = {0, 1904, 2007, 2008, 2031, 65535};
  const int counts[] = {-32768, -32767, -25, -13, -12, -11, -1, 0, 1, 11, 12, 13, 1535, 32766, 32767};
  int failures = 0;
  for (int month : months) {
    for (int year : years) {
      for (int count : counts) {
        DateRecord expected = Record(year, month, 31);
        AddMonthsStepByStep(expected, count);
        DateRecord actual = Record(year, month, 31);
        AddMonths(&actual, static_cast<std::int16_t>(count));
        if ((actual.year != expected.year || actual.month != expected.month ||
             actual.day != expected.day || actual.dayOfWeek != 3 || actual.hour != 13) &&
            ++failures <= 10) {
          ADD_FAILURE() << year << '-' << month << " + " << count << ": got " << actual.year << '-'
                        << actual.month << '-' << actual.day << ", expected " << expected.year << '-'
                        << expected.month << '-' << expected.day;
        }
      }
    }
  }
  EXPECT_EQ(failures, 0);
  // The walk itself, pinned to known answers.
  DateRecord record = Record(2007, 1, 31);
  AddMonths(&record, 1);
  EXPECT_EQ((std::array{record.year, record.month, record.day}), (std::array<std::uint16_t, 3>{2007, 2, 28}));
  record = Record(2007, 1, 10);
  AddMonths(&record, -13);
  EXPECT_EQ((std::array{record.year, record.month, record.day}), (std::array<std::uint16_t, 3>{2005, 12, 10}));
  record = Record(2031, 12, 15);
  AddMonths(&record, 1);
  EXPECT_EQ((std::array{record.year, record.month, record.day}), (std::array<std::uint16_t, 3>{2032, 1, 0}));
}

}  // namespace
}  // namespace orvendale
