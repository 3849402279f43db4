#pragma once
// The user's calendars of a run, from [Events] File1..File8 and Color1..Color8.

#include <iterator>

#include "calendar/event_set.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {

inline constexpr const char* kEventsSection = Setting("Events", "Mark").section;

// The rows of each calendar's keys: File1 and Color1 for the first calendar, and so on.
inline constexpr const SettingRow* kEventFileRows[] = {
    &Setting("Events", "File1"),
    &Setting("Events", "File2"),
    &Setting("Events", "File3"),
    &Setting("Events", "File4"),
    &Setting("Events", "File5"),
    &Setting("Events", "File6"),
    &Setting("Events", "File7"),
    &Setting("Events", "File8"),
};
inline constexpr const SettingRow* kEventColorRows[] = {
    &Setting("Events", "Color1"),
    &Setting("Events", "Color2"),
    &Setting("Events", "Color3"),
    &Setting("Events", "Color4"),
    &Setting("Events", "Color5"),
    &Setting("Events", "Color6"),
    &Setting("Events", "Color7"),
    &Setting("Events", "Color8"),
};
static_assert(std::size(kEventFileRows) == kMaxEventCalendars && std::size(kEventColorRows) == kMaxEventCalendars);

// Reads the [Events] keys and chooses the run's calendars (ChooseEventCalendars): File<n>
// names a calendar file or folder, found as HolidayFile names are (a name beginning with a
// backslash or slash is a full path, any other is looked up in the image folder; a joined
// path too long for its buffer names nothing); Color<n> its colour, [Text] Color when
// absent. Call after the text settings are loaded. Reads no file and loads no library.
// Returns the number of calendars chosen.
int ChooseEventsFromSettings(const IniDocument& document);

}  // namespace orvendale
