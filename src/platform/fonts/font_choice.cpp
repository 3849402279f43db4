#include "platform/fonts/font_choice.h"

#include <cstdlib>

#include "platform/fonts/font_matcher.h"
#include "platform/system/text.h"

namespace orvendale::platform {
namespace {

// Family names as fontconfig compares them: ASCII letters without regard to case, blanks
// left out.
std::string FamilyKey(const std::string& family) {
  std::string key;
  for (const char c : family) {
    if (c == ' ') continue;
    key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return key;
}

// The generic families of fontconfig's own configuration: each stands for the installed
// face its preference list reaches first, never for a face of that name.
bool IsGenericFamily(const std::string& family) {
  static constexpr const char* kGenericFamilies[] = {"sans-serif", "serif",    "monospace", "sans",
                                                     "mono",       "cursive",  "fantasy",   "system-ui",
                                                     "emoji",      "math"};
  const std::string key = FamilyKey(family);
  for (const char* generic : kGenericFamilies) {
    if (key == generic) return true;
  }
  return false;
}

}  // namespace

bool DescribeFontChoice(const LogicalFont& record, FontChoice* out) {
  // The size changes which face fontconfig prefers only for bitmap fonts; the default
  // cell height of 16 pixels stands for any.
  const std::int32_t pixelSize = record.height != 0 ? std::abs(record.height) : 16;
  const std::unique_ptr<FontMatcher> matcher = FontMatcher::ForRecord(&record, pixelSize);
  if (matcher == nullptr) return false;
  FontFileMatch match;
  std::vector<std::string> families;
  if (!matcher->BestMatch(&match, &families)) return false;

  char16_t faceName[kFaceNameCapacity];
  WideCopy(faceName, kFaceNameCapacity, record.faceName);
  char narrowName[kFaceNameCapacity * 3 + 1];
  if (NarrowFromWide(faceName, narrowName, static_cast<int>(sizeof narrowName)) == 0) narrowName[0] = 0;
  out->askedFamily = SubstituteFamily(narrowName);
  out->file = match.file;
  out->family = families.empty() ? std::string() : families.front();
  out->familyInstalled = false;
  out->genericFamily = IsGenericFamily(out->askedFamily);
  for (const std::string& family : families) {
    if (FamilyKey(family) == FamilyKey(out->askedFamily)) out->familyInstalled = true;
  }
  return true;
}

}  // namespace orvendale::platform
