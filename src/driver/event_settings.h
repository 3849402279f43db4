#pragma once
// The user's calendars of a run, from [Events] File1..File8 and Color1..Color8.

#include "settings/ini_document.h"

namespace orvendale {

inline constexpr const char* kEventsSection = "Events";

// Reads the [Events] keys and chooses the run's calendars (ChooseEventCalendars): File<n>
// names a calendar file or folder, found as HolidayFile names are (a name beginning with a
// backslash or slash is a full path, any other is looked up in the image folder; a joined
// path too long for its buffer names nothing); Color<n> its colour, [Text] Color when
// absent. Call after the text settings are loaded. Reads no file and loads no library.
// Returns the number of calendars chosen.
int ChooseEventsFromSettings(const IniDocument& document);

}  // namespace orvendale
