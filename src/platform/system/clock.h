#pragma once
// The local clock of this host.

#include "platform/types.h"

namespace orvendale::platform {

// Fills all eight fields of `out` with the local date and time: year (e.g. 2024), month
// 1-12, day of week 0 = Sunday .. 6 = Saturday, day 1-31, hour 0-23, minute 0-59,
// second 0-60, milliseconds 0-999. The time zone is the process's (TZ). Null does nothing.
void GetLocalTime(DateRecord* out);

}  // namespace orvendale::platform
