// The region plugin, loaded from the build folder as the program loads it.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "platform/system/plugin.h"
#include "plugins/holiday_plugins.h"

namespace {

struct RegionPlugin {
  OrvendaleResolveRegion resolve = nullptr;
  OrvendaleRegionDaysOff daysOff = nullptr;
  OrvendaleListRegions list = nullptr;
};

const RegionPlugin& Plugin() {
  static const RegionPlugin plugin = [] {
    setenv("ORVENDALE_PLUGIN_DIR", ORVENDALE_PLUGIN_BUILD_DIR, 1);
    RegionPlugin found;
    if (const auto* table = orvendale::platform::FindPlugin<OrvendaleHolidaysKdePlugin>()) {
      found.resolve = table->resolveRegion;
      found.daysOff = table->regionDaysOff;
      found.list = table->listRegions;
    }
    return found;
  }();
  return plugin;
}

class RegionPluginTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(Plugin().resolve, nullptr);
    ASSERT_NE(Plugin().daysOff, nullptr);
    ASSERT_NE(Plugin().list, nullptr);
  }

  // The full code `word` resolves to; "" when refused.
  static std::string Resolve(const char* word) {
    std::array<char, 64> code{};
    code[0] = 'x';
    const int resolved = Plugin().resolve(word, code.data(), static_cast<int>(code.size()));
    EXPECT_EQ(resolved == 1, code[0] != 0) << word;
    return code.data();
  }

  // The days-off mask of one month of the region `word` names.
  static std::uint32_t DaysOff(const char* word, int year, int month) {
    const std::string code = Resolve(word);
    std::uint32_t mask = 0xDEADBEEF;
    EXPECT_EQ(Plugin().daysOff(code.c_str(), year, month, 1, &mask), 1) << word;
    return mask;
  }

  static bool IsDayOff(const char* word, int year, int month, int day) {
    return (DaysOff(word, year, month) >> (day - 1) & 1) != 0;
  }
};

TEST_F(RegionPluginTest, ResolvesFullCodesAndUnambiguousStemsInAnyCase) {
  struct Case {
    const char* word;
    const char* code;  // "" when refused
  };
  const Case cases[] = {
      {"de-by_de", "de-by_de"}, {"de-by", "de-by_de"},   {"DE-BY", "de-by_de"},
      {"us", "us_en-us"},       {"US_EN-US", "us_en-us"}, {"fr", "fr_fr"},
      {"gb-sct", "gb-sct_en-gb"}, {"gb-eaw", "gb-eaw_en-gb"}, {"jp_ja", "jp_ja"},
      {"rs_sr@latin", "rs_sr@latin"},
      // More than one region: two languages, or the holidays and the name days.
      {"jp", ""}, {"be", ""}, {"ch", ""}, {"gr", ""},
      // Not a region, or only a part of one.
      {"", ""}, {"xx", ""}, {"de", "de_de"}, {"de-b", ""}, {"de-by_", ""}, {"_de", ""},
      {" de-by", ""}, {"../de-by_de", ""}, {"de-by_de\xff", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Resolve(c.word), c.code) << c.word;
  EXPECT_EQ(Resolve(std::string(10000, 'a').c_str()), "");
}

TEST_F(RegionPluginTest, RefusesACodeThatDoesNotFitTheBuffer) {
  std::array<char, 9> code{};
  code.fill('x');
  EXPECT_EQ(Plugin().resolve("de-by", code.data(), 8), 0);  // "de-by_de" needs 9 bytes
  EXPECT_EQ(code[0], 0);
  EXPECT_EQ(code[8], 'x');
  EXPECT_EQ(Plugin().resolve("de-by", code.data(), 9), 1);
  EXPECT_EQ(std::string(code.data()), "de-by_de");
  EXPECT_EQ(Plugin().resolve("de-by", nullptr, 9), 0);
  EXPECT_EQ(Plugin().resolve(nullptr, code.data(), 9), 0);
  EXPECT_EQ(code[0], 0);
}

TEST_F(RegionPluginTest, DaysEveryoneInTheRegionKnows) {
  struct Case {
    const char* region;
    int year, month, day;
    bool dayOff;
  };
  const Case cases[] = {
      {"gb-eaw", 2025, 12, 25, true},  // Christmas Day
      {"gb-eaw", 2025, 12, 26, true},  // Boxing Day
      {"gb-eaw", 2025, 12, 24, false},
      {"gb-eaw", 2026, 12, 28, true},  // Boxing Day on a Saturday moves to the Monday
      {"de-by", 2026, 4, 6, true},     // Easter Monday
      {"de-by", 2025, 4, 21, true},
      {"de-by", 2026, 4, 5, false},    // Easter Sunday is a Sunday anyway, not a holiday of the list
      {"de-by", 2026, 10, 3, true},    // Day of German Unity
      {"de-by", 2026, 6, 4, true},     // Corpus Christi
      {"de-be", 2026, 6, 4, false},
      {"de-by", 2026, 1, 6, true},     // Epiphany, in Bavaria only
      {"de-be", 2026, 1, 6, false},
      {"us", 2026, 7, 4, true},        // Independence Day
      {"us", 2026, 5, 10, false},      // Mother's Day is an observance
      {"de-by", 2026, 5, 10, false},
      {"de-by", 2026, 11, 29, false},  // first Advent Sunday
      {"de-by", 2026, 3, 29, false},   // summer time begins
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsDayOff(c.region, c.year, c.month, c.day), c.dayOff)
        << c.region << " " << c.year << "-" << c.month << "-" << c.day;
  }
}

