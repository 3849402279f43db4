#pragma once
// The settings file named on the command line. A launcher may pass the path in double
// quotes (so that spaces in it do not split it); every double-quote character is removed
// from the argument, and there is no escape character.

#include <string>

namespace orvendale {

enum class SettingsArgument {
  kAbsent,    // no argument, or nothing left once the quotes are removed: the default file
  kPath,      // a path, in the caller's buffer
  kUnusable,  // longer than kPathCapacity - 1 characters: refused, since a cut path would
              // name another file
};

// Reads `argument` (UTF-8, or null) into `out`, kPathCapacity units, without its
// double quotes. `out` holds the path for kPath and empty text otherwise.
SettingsArgument ReadSettingsArgument(const char* argument, char16_t* out);

// The argument as the path is read from it: without its double quotes ("" for null).
std::string SettingsArgumentText(const char* argument);

}  // namespace orvendale
