#include "platform/system/resources.h"

#include "platform/system/text.h"

namespace orvendale::platform {
namespace {

struct BuiltInString {
  int id;
  const char16_t* text;
};

// The table stands in for the platform's string resources.
constexpr BuiltInString kBuiltInStrings[] = {
    {kDefaultSettingsFileString, u"\\Program Files\\Orvendale\\Orvendale.ini"},
    {kDefaultOutputFileString, u"\\Program Files\\Orvendale\\default.png"},
};

}  // namespace

int LoadResourceString(int id, char16_t* out, int capacity) {
  if (out == nullptr || capacity < 1) return 0;
  for (const BuiltInString& entry : kBuiltInStrings) {
    if (entry.id == id) return WideCopy(out, capacity, entry.text);
  }
  return 0;
}

}  // namespace orvendale::platform
