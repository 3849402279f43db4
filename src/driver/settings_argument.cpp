#include "driver/settings_argument.h"

#include <string>

#include "imagefile/image_folder.h"
#include "platform/system/text.h"

namespace orvendale {

std::string SettingsArgumentText(const char* argument) {
  // A quote is one byte in UTF-8 and never part of another character.
  std::string path;
  for (const char* c = argument; c != nullptr && *c != 0; ++c) {
    if (*c != '"') path.push_back(*c);
  }
  return path;
}

SettingsArgument ReadSettingsArgument(const char* argument, char16_t* out) {
  out[0] = 0;
  if (argument == nullptr) return SettingsArgument::kAbsent;
  const std::string path = SettingsArgumentText(argument);
  if (path.empty()) return SettingsArgument::kAbsent;
  if (platform::WideFromNarrow(path.c_str(), out, kPathCapacity) == 0) return SettingsArgument::kUnusable;
  return SettingsArgument::kPath;
}

}  // namespace orvendale
