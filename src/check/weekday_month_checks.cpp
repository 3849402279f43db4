// [ShortName] and [LongName]: names cut to their slot, and "&" that is not drawn.

#include <string>
#include <string_view>

#include "calendar/text_settings.h"
#include "check/checks.h"
#include "check/text_checks.h"

namespace orvendale {
namespace {

struct NameSection {
  const char* section;
  int slotCharacters;
};

constexpr NameSection kNameSections[] = {
    {"ShortName", kShortNameCapacity - 1},
    {"LongName", kLongNameCapacity - 1},
};

// The first `count` characters of UTF-8 text, counted in UTF-16 units as the slot does.
std::string CutToUnits(const std::string& text, int count) {
  int units = 0;
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    const int needed = length == 4 ? 2 : 1;
    if (units + needed > count) break;
    units += needed;
    at += length;
  }
  return text.substr(0, at);
}

}  // namespace

void CheckNames(const CheckContext& context, Report& report) {
  for (int i = 0; i < context.document->count(); ++i) {
    const IniEntry& entry = context.document->entry(i);
    if (!IsSetting(entry)) continue;
    const std::string value = EntryText(entry.value);
    for (const NameSection& names : kNameSections) {
      if (std::string_view(entry.section) != names.section) continue;
      const std::string what = "[" + std::string(entry.section) + "] " + EntryText(entry.key);
      if (WideTextLength(value.c_str()) > names.slotCharacters) {
        report.Warn(entry.line, what + " " + Quote(value) + " is longer than " +
                                    std::to_string(names.slotCharacters) + " characters: a run cuts it to " +
                                    Quote(CutToUnits(value, names.slotCharacters)));
      }
      CheckPrefixCharacters(value.c_str(), what, entry.line, report);
    }
  }
}

}  // namespace orvendale
