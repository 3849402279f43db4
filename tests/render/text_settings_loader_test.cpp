#include "render/text_settings_loader.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/text_settings.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"
#include "support/temp_directory.h"
#include "support/saved_text_settings.h"
#include "support/settings_text.h"

namespace orvendale {
namespace {

TEST(ParseColorText, ReadsAsTheFormattedInputDoes) {
  struct Case {
    const char16_t* text;
    ColorComponents before;
    ColorRef color;
  };
  const ColorComponents zero{};
  const ColorComponents carried{10, 20, 30};  // 0x001E140A
  const Case cases[] = {
      {u"RGB(255, 0, 0)", zero, 0x000000FF},
      {u"RGB(0,128,255)", zero, 0x00FF8000},
      {u"RGB(300, -1, 0)", zero, 0x0000FF2C},
      {u"RGB(1, 2, 3", zero, 0x00030201},           // no closing parenthesis needed
      {u"RGB(1, 2, 3) and more", zero, 0x00030201},  // nothing after the third number counts
      {u"RGB(\t1,\t \t2,3)", zero, 0x00030201},      // a blank matches any white space, or none
      {u"RGB( +1, -0, 3)", zero, 0x00030001},
      // Mismatches stop the reading; what was not read carries over.
      {u"red", carried, 0x001E140A},
      {nullptr, carried, 0x001E140A},
      {u"RGB(1, 2", carried, 0x001E0201},
      {u"rgb(1, 2, 3)", zero, 0x00000000},
      {u" RGB(1, 2, 3)", carried, 0x001E140A},    // no blank before the letters
      {u"RGB (1, 2, 3)", carried, 0x001E140A},
      {u"RGB(1 , 2, 3)", carried, 0x001E1401},    // the comma must follow the number
      {u"RGB(1,, 2, 3)", carried, 0x001E1401},
      {u"RGB(- 5, 2, 3)", carried, 0x001E140A},   // a sign must be followed by a digit
      {u"RGB(7, 8, )", carried, 0x001E0807},
      // Numbers beyond the signed 32-bit range read as its largest or smallest number
      // (low bytes FF and 00); a number just inside keeps its own low byte.
      {u"RGB(2147483647, -2147483648, 2147483646)", zero, 0x00FE00FF},
      {u"RGB(2147483648, -2147483649, 4294967296)", zero, 0x00FF00FF},
      {u"RGB(4294967296, 4294967551, -4294967295)", zero, 0x0000FFFF},
      {u"RGB(99999999999999999999999, 256, -99999999999999999999999)", zero, 0x000000FF},
      {u"RGB(00000000000000000000000000000000000000000000000000000000000000000000000000007, 0, 0)",
       zero, 0x00000007},
  };
  for (const Case& c : cases) {
    ColorComponents components = c.before;
    EXPECT_EQ(ParseColorText(c.text, components), c.color)
        << (c.text == nullptr ? "null" : std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text)));
  }
}

// What a parse reports: how many numbers it read, which it cut to 8 bits, whether the
// text ended after them, and where it started from.
TEST(ParseColorText, SaysWhatItDid) {
  struct Case {
    const char16_t* text;
    int read;
    unsigned cutMask;
    bool whole;
  };
  const Case cases[] = {
      {u"RGB(1, 2, 3)", 3, 0, true},
      {u"RGB(1, 2, 3", 3, 0, true},
      {u"RGB(1, 2, 3) \t", 3, 0, true},
      {u"RGB(1, 2, 3) x", 3, 0, false},
      {u"RGB(1, 2, 3))", 3, 0, false},
      {u"RGB(256, -1, 255)", 3, 0b011, true},
      {u"RGB(0, 0, 4294967296)", 3, 0b100, true},
      {u"RGB(-0, 300", 2, 0b010, false},
      {u"RGB(1 , 2, 3)", 1, 0, false},
      {u"garbage", 0, 0, false},
      {u"", 0, 0, false},
      {nullptr, 0, 0, false},
  };
  for (const Case& c : cases) {
    ColorComponents components{7, 8, 9};
    ColorReading reading;
    const ColorRef color = ParseColorText(c.text, components, &reading);
    const std::string shown =
        c.text == nullptr ? "null" : std::string(c.text, c.text + std::char_traits<char16_t>::length(c.text));
    EXPECT_EQ(reading.componentsRead, c.read) << shown;
    EXPECT_EQ(reading.cutMask, c.cutMask) << shown;
    EXPECT_EQ(reading.whole, c.whole) << shown;
    EXPECT_EQ(reading.color, color) << shown;
    EXPECT_EQ(reading.before.red, 7u) << shown;
    // The report does not change the colour: a parse without one gives the same.
    ColorComponents plain{7, 8, 9};
    EXPECT_EQ(ParseColorText(c.text, plain), color) << shown;
  }
}