TEST_F(RegionPluginTest, ThanksgivingIsTheFourthThursdayOfNovemberEveryYear) {
  for (int year = 1950; year <= 2031; ++year) {
    // Weekday of November 1 by Zeller's congruence, 0 = Sunday.
    const int y = year, m = 11, q = 1;
    const int h = (q + 13 * (m + 1) / 5 + y % 100 + y % 100 / 4 + y / 100 / 4 + 5 * (y / 100)) % 7;
    const int weekday = (h + 6) % 7;
    const int firstThursday = 1 + (4 - weekday + 7) % 7;
    const int thanksgiving = firstThursday + 21;
    const std::uint32_t mask = DaysOff("us", year, 11);
    EXPECT_TRUE(mask >> (thanksgiving - 1) & 1) << year;
    EXPECT_FALSE(mask >> (thanksgiving - 8) & 1) << year;
    if (thanksgiving + 7 <= 30) {
      EXPECT_FALSE(mask >> (thanksgiving + 6) & 1) << year;
    }
  }
}

TEST_F(RegionPluginTest, AWindowOfMonthsAgreesWithSingleMonths) {
  // Across a year's end, and a whole year at once.
  const struct {
    int year, month, months;
  } windows[] = {{2025, 11, 4}, {2026, 1, 12}, {1999, 12, 26}};
  for (const char* region : {"de-by", "gb-eaw", "us"}) {
    for (const auto& w : windows) {
      std::vector<std::uint32_t> masks(static_cast<std::size_t>(w.months), 0xFFFFFFFF);
      ASSERT_EQ(Plugin().daysOff(Resolve(region).c_str(), w.year, w.month, w.months, masks.data()), 1);
      for (int i = 0; i < w.months; ++i) {
        const int year = w.year + (w.month - 1 + i) / 12, month = (w.month - 1 + i) % 12 + 1;
        EXPECT_EQ(masks[static_cast<std::size_t>(i)], DaysOff(region, year, month))
            << region << " " << year << "-" << month;
      }
    }
  }
  // Christmas and New Year's Day lie in the masks of their own months.
  std::array<std::uint32_t, 2> masks{};
  ASSERT_EQ(Plugin().daysOff("de-by_de", 2026, 12, 2, masks.data()), 1);
  EXPECT_EQ(masks[0] & (3u << 24), 3u << 24);
  EXPECT_EQ(masks[1] & 1u, 1u);
}

TEST_F(RegionPluginTest, RefusesBadArgumentsWithClearedMasks) {
  const struct {
    const char* code;
    int year, month, months;
  } cases[] = {
      {"xx_yy", 2026, 1, 3},     {"de-by", 2026, 1, 3},  // a stem is not a full code
      {"DE-BY_DE", 2026, 1, 3},  {"de-by_de", 2026, 0, 3}, {"de-by_de", 2026, 13, 3},
      {"de-by_de", 0, 1, 3},     {"de-by_de", 10000, 1, 3}, {"de-by_de", 2026, 1, 100000},
      {"../../de-by_de", 2026, 1, 3},
  };
  for (const auto& c : cases) {
    std::vector<std::uint32_t> masks(static_cast<std::size_t>(c.months), 0xFFFFFFFF);
    EXPECT_EQ(Plugin().daysOff(c.code, c.year, c.month, c.months, masks.data()), 0) << c.code;
    for (std::uint32_t mask : masks) ASSERT_EQ(mask, 0u) << c.code << " " << c.month;
  }
  std::uint32_t untouched = 7;
  EXPECT_EQ(Plugin().daysOff("de-by_de", 2026, 1, 0, &untouched), 0);
  EXPECT_EQ(untouched, 7u);
  EXPECT_EQ(Plugin().daysOff("de-by_de", 2026, 1, 1, nullptr), 0);
  EXPECT_EQ(Plugin().daysOff(nullptr, 2026, 1, 1, &untouched), 0);
  EXPECT_EQ(untouched, 0u);
}

TEST_F(RegionPluginTest, ListsEveryRegionOnceWithAName) {
  struct Seen {
    std::set<std::string> codes;
    int calls = 0;
    bool allNamed = true;
  } seen;
  const int count = Plugin().list(
      [](const char* code, const char* name, void* context) {
        auto* s = static_cast<Seen*>(context);
        s->codes.insert(code);
        s->allNamed = s->allNamed && name != nullptr && name[0] != 0;
        ++s->calls;
      },
      &seen);
  EXPECT_EQ(count, 147);
  EXPECT_EQ(seen.calls, count);
  EXPECT_EQ(seen.codes.size(), static_cast<std::size_t>(count));
  EXPECT_TRUE(seen.allNamed);
  for (const std::string& code : seen.codes) EXPECT_EQ(Resolve(code.c_str()), code);
  EXPECT_EQ(Plugin().list(nullptr, nullptr), count);
}

TEST_F(RegionPluginTest, PrintsNothing) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  std::array<std::uint32_t, 12> masks{};
  for (const char* code : {"de-by_de", "us_en-us", "xx", "", "jp_ja", "gr_el_nameday"}) {
    Plugin().daysOff(code, 1904, 1, 12, masks.data());
    Plugin().daysOff(code, 2031, 1, 12, masks.data());
  }
  Resolve("nowhere");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

}  // namespace
