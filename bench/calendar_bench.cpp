// The calendar functions are pure arithmetic on small tables; these cases show what a
// picture's worth of calls costs.

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "calendar/date_pattern.h"
#include "calendar/holidays.h"
#include "calendar/packed_date.h"
#include "calendar/text_settings.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

// One weekday per iteration, walking the days of 2007.
void BM_WeekdayOf(benchmark::State& state) {
  std::int16_t month = 1;
  std::int16_t day = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(WeekdayOf(month, day, 2007));
    if (++day > 28) {
      day = 1;
      month = static_cast<std::int16_t>(month % 12 + 1);
    }
  }
}
BENCHMARK(BM_WeekdayOf);

// Every day of one year through the holiday rules, as twelve month grids would ask.
void BM_IsHolidayWholeYear(benchmark::State& state) {
  const auto year = static_cast<std::int16_t>(state.range(0));
  for (auto _ : state) {
    int holidays = 0;
    for (std::int16_t month = 1; month <= 12; ++month) {
      const std::int16_t length = DaysInMonth(month, year);
      for (std::int16_t day = 1; day <= length; ++day) holidays += IsHoliday(month, day, year);
    }
    benchmark::DoNotOptimize(holidays);
  }
  state.SetItemsProcessed(state.iterations() * 365);
}
BENCHMARK(BM_IsHolidayWholeYear)->Arg(2007)->Arg(2008);

// Walking a month grid: six weeks of packed dates, one day at a time.
void BM_AddDaysMonthGrid(benchmark::State& state) {
  for (auto _ : state) {
    PackedDate date = PackDate(9, 30, 2007);
    for (int cell = 0; cell < 42; ++cell) AddDays(&date, 1);
    benchmark::DoNotOptimize(date);
  }
}
BENCHMARK(BM_AddDaysMonthGrid);

void SetNames() {
  const auto copy = [](char16_t* slot, int capacity, const char16_t* name) {
    int i = 0;
    for (; name[i] != 0 && i < capacity - 1; ++i) slot[i] = name[i];
    slot[i] = 0;
  };
  for (int i = 0; i < 7; ++i) {
    copy(textSettings.shortWeekdayNames[i], kShortNameCapacity, kWeekdayNameKeys[i].shortDefault);
    copy(textSettings.longWeekdayNames[i], kLongNameCapacity, kWeekdayNameKeys[i].longDefault);
  }
  for (int i = 0; i < 12; ++i) {
    copy(textSettings.shortMonthNames[i], kShortNameCapacity, kMonthNameKeys[i].shortDefault);
    copy(textSettings.longMonthNames[i], kLongNameCapacity, kMonthNameKeys[i].longDefault);
  }
}

void BM_ExpandDatePattern(benchmark::State& state, const char16_t* pattern) {
  SetNames();
  DateRecord date;
  date.year = 2007;
  date.month = 10;
  date.day = 12;
  std::array<char16_t, kPatternCapacity> out{};
  for (auto _ : state) {
    ExpandDatePattern(pattern, date, out);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK_CAPTURE(BM_ExpandDatePattern, numeric, u"yyyy/MM/dd");
BENCHMARK_CAPTURE(BM_ExpandDatePattern, names, u"dddd, MMMM d, yyyy");
BENCHMARK_CAPTURE(BM_ExpandDatePattern, cut_at_63, u"dddd dddd dddd dddd dddd dddd dddd dddd");

}  // namespace
}  // namespace orvendale