// ReadTextColors is the loader's own reading: each colour with the parse that made it,
// the components carrying over in the loader's order.
TEST(ReadTextColors, TellsWhichColourEachKeyGives) {
  testing::TempDirectory directory;
  directory.Write("s.ini",
                  "[Text]\r\nSundayColor=RGB(1, 2, 3)\r\nColor=RGB(9, 9, 9)\r\nSaturdayColor=RGB(40, 50\r\n"
                  "TodayColor=\r\nWeekNumberColor=garbage\r\n");
  const std::u16string path = directory.PlatformPath("s.ini");
  IniDocument document(path.c_str());
  ASSERT_EQ(document.Load(), S_OK);
  ColorReading readings[kTextColorCount];
  const TextColors colors = ReadTextColors(document, &readings);
  EXPECT_EQ(colors.text, 0x00090909u);
  EXPECT_EQ(colors.sunday, 0x00030201u);
  EXPECT_EQ(colors.saturday, 0x00033228u);  // blue 3 carried over from SundayColor
  EXPECT_FALSE(colors.todayGiven);          // an empty TodayColor is not parsed
  EXPECT_FALSE(readings[kTodayColorIndex].parsed);
  EXPECT_EQ(colors.weekNumber, 0x00033228u);  // all carried over from SaturdayColor
  EXPECT_TRUE(readings[kWeekNumberColorIndex].parsed);
  EXPECT_EQ(readings[kWeekNumberColorIndex].componentsRead, 0);
  EXPECT_EQ(colors.otherMonth, 0x00A0A0A0u);  // absent: its own default, no parse
  EXPECT_FALSE(readings[kOtherMonthColorIndex].parsed);
  EXPECT_EQ(readings[kSaturdayColorIndex].componentsRead, 2);
  EXPECT_EQ(readings[kSaturdayColorIndex].before.blue, 3u);
}

class LoadTextSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { textSettings = TextSettings{}; }

  // Loads a settings file holding `text` and fills the text settings from it.
  void Load(const std::string& text) { LoadTextSettings(testing::SettingsText(text).document()); }

  testing::SavedTextSettings saved_;
};

TEST_F(LoadTextSettingsTest, WithoutSettingsEverythingIsBuiltIn) {
  Load("[Image]\r\nWidth=100\r\n");
  EXPECT_EQ(std::u16string(textSettings.shortWeekdayNames[0]), u"Su");
  EXPECT_EQ(std::u16string(textSettings.shortWeekdayNames[6]), u"Sa");
  EXPECT_EQ(std::u16string(textSettings.longWeekdayNames[3]), u"Wednesday");
  EXPECT_EQ(std::u16string(textSettings.shortMonthNames[0]), u"Jan");
  EXPECT_EQ(std::u16string(textSettings.shortMonthNames[11]), u"Dec");
  EXPECT_EQ(std::u16string(textSettings.longMonthNames[8]), u"September");
  EXPECT_EQ(textSettings.textColor, 0x00FFFFFFu);
  EXPECT_EQ(textSettings.sundayColor, 0x00FFFFFFu);
  EXPECT_EQ(textSettings.saturdayColor, 0x00FFFFFFu);
  EXPECT_EQ(textSettings.todayColorGiven, 0);
}

