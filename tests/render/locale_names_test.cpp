#include "render/locale_names.h"

#include <gtest/gtest.h>

namespace orvendale {
namespace {

TEST(NormalizeLocaleName, AcceptsBcp47AndPosixForms) {
  const struct {
    const char* name;
    const char* tag;  // null: refused
  } cases[] = {
      {"de", "de"},
      {"de-AT", "de-AT"},
      {"de_AT", "de-AT"},
      {"fr_FR.UTF-8", "fr-FR"},
      {"sr_RS@latin", "sr-RS"},
      {"zh-Hant-TW", "zh-Hant-TW"},
      {"zh_Hant_TW", "zh-Hant-TW"},
      {"EN-gb", "EN-gb"},
      {"es-419", "es-419"},
      {"", nullptr},
      {nullptr, nullptr},
      {"-", nullptr},
      {"_de", nullptr},
      {"de-", nullptr},
      {"de--AT", nullptr},
      {"d", nullptr},
      {"12", nullptr},
      {"de-abcdefghi", nullptr},
      {"../../etc", nullptr},
      {"de/AT", nullptr},
      {"de AT", nullptr},
      {".UTF-8", nullptr},
      {"@euro", nullptr},
  };
  for (const auto& c : cases) {
    char tag[kLocaleNameCapacity] = "stale";
    EXPECT_EQ(NormalizeLocaleName(c.name, tag), c.tag != nullptr) << (c.name ? c.name : "null");
    EXPECT_STREQ(tag, c.tag != nullptr ? c.tag : "") << (c.name ? c.name : "null");
  }
}

}  // namespace
}  // namespace orvendale

#include "calendar/text_settings.h"
#include "render/grid_options.h"
#include "support/saved_text_settings.h"

namespace orvendale {
namespace {

TEST(ParseFirstDay, LocaleIsTheLocalesFirstWeekdayOrSunday) {
  const testing::SavedTextSettings saved;
  const struct {
    std::int32_t localeFirstWeekday;
    std::int16_t firstDay;
  } cases[] = {{-1, 0}, {0, 0}, {1, 1}, {6, 6}, {7, 0}};
  for (const auto& c : cases) {
    textSettings.localeFirstWeekday = c.localeFirstWeekday;
    for (const char* word : {"locale", "Locale", "LOCALE"}) {
      EXPECT_EQ(ParseFirstDay(word), std::optional<std::int16_t>(c.firstDay)) << word << c.localeFirstWeekday;
    }
    EXPECT_EQ(ParseFirstDay("locales"), std::nullopt);
  }
}

}  // namespace
}  // namespace orvendale
