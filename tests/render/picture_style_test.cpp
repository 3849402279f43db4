#include "render/picture_style.h"

#include <gtest/gtest.h>

#include <string>

#include "render/surface.h"
#include "settings/ini_document.h"
#include "support/temp_directory.h"

namespace orvendale {
namespace {

TEST(PictureStyle, ScaleIsAWholeNumberFromOneToFour) {
  const struct {
    const char* text;
    std::optional<std::int32_t> scale;
  } cases[] = {
      {"1", 1},     {"2", 2},      {"3", 3},     {"4", 4},         {" 2 ", 2},  {"+3", 3},
      {"02", 2},    {"0", {}},     {"-1", {}},   {"-0", {}},       {"5", {}},   {"10", {}},
      {"1000000000", {}},          {"99999999999999999999", {}},   {"2x", {}},  {"x2", {}},
      {"", {}},     {" ", {}},     {"2.0", {}},  {"2 2", {}},      {"two", {}}, {"+", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseScale(c.text), c.scale) << "'" << c.text << "'";
  EXPECT_FALSE(ParseScale(nullptr).has_value());
}

TEST(PictureStyle, SmoothIsYesOrNoInAnyCase) {
  EXPECT_EQ(ParseSmooth("yes"), true);
  EXPECT_EQ(ParseSmooth("YES"), true);
  EXPECT_EQ(ParseSmooth("No"), false);
  for (const char* word : {"", "y", "true", "1", "on", "yes!", " yes"}) {
    EXPECT_FALSE(ParseSmooth(word).has_value()) << word;
  }
  EXPECT_FALSE(ParseSmooth(nullptr).has_value());
}

PictureStyle ReadFrom(const std::string& contents) {
  testing::TempDirectory directory;
  directory.Write("s.ini", contents);
  const std::u16string path = directory.PlatformPath("s.ini");
  IniDocument document(path.c_str());
  EXPECT_EQ(document.Load(), S_OK);
  return ReadPictureStyle(document);
}

TEST(PictureStyle, ReadFromTheirSections) {
  const PictureStyle none = ReadFrom("[Image]\nWidth=10\n");
  EXPECT_FALSE(none.smooth);
  EXPECT_EQ(none.scale, 1);
  EXPECT_FALSE(none.backgroundGiven);

  const PictureStyle all = ReadFrom("[Image]\nScale = 3\nBackground=RGB(255, 128, 0)\n[Font]\nSmooth=Yes\n");
  EXPECT_TRUE(all.smooth);
  EXPECT_EQ(all.scale, 3);
  EXPECT_TRUE(all.backgroundGiven);
  EXPECT_EQ(all.background, MakeColorRef(255, 128, 0));

  // Values a run does not take give the default; a background is read as the text
  // colours are, its components starting at 0.
  const struct {
    const char* contents;
    bool smooth;
    std::int32_t scale;
    bool backgroundGiven;
    ColorRef background;
  } cases[] = {
      {"[Image]\nScale=5\nBackground=\n[Font]\nSmooth=maybe\n", false, 1, true, MakeColorRef(0, 0, 0)},
      {"[Image]\nScale=2x\nBackground=RGB(1, 2\n", false, 1, true, MakeColorRef(1, 2, 0)},
      {"[Image]\nScale=\nBackground=RGB(256, -1, 300)\n", false, 1, true, MakeColorRef(0, 255, 44)},
      {"[Image]\nBackground=white\n[Font]\nSmooth=no\n", false, 1, true, MakeColorRef(0, 0, 0)},
      {"[Contents]\nScale=2\nBackground=RGB(1, 1, 1)\nSmooth=yes\n", false, 1, false, 0},
  };
  for (const auto& c : cases) {
    const PictureStyle style = ReadFrom(c.contents);
    EXPECT_EQ(style.smooth, c.smooth) << c.contents;
    EXPECT_EQ(style.scale, c.scale) << c.contents;
    EXPECT_EQ(style.backgroundGiven, c.backgroundGiven) << c.contents;
    if (c.backgroundGiven) EXPECT_EQ(style.background, c.background) << c.contents;
  }
}

TEST(PictureStyle, TheFontRecordTakesQualityAndTheScaledHeight) {
  platform::LogicalFont record;
  record.height = -12;
  const struct {
    std::int32_t height;
    bool smooth;
    std::int32_t scale;
    std::int32_t expectedHeight;
    std::uint8_t expectedQuality;
  } cases[] = {
      {-12, false, 1, -12, 0},
      {-12, true, 1, -12, platform::kAntialiasedQuality},
      {-12, false, 2, -24, 0},
      {20, true, 3, 60, platform::kAntialiasedQuality},
      {0, false, 1, 0, 0},                              // the default stays the platform's
      {0, false, 4, 4 * kDefaultFontCellHeight, 0},     // the cell it stands for, scaled
      {-32768, false, 4, -131072, 0},                    // the platform draws it at its largest
  };
  for (const auto& c : cases) {
    record.height = c.height;
    PictureStyle style;
    style.smooth = c.smooth;
    style.scale = c.scale;
    const platform::LogicalFont styled = StyledFontRecord(record, style);
    EXPECT_EQ(styled.height, c.expectedHeight) << c.height << " x" << c.scale;
    EXPECT_EQ(styled.quality, c.expectedQuality);
  }
}

}  // namespace
}  // namespace orvendale