TEST_F(LoadTextSettingsTest, NamesFromTheSettings) {
  Load(
      "[ShortName]\r\nSun=\r\nJan=Ja1\r\nsat=lower\r\nWed=Mittwoch\r\n"
      "Mon=\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\xF0\x9F\x98\x80\r\n"
      "[LongName]\n"
      "Sun=\xE6\x97\xA5\xE6\x9B\x9C\xE6\x97\xA5\n"  // three characters in UTF-8
      "Thu=ABCDEFGHIJKLMNOPQRSTUVWXYZ\n"
      "May=Mai\n");
  EXPECT_EQ(std::u16string(textSettings.shortWeekdayNames[0]), u"");  // present, empty: no default
  EXPECT_EQ(std::u16string(textSettings.shortMonthNames[0]), u"Ja1");
  EXPECT_EQ(std::u16string(textSettings.shortWeekdayNames[6]), u"Sa");  // keys match case-sensitively
  EXPECT_EQ(std::u16string(textSettings.longWeekdayNames[0]), u"\u65e5\u66dc\u65e5");
  // Names longer than their slots are cut to them, never inside a surrogate pair: four
  // characters outside the basic plane take 8 units, and the fourth would be split.
  EXPECT_EQ(std::u16string(textSettings.shortWeekdayNames[3]), u"Mittwoc");
  EXPECT_EQ(std::u16string(textSettings.shortWeekdayNames[1]), u"\U0001F600\U0001F600\U0001F600");
  EXPECT_EQ(std::u16string(textSettings.longWeekdayNames[4]), u"ABCDEFGHIJKLMNO");
  EXPECT_EQ(std::u16string(textSettings.longMonthNames[4]), u"Mai");
  EXPECT_EQ(std::u16string(textSettings.longMonthNames[5]), u"June");
}

TEST_F(LoadTextSettingsTest, ColoursCarryOverFromOneToTheNext) {
  struct Case {
    const char* text;
    ColorRef textColor, sundayColor, saturdayColor, todayColor;
    int todayColorGiven;
  };
  constexpr ColorRef kUnset = 0x00ABCDEF;  // todayColor before loading
  const Case cases[] = {
      {"[Text]\r\nColor=RGB(255, 0, 0)\r\n", 0x000000FF, 0x00FFFFFF, 0x00FFFFFF, kUnset, 0},
      {"[Text]\r\nColor=RGB(10, 20, 30)\r\nSundayColor=red\r\nSaturdayColor=RGB(1, 2\r\nTodayColor=green\r\n",
       0x001E140A, 0x001E140A, 0x001E0201, 0x001E0201, 1},
      // Present without a value: no text at all, so black rather than the default white.
      {"[Text]\r\nColor=\r\nSundayColor=RGB(0, 0, 200)\r\n", 0x00000000, 0x00C80000, 0x00FFFFFF, kUnset, 0},
      {"[Text]\r\nTodayColor=\r\n", 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, kUnset, 0},
      {"[Text]\r\nTodayColor=RGB(0, 128, 0)\r\n", 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00008000, 1},
      {"[Text]\r\nSaturdayColor=RGB(300, -1, 0)\r\nTodayColor=RGB(7\r\n", 0x00FFFFFF, 0x00FFFFFF, 0x0000FF2C,
       0x0000FF07, 1},  // green carried over from SaturdayColor
      // A text longer than 63 characters reads as no text: the components carry over, and
      // a TodayColor that long is not given.
      {"[Text]\r\nColor=RGB(1, 2, 3)\r\nSundayColor=RGB(9, 9, 9)                                                    x\r\n"
       "TodayColor=RGB(9, 9, 9)                                                    x\r\n",
       0x00030201, 0x00030201, 0x00FFFFFF, kUnset, 0},
  };
  for (const Case& c : cases) {
    textSettings = TextSettings{};
    textSettings.todayColor = kUnset;
    Load(c.text);
    EXPECT_EQ(textSettings.textColor, c.textColor) << c.text;
    EXPECT_EQ(textSettings.sundayColor, c.sundayColor) << c.text;
    EXPECT_EQ(textSettings.saturdayColor, c.saturdayColor) << c.text;
    EXPECT_EQ(textSettings.todayColor, c.todayColor) << c.text;
    EXPECT_EQ(textSettings.todayColorGiven, c.todayColorGiven) << c.text;
  }
}

