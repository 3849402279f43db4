#include "calendar/holidays.h"

#include <bit>

#include "calendar/holiday_set.h"
#include "calendar/packed_date.h"
#include "calendar/text_settings.h"

namespace orvendale {
namespace {

static_assert(std::bit_cast<std::uint64_t>(kEquinoxRate) == 0x3FCF003686A4CA4Full);
static_assert(std::bit_cast<std::uint64_t>(kVernalEquinoxBase) == 0x4034D7D566CF41F2ull);
static_assert(std::bit_cast<std::uint64_t>(kAutumnalEquinoxBase) == 0x40373FB15B573EABull);

constexpr std::int16_t kMonday = 1;
constexpr std::int16_t kSaturday = 6;
constexpr std::int16_t kSecondMonday = kMonday + kDaysPerWeek;      // WeekdayOccurrence 8
constexpr std::int16_t kThirdMonday = kMonday + 2 * kDaysPerWeek;   // WeekdayOccurrence 15

int EquinoxDay(double base, std::int16_t year) {
  const std::int32_t e = year - kEquinoxBaseYear;  // [-34748, 30787]
  const std::int32_t q = e / 4;                    // truncates toward zero, as the formula wants
  const double x = (base + kEquinoxRate * static_cast<double>(e)) - static_cast<double>(q);
  // |x| < 8500 for every 16-bit year, so the conversion is always defined.
  return static_cast<int>(x);
}

}  // namespace

int VernalEquinoxDay(std::int16_t year) { return EquinoxDay(kVernalEquinoxBase, year); }
int AutumnalEquinoxDay(std::int16_t year) { return EquinoxDay(kAutumnalEquinoxBase, year); }

int IsHoliday(std::int16_t month, std::int16_t day, std::int16_t year) {
  if (!HolidaysChosen()) return IsBuiltInHoliday(month, day, year);
  if (WeekdayOf(month, day, year) == 0) return 1;
  return IsChosenHoliday(month, day, year) ? 1 : 0;
}

int IsBuiltInHoliday(std::int16_t month, std::int16_t day, std::int16_t year) {
  const std::int16_t weekday = WeekdayOf(month, day, year);
  // Weekday 0 is every Sunday and also every date that is not a real day.
  if (weekday == 0) return 1;
  const std::int16_t occurrence = WeekdayOccurrence(month, day, year);
  const bool monday = weekday == kMonday;
  // "day N + 1 on a Monday" is the substitute for a holiday on day N that fell on a Sunday.
  const auto substituteFor = [&](int holiday) { return monday && day == holiday + 1; };

  bool holiday = false;
  switch (month) {
    case 1:
      holiday = day == 1 || substituteFor(1) || occurrence == kSecondMonday;
      break;
    case 2:
      holiday = day == 11 || substituteFor(11);
      break;
    case 3: {
      const int vernal = VernalEquinoxDay(year);
      holiday = day == vernal || substituteFor(vernal);
      break;
    }
    case 4:
      holiday = day == 29 || substituteFor(29);
      break;
    case 5:
      holiday = (day >= 3 && day <= 5) || substituteFor(5);
      break;
    case 7:
      holiday = occurrence == kThirdMonday;
      break;
    case 9: {
      const int autumnal = AutumnalEquinoxDay(year);
      holiday = occurrence == kThirdMonday || day == autumnal || substituteFor(autumnal);
      break;
    }
    case 10:
      holiday = occurrence == kSecondMonday;
      break;
    case 11:
      holiday = day == 3 || substituteFor(3) || day == 23 || substituteFor(23);
      break;
    case 12:
      holiday = day == 23 || substituteFor(23);
      break;
    default:  // June and August hold no holiday but their Sundays.
      break;
  }
  return holiday ? 1 : 0;
}

void SetDayColor(platform::DrawingContext* context, std::int16_t month, std::int16_t day,
                 std::int16_t year) {
  if (context == nullptr) return;
  ColorRef color = textSettings.textColor;
  if (IsHoliday(month, day, year) == 1) {
    color = textSettings.sundayColor;
  } else if (WeekdayOf(month, day, year) == kSaturday) {
    color = textSettings.saturdayColor;
  }
  platform::SetTextColor(context, color);
}

}  // namespace orvendale
