#include "driver/holiday_settings.h"

#include "calendar/holiday_set.h"

namespace orvendale {

HolidaySettings ChooseHolidaysFromSettings(const IniDocument& document, const char* section) {
  HolidaySettings settings;
  document.GetString(section, "Holidays", settings.rules, kHolidaysWordCapacity, nullptr);
  document.GetWideString(section, "HolidayFile", settings.fileName, kPathCapacity, nullptr);
  if (settings.fileName[0] != 0 && !ResolveInImageFolder(settings.fileName, settings.filePath)) {
    settings.filePathTooLong = true;
  }
  ChooseHolidays(settings.rules, settings.filePath);
  return settings;
}

}  // namespace orvendale