// The month grid's colours come after the four colours and never change them: each
// case loads once with the grid's keys and once without, and the four must agree.
TEST_F(LoadTextSettingsTest, GridColoursComeLastAndLeaveTheFourAlone) {
  struct Case {
    const char* common;  // lines of [Text] both loads share
    const char* grid;    // the grid's lines, put before the others in the file
    ColorRef weekNumberColor, otherMonthColor;
  };
  const Case cases[] = {
      {"", "", 0x00FFFFFF, 0x00A0A0A0},  // defaults: Color and grey
      {"Color=RGB(10, 20, 30)\r\n", "", 0x001E140A, 0x00A0A0A0},
      {"Color=RGB(10, 20, 30)\r\n", "WeekNumberColor=RGB(0, 120, 0)\r\nOtherMonthColor=RGB(1, 2\r\n", 0x00007800,
       0x00000201},  // blue carried over from WeekNumberColor
      // Present without a value, or not matching: the components of the colour before.
      {"Color=RGB(10, 20, 30)\r\nSaturdayColor=RGB(1, 2, 3)\r\n", "WeekNumberColor=\r\nOtherMonthColor=grey\r\n",
       0x00030201, 0x00030201},
      {"TodayColor=RGB(7, 8, 9)\r\n", "WeekNumberColor=RGB(5\r\n", 0x00090805, 0x00A0A0A0},
      {"Color=RGB(10, 20, 30)\r\n",
       "OtherMonthColor=RGB(9, 9, 9)                                                    x\r\n", 0x001E140A,
       0x00FFFFFF},  // longer than 63 characters: no text, so SaturdayColor's components
      {"Color=RGB(1, 2, 3)\r\nSundayColor=RGB(4\r\nSaturdayColor=RGB(,\r\nTodayColor=RGB(6, 7\r\n",
       "OtherMonthColor=RGB(100, 110, 120)\r\nWeekNumberColor=RGB(11, 12, 13)\r\n", 0x000D0C0B, 0x00786E64},
  };
  for (const Case& c : cases) {
    textSettings = TextSettings{};
    Load(std::string("[Text]\r\n") + c.common);
    const TextSettings without = textSettings;
    textSettings = TextSettings{};
    Load(std::string("[Text]\r\n") + c.grid + c.common);
    const std::string label = std::string(c.grid) + c.common;
    EXPECT_EQ(textSettings.textColor, without.textColor) << label;
    EXPECT_EQ(textSettings.sundayColor, without.sundayColor) << label;
    EXPECT_EQ(textSettings.saturdayColor, without.saturdayColor) << label;
    EXPECT_EQ(textSettings.todayColor, without.todayColor) << label;
    EXPECT_EQ(textSettings.todayColorGiven, without.todayColorGiven) << label;
    EXPECT_EQ(textSettings.weekNumberColor, c.weekNumberColor) << label;
    EXPECT_EQ(textSettings.otherMonthColor, c.otherMonthColor) << label;
  }
}

TEST_F(LoadTextSettingsTest, WeekHeadingIsAShortName) {
  const struct {
    const char* text;
    const char16_t* name;
  } cases[] = {
      {"[ShortName]\r\nSun=So\r\n", u"Wk"},
      {"[ShortName]\r\nWeek=KW\r\n", u"KW"},
      {"[ShortName]\r\nWeek=\r\n", u""},
      {"[ShortName]\r\nWeek=Kalenderwoche\r\n", u"Kalende"},  // cut to 7 characters
      {"[ShortName]\r\nWeek=\xE9\x80\xB1\r\n", u"\u9031"},
      {"[LongName]\r\nWeek=Woche\r\n", u"Wk"},  // a short name only
  };
  for (const auto& c : cases) {
    Load(c.text);
    EXPECT_EQ(std::u16string(textSettings.shortWeekName), c.name) << c.text;
  }
}

}  // namespace
}  // namespace orvendale

namespace orvendale {
namespace {

// The colours a file without [Text] gives are the defaults the settings table documents.
TEST(ReadTextColors, AbsentKeysGiveTheTablesDefaults) {
  testing::TempDirectory directory;
  directory.Write("s.ini", "[Image]\r\nWidth=1\r\n");
  const std::u16string path = directory.PlatformPath("s.ini");
  IniDocument document(path.c_str());
  ASSERT_EQ(document.Load(), S_OK);
  const TextColors colors = ReadTextColors(document, nullptr);
  const auto tableColor = [](const SettingRow& row) {
    ColorComponents components;
    return ParseColorText(row.defaultWide, components);
  };
  EXPECT_EQ(colors.text, tableColor(Setting("Text", "Color")));
  EXPECT_EQ(colors.sunday, tableColor(Setting("Text", "SundayColor")));
  EXPECT_EQ(colors.saturday, tableColor(Setting("Text", "SaturdayColor")));
  EXPECT_EQ(colors.otherMonth, tableColor(Setting("Text", "OtherMonthColor")));
  EXPECT_EQ(colors.weekNumber, colors.text);  // "the value of Color"
  EXPECT_FALSE(colors.todayGiven);
}

}  // namespace
}  // namespace orvendale
