#pragma once
// The check of a settings file: loads it exactly as a run does, tries the run in memory
// (nothing is written), prints every finding one a line in the form compilers use, then
// one line that says what a run would do now.

#include <cstdio>

#include "platform/types.h"

namespace orvendale {

inline constexpr int kCheckPictureWritten = 0;  // a run would write a picture
inline constexpr int kCheckNoPicture = 1;       // a run would write none
inline constexpr int kCheckUnreadable = 2;      // the settings file cannot be read

// Checks the settings file `settingsArgument` (as given on the command line; null or
// empty: the built-in default) as if today were `today` (null: the local clock), and
// prints to `out`. Writes no file. Returns one of the three codes above.
int CheckSettings(const char* settingsArgument, const DateRecord* today, std::FILE* out);

}  // namespace orvendale
