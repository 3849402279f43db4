#include "driver/holiday_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "calendar/holiday_set.h"
#include "calendar/holidays.h"
#include "platform/system/text.h"
#include "support/settings_text.h"

namespace orvendale {
namespace {

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The holiday file is found as the TodayImage is: a full path as it is, any other name
// right after the image folder (which the output path composition may have given a
// trailing separator); a joined path over 255 characters names no file.
TEST(ChooseHolidaysFromSettings, ReadsBothKeysAndResolvesTheFileAsTheTodayImage) {
  const std::string long249(249, 'f');  // with two separators: 251 characters
  struct Case {
    std::u16string imageFolder;
    std::string lines;
    std::string rules;
    std::u16string path;
    bool tooLong;
  } const cases[] = {
      {u"", "Holidays=JP\nHolidayFile=days.txt", "JP", u"days.txt", false},
      {u"\\pics\\", "HolidayFile=days.txt", "", u"\\pics\\days.txt", false},
      {u"\\pics", "HolidayFile=days.txt", "", u"\\picsdays.txt", false},
      {u"\\pics\\", "HolidayFile=/etc/days.txt", "", u"/etc/days.txt", false},
      {u"\\pics\\", "HolidayFile=\\etc\\days.txt\nHolidays= none ", "none", u"\\etc\\days.txt", false},
      {u"\\pics\\", "HolidayFile=", "", u"", false},
      {u"\\pics\\", "Holidays=", "", u"", false},
      {u"\\" + Widen(long249) + u"\\", "HolidayFile=abcd", "", u"\\" + Widen(long249) + u"\\abcd", false},
      {u"\\" + Widen(long249) + u"\\", "HolidayFile=abcde", "", u"", true},
  };
  for (const Case& c : cases) {
    const testing::SettingsText text("[Contents]\n" + c.lines + "\n");
    const IniDocument& document = text.document();
    platform::WideCopy(ImageFolder, kPathCapacity, c.imageFolder.c_str());
    const HolidaySettings settings = ChooseHolidaysFromSettings(document, "Contents");
    EXPECT_EQ(std::string(settings.rules), c.rules) << c.lines;
    EXPECT_EQ(std::u16string(settings.filePath), c.path) << c.lines;
    EXPECT_EQ(settings.filePathTooLong, c.tooLong) << c.lines;
    EXPECT_EQ(HolidaysChosen(), !c.rules.empty() || !c.path.empty()) << c.lines;
  }
  ImageFolder[0] = 0;
  ChooseHolidays(nullptr, nullptr);
}

}  // namespace
}  // namespace orvendale
