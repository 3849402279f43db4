#include "check/report.h"

#include <gtest/gtest.h>

#include "check/known_keys.h"

namespace orvendale {
namespace {

TEST(Report, PrintsFindingsInFileOrderInCompilerForm) {
  Report report;
  report.Warn(12, "b");
  report.Note(0, "whole file");
  report.Warn(3, "a");
  report.Warn(12, "c");
  const std::vector<Finding> sorted = report.Sorted();
  ASSERT_EQ(sorted.size(), 4u);
  EXPECT_EQ(FormatFinding("s.ini", sorted[0]), "s.ini: note: whole file");
  EXPECT_EQ(FormatFinding("s.ini", sorted[1]), "s.ini:3: warning: a");
  EXPECT_EQ(FormatFinding("s.ini", sorted[2]), "s.ini:12: warning: b");
  EXPECT_EQ(FormatFinding("s.ini", sorted[3]), "s.ini:12: warning: c");
}

TEST(Report, PrintsFindingsAboutAnotherFileAfterTheSettingsWithThatFilesName) {
  Report report;
  report.AddInFile("list.txt", 7, Severity::kWarning, "d");
  report.Warn(20, "b");
  report.AddInFile("a\x1b.txt", 2, Severity::kWarning, "e");
  report.AddInFile("list.txt", 3, Severity::kNote, "c");
  report.Warn(4, "a");
  std::vector<std::string> printed;
  for (const Finding& finding : report.Sorted()) printed.push_back(FormatFinding("s.ini", finding));
  const std::vector<std::string> expected = {"s.ini:4: warning: a", "s.ini:20: warning: b",
                                             "a\\x1B.txt:2: warning: e", "list.txt:3: note: c",
                                             "list.txt:7: warning: d"};
  EXPECT_EQ(printed, expected);
}

TEST(Report, QuotesNothingATerminalWouldObey) {
  const struct {
    std::string text;
    std::string printed;
  } table[] = {
      {"Date", "Date"},
      {"a\tb", "a\\tb"},
      {"\x1b[31m", "\\x1B[31m"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\x7f", "\\x7F"},
      {"ゴシック", "ゴシック"},
      {"J\xC3\xA4nner", "J\xC3\xA4nner"},
      {"\xC2\x9B" "2J", "\\xC2\\x9B2J"},  // a C1 control in UTF-8
      {"\xC3", "\\xC3"},                    // cut short
      {"\xE0\x80\xAF", "\\xE0\\x80\\xAF"},  // overlong
      {"\xED\xA0\x80", "\\xED\\xA0\\x80"},  // a surrogate
      {"\xFF", "\\xFF"},
  };
  for (const auto& row : table) EXPECT_EQ(Printable(row.text), row.printed) << row.printed;
  EXPECT_EQ(Quote("x"), "'x'");
}

TEST(KnownKeys, NearestNameFindsLikelyMisspellings) {
  const char* const keys[] = {"Type", "Format", "Alignment", "Offset", "RasterX", "RasterY", "TodayImage", "Width"};
  const struct {
    const char* name;
    const char* nearest;
  } table[] = {
      {"Fomat", "Format"},        {"type", "Type"},         {"TYPE", "Type"},
      {"Alignement", "Alignment"}, {"Rasterx", "RasterX"},  {"TodayImg", "TodayImage"},
      {"Colour", ""},             {"x", ""},                {"", ""},
      // A swap of two neighbouring letters is one edit; two swaps in a short name are too many.
      {"Widht", "Width"},         {"Tpye", "Type"},         {"Ofsfet", "Offset"},
      {"iWdht", ""},              {"TodayImaeg", "TodayImage"},
  };
  for (const auto& row : table) EXPECT_EQ(NearestName(row.name, keys), row.nearest) << row.name;
  EXPECT_EQ(NearestName(std::string(1000, 'a'), keys), "");
}

TEST(KnownKeys, SectionsAndKeysCountLetterCase) {
  ASSERT_NE(FindKnownSection("Contents"), nullptr);
  EXPECT_EQ(FindKnownSection("contents"), nullptr);
  EXPECT_TRUE(IsKnownKey(*FindKnownSection("Contents"), "TodayImage"));
  EXPECT_FALSE(IsKnownKey(*FindKnownSection("Contents"), "todayimage"));
  // Keys that other settings bring are known before their checks are.
  for (const auto& [section, key] : {std::pair{"Contents", "FirstDay"}, {"Contents", "Locale"},
                                     {"Contents", "HolidayFile"}, {"ShortName", "Week"},
                                     {"Text", "OtherMonthColor"}}) {
    EXPECT_TRUE(IsKnownKey(*FindKnownSection(section), key)) << key;
  }
}

}  // namespace
}  // namespace orvendale
