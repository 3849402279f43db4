#include "driver/event_settings.h"

#include <string>
#include <vector>

#include "calendar/event_set.h"
#include "calendar/text_settings.h"
#include "imagefile/image_folder.h"
#include "render/text_settings_loader.h"

namespace orvendale {

int ChooseEventsFromSettings(const IniDocument& document) {
  std::vector<EventCalendarChoice> calendars(kMaxEventCalendars);
  int chosen = 0;
  for (int slot = 0; slot < kMaxEventCalendars; ++slot) {
    char16_t name[kPathCapacity] = {};
    char16_t path[kPathCapacity] = {};
    document.GetWideString(kEventsSection, kEventFileRows[slot]->key, name, kPathCapacity, nullptr);
    if (name[0] == 0 || !ResolveInImageFolder(name, path)) continue;
    calendars[slot].path = path;
    char16_t color[kColorTextCapacity] = {};
    if (document.GetWideString(kEventsSection, kEventColorRows[slot]->key, color, kColorTextCapacity, nullptr) != 0) {
      ColorComponents components;
      calendars[slot].color = ParseColorText(color, components);
    } else {
      calendars[slot].color = textSettings.textColor;
    }
    ++chosen;
  }
  // Also without calendars: a previous choice in this process is forgotten.
  ChooseEventCalendars(calendars);
  return chosen;
}

}  // namespace orvendale
