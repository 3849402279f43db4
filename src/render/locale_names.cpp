#include "render/locale_names.h"

#include <cstddef>

#include "platform/system/plugin.h"
#include "settings/ini_document.h"

namespace orvendale {
namespace {

constexpr char kContentSection[] = "Contents";
constexpr char kPluginName[] = "locale-icu";
constexpr char kEntryPoint[] = "orvendale_locale_names";
constexpr int kMaxSubtagLength = 8;
constexpr int kMinLanguageLength = 2;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSubtagSeparator(char c) { return c == '-' || c == '_'; }

}  // namespace

bool NormalizeLocaleName(const char* name, char (&tag)[kLocaleNameCapacity]) {
  tag[0] = 0;
  if (name == nullptr) return false;
  int length = 0;  // [0, kLocaleNameCapacity - 1]
  int subtagLength = 0;
  int subtags = 0;
  bool subtagIsLetters = true;
  // Each subtag is checked when the separator or the end behind it is reached.
  for (const char* at = name;; ++at) {
    // A POSIX name may end in a codeset and a modifier, which name no language data.
    const bool end = *at == 0 || *at == '.' || *at == '@';
    if (end || IsSubtagSeparator(*at)) {
      if (subtagLength == 0) break;
      if (subtags == 0 && (subtagLength < kMinLanguageLength || !subtagIsLetters)) break;
      ++subtags;
      if (end) return true;
      if (length >= kLocaleNameCapacity - 1) break;
      tag[length++] = '-';
      subtagLength = 0;
      subtagIsLetters = true;
      continue;
    }
    if (!IsAsciiLetter(*at) && !IsAsciiDigit(*at)) break;
    if (++subtagLength > kMaxSubtagLength || length >= kLocaleNameCapacity - 1) break;
    subtagIsLetters = subtagIsLetters && IsAsciiLetter(*at);
    tag[length++] = *at;
    tag[length] = 0;
  }
  tag[0] = 0;
  return false;
}

void ReadLocaleSetting(const IniDocument& document, LocaleSetting& setting) {
  setting.state = LocaleState::kAbsent;
  setting.tag[0] = 0;
  if (document.GetString(kContentSection, "Locale", setting.value, kLocaleNameCapacity, nullptr) == 0) return;
  if (!NormalizeLocaleName(setting.value, setting.tag)) {
    setting.state = LocaleState::kMalformed;
    return;
  }
  const auto fill = reinterpret_cast<OrvendaleLocaleNamesFunction>(
      platform::FindPluginSymbol(kPluginName, kEntryPoint));
  if (fill == nullptr) {
    setting.state = LocaleState::kNoPlugin;
    return;
  }
  setting.names.size = sizeof setting.names;
  setting.state = fill(setting.tag, &setting.names) == 1 ? LocaleState::kKnown : LocaleState::kUnknown;
}

}  // namespace orvendale
