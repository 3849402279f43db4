#include "render/grid_options.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/text_settings.h"
#include "settings/ini_document.h"
#include "support/settings_text.h"

namespace orvendale {
namespace {

// Known words in any letter case; everything else, also near misses, is not known.
TEST(GridOptions, ParseKnowsTheWordsInAnyCase) {
  const char* const weekdays[] = {"Sun", "mon", "TUE", "wEd", "Thu", "fri", "SAT"};
  for (std::int16_t weekday = 0; weekday < 7; ++weekday) {
    EXPECT_EQ(ParseFirstDay(weekdays[weekday]), weekday) << weekdays[weekday];
  }
  for (const char* word : {"", "Monday", "Mo", "Mon ", " Mon", "\tMon", "Mon\t", "M\xC3\xB6n", "locales", " locale", "1",
                           "Sunday", "Sat\r"}) {
    EXPECT_FALSE(ParseFirstDay(word).has_value()) << word;
  }
  EXPECT_FALSE(ParseFirstDay(nullptr).has_value());

  EXPECT_EQ(ParseWeekNumbers("ISO"), WeekNumbering::kIso);
  EXPECT_EQ(ParseWeekNumbers("iso"), WeekNumbering::kIso);
  EXPECT_EQ(ParseWeekNumbers("Us"), WeekNumbering::kUs);
  EXPECT_EQ(ParseOtherMonthDays("SHOW"), NeighbourDays::kShown);
  EXPECT_EQ(ParseRows("Auto"), WeekRows::kAsNeeded);
  for (const char* word : {"", "ISO8601", "IS", "USA", "none", "yes", "1", "\tISO"}) {
    EXPECT_FALSE(ParseWeekNumbers(word).has_value()) << word;
  }
  for (const char* word : {"", "shown", "hide", "true", "sho", "show\t"}) {
    EXPECT_FALSE(ParseOtherMonthDays(word).has_value()) << word;
  }
  for (const char* word : {"", "6", "automatic", "aut", "auto\t"}) {
    EXPECT_FALSE(ParseRows(word).has_value()) << word;
  }
  EXPECT_FALSE(ParseWeekNumbers(nullptr).has_value());
  EXPECT_FALSE(ParseOtherMonthDays(nullptr).has_value());
  EXPECT_FALSE(ParseRows(nullptr).has_value());
}

// Direction: ltr and rtl in any letter case; locale follows whether the loaded Locale is
// written right to left.
TEST(GridOptions, DirectionWordsAndTheLocalesDirection) {
  EXPECT_EQ(ParseDirection("ltr"), ColumnOrder::kLeftToRight);
  EXPECT_EQ(ParseDirection("RTL"), ColumnOrder::kRightToLeft);
  EXPECT_EQ(ParseDirection("Rtl"), ColumnOrder::kRightToLeft);
  for (const char* word : {"", "right", "rtl ", "\trtl", "left-to-right", "r", "ltrr", "localee"}) {
    EXPECT_FALSE(ParseDirection(word).has_value()) << word;
  }
  EXPECT_FALSE(ParseDirection(nullptr).has_value());
  const std::int32_t saved = textSettings.localeRightToLeft;
  for (const std::int32_t rightToLeft : {0, 1}) {
    textSettings.localeRightToLeft = rightToLeft;
    EXPECT_EQ(ParseDirection("Locale"), rightToLeft == 1 ? ColumnOrder::kRightToLeft : ColumnOrder::kLeftToRight);
    EXPECT_EQ(ParseDirection("ltr"), ColumnOrder::kLeftToRight) << "an explicit word wins over the locale";
  }
  textSettings.localeRightToLeft = saved;
}

GridOptions ReadFrom(const std::string& contents) {
  const testing::SettingsText settings("[Contents]\n" + contents);
  return ReadGridOptions(settings.document(), "Contents");
}

void ExpectDefaults(const GridOptions& options, const std::string& label) {
  EXPECT_EQ(options.firstDay, 0) << label;
  EXPECT_EQ(options.weekNumbers, WeekNumbering::kNone) << label;
  EXPECT_EQ(options.otherMonthDays, NeighbourDays::kHidden) << label;
  EXPECT_EQ(options.rows, WeekRows::kSix) << label;
  EXPECT_EQ(options.direction, ColumnOrder::kLeftToRight) << label;
}

// Settings lines as a user writes them: spaces around the value are trimmed, tabs are
// not; an overlong, empty or unknown value, or a key in another section, leaves the
// default.
TEST(GridOptions, ReadFromTheContentSection) {
  const GridOptions all =
      ReadFrom("FirstDay = mon\nWeekNumbers=  Iso  \nOtherMonthDays=Show\nRows=AUTO\nDirection= rtl\n");
  EXPECT_EQ(all.firstDay, 1);
  EXPECT_EQ(all.weekNumbers, WeekNumbering::kIso);
  EXPECT_EQ(all.otherMonthDays, NeighbourDays::kShown);
  EXPECT_EQ(all.rows, WeekRows::kAsNeeded);
  EXPECT_EQ(all.direction, ColumnOrder::kRightToLeft);
  EXPECT_EQ(ReadFrom("FirstDay=Sat\nWeekNumbers=US\n").firstDay, 6);
  EXPECT_EQ(ReadFrom("FirstDay=Sat\nWeekNumbers=US\n").weekNumbers, WeekNumbering::kUs);
  // The first of two equal keys counts, also when it is not a known word.
  EXPECT_EQ(ReadFrom("FirstDay=Tue\nFirstDay=Wed\n").firstDay, 2);
  EXPECT_EQ(ReadFrom("FirstDay=Tuesday\nFirstDay=Wed\n").firstDay, 0);

  const std::string overlong(300, 'x');
  const std::string cases[] = {
      "",
      "FirstDay=\nWeekNumbers=\nOtherMonthDays=\nRows=\n",
      "FirstDay=\tMon\nWeekNumbers=ISO\t\nOtherMonthDays=\tshow\nRows=auto\t\n",
      "FirstDay=Monday\nWeekNumbers=ISO 8601\nOtherMonthDays=yes\nRows=5\nDirection=right-to-left\n",
      "FirstDay=Mon" + std::string(20, ' ') + "x\nWeekNumbers=" + overlong + "\nRows=auto" + overlong + "\n",
      "[Image]\nFirstDay=Mon\nWeekNumbers=ISO\nOtherMonthDays=show\nRows=auto\n",
      "firstday=Mon\nweeknumbers=ISO\notherMonthDays=show\nrows=auto\n",
  };
  for (const std::string& contents : cases) ExpectDefaults(ReadFrom(contents), contents.substr(0, 80));
}

}  // namespace
}  // namespace orvendale
