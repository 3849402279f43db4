#include "platform/system/clock.h"

#include <time.h>

namespace orvendale::platform {

void GetLocalTime(DateRecord* out) {
  if (out == nullptr) return;
  // One reading of the clock gives both the calendar fields and the milliseconds, so
  // the two never straddle a second boundary.
  struct timespec now {};
  if (::clock_gettime(CLOCK_REALTIME, &now) != 0) now.tv_sec = ::time(nullptr);
  struct tm local {};
  if (::localtime_r(&now.tv_sec, &local) == nullptr) {
    *out = DateRecord{};
    return;
  }
  out->year = static_cast<std::uint16_t>(local.tm_year + 1900);
  out->month = static_cast<std::uint16_t>(local.tm_mon + 1);
  out->dayOfWeek = static_cast<std::uint16_t>(local.tm_wday);
  out->day = static_cast<std::uint16_t>(local.tm_mday);
  out->hour = static_cast<std::uint16_t>(local.tm_hour);
  out->minute = static_cast<std::uint16_t>(local.tm_min);
  out->second = static_cast<std::uint16_t>(local.tm_sec);
  out->milliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
}

}  // namespace orvendale::platform
