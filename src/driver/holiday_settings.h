#pragma once
// The holiday set of a run, from [Contents] Holidays and HolidayFile.

#include "imagefile/image_folder.h"
#include "settings/ini_document.h"

namespace orvendale {

inline constexpr int kHolidaysWordCapacity = 256;  // every loaded value fits

// What the settings asked for, as the run read them.
struct HolidaySettings {
  char rules[kHolidaysWordCapacity] = {};  // the Holidays word; empty when absent or empty
  char16_t fileName[kPathCapacity] = {};   // HolidayFile as written; empty when none
  char16_t filePath[kPathCapacity] = {};   // the file's platform path; empty when none
  bool filePathTooLong = false;            // joined with the image folder it exceeds 255 characters
};

// Reads the two keys of `section` and chooses the run's holiday set (ChooseHolidays).
// A HolidayFile name beginning with a backslash or slash is a full path; any other name
// is looked up in the image folder, as the TodayImage is. A joined path too long for its
// buffer names no file. Reads no file and loads no library itself.
HolidaySettings ChooseHolidaysFromSettings(const IniDocument& document, const char* section);

}  // namespace orvendale
