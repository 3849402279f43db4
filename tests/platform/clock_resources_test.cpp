#include <gtest/gtest.h>
#include <time.h>

#include <cstdlib>
#include <string>

#include "platform/system/clock.h"
#include "platform/system/resources.h"

namespace orvendale::platform {
namespace {

TEST(GetLocalTime, FillsEveryFieldFromTheLocalCalendar) {
  // A zone far from UTC, written as a rule so that no zone database is needed.
  const char* saved = std::getenv("TZ");
  const std::string savedZone = saved != nullptr ? saved : "";
  ::setenv("TZ", "XST-13", 1);
  ::tzset();

  DateRecord record;
  struct tm expected {};
  // Read the same clock as the platform before and after; retry when a second ticked
  // in between. (time() may run on a coarser clock and lag by a tick.)
  for (int attempt = 0; attempt < 5; ++attempt) {
    struct timespec before {}, after {};
    ::clock_gettime(CLOCK_REALTIME, &before);
    GetLocalTime(&record);
    ::clock_gettime(CLOCK_REALTIME, &after);
    ::localtime_r(&before.tv_sec, &expected);
    if (before.tv_sec == after.tv_sec) break;
  }
  EXPECT_EQ(record.year, expected.tm_year + 1900);
  EXPECT_EQ(record.month, expected.tm_mon + 1);
  EXPECT_EQ(record.dayOfWeek, expected.tm_wday);
  EXPECT_EQ(record.day, expected.tm_mday);
  EXPECT_EQ(record.hour, expected.tm_hour);
  EXPECT_EQ(record.minute, expected.tm_min);
  EXPECT_EQ(record.second, expected.tm_sec);
  EXPECT_LT(record.milliseconds, 1000);

  if (saved != nullptr) {
    ::setenv("TZ", savedZone.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

TEST(LoadResourceString, CopiesTheBuiltInStringsWithinCapacity) {
  struct Case {
    int id;
    int capacity;
    int result;
    std::u16string text;  // what `out` holds afterwards; "" with result 0 means untouched
  } const cases[] = {
      {101, 256, 38, u"\\Program Files\\Orvendale\\Orvendale.ini"},
      {102, 256, 36, u"\\Program Files\\Orvendale\\default.png"},
      {102, 5, 4, u"\\Pro"},
      {102, 1, 0, u""},
      {100, 256, 0, u""},
      {103, 256, 0, u""},
      {101, 0, 0, u""},
  };
  constexpr char16_t kCanary = u'#';
  for (const Case& c : cases) {
    char16_t out[300];
    std::fill(std::begin(out), std::end(out), kCanary);
    EXPECT_EQ(LoadResourceString(c.id, out, c.capacity), c.result) << c.id;
    if (c.result > 0 || (c.capacity > 0 && (c.id == 101 || c.id == 102))) {
      EXPECT_EQ(std::u16string(out), c.text) << c.id;
    } else {
      EXPECT_EQ(out[0], kCanary) << "absent string wrote into the buffer";
    }
    for (int i = c.capacity; i < 300; ++i) ASSERT_EQ(out[i], kCanary) << "written past capacity";
  }
}

}  // namespace
}  // namespace orvendale::platform
