#include "driver/holiday_settings.h"

#include "calendar/holiday_set.h"
#include "settings/settings_table.h"

namespace orvendale {

HolidaySettings ChooseHolidaysFromSettings(const IniDocument& document, const char* section) {
  HolidaySettings settings;
  document.GetString(section, Setting("Contents", "Holidays").key, settings.rules, kHolidaysWordCapacity, nullptr);
  document.GetWideString(section, Setting("Contents", "HolidayFile").key, settings.fileName, kPathCapacity, nullptr);
  if (settings.fileName[0] != 0 && !ResolveInImageFolder(settings.fileName, settings.filePath)) {
    settings.filePathTooLong = true;
  }
  ChooseHolidays(settings.rules, settings.filePath);
  return settings;
}

}  // namespace orvendale
