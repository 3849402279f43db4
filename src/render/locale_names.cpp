#include "render/locale_names.h"

#include <cstddef>
#include <utility>

#include "platform/drawing/text_layout.h"
#include "platform/system/plugin.h"
#include "platform/system/text.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

constexpr char kContentSection[] = "Contents";
constexpr int kMaxSubtagLength = 8;
constexpr int kMinLanguageLength = 2;

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSubtagSeparator(char c) { return c == '-' || c == '_'; }

// True when a BCP 47 tag ("zh-Hant-TW") and an ICU locale name ("zh_Hant_TW") name the
// same locale, letter case and separators aside.
bool SameLocale(const char* tag, const char* icuName) {
  for (; *tag != 0 && *icuName != 0; ++tag, ++icuName) {
    const bool bothSeparators = IsSubtagSeparator(*tag) && IsSubtagSeparator(*icuName);
    if (!bothSeparators && platform::LowerAscii(*tag) != platform::LowerAscii(*icuName)) return false;
  }
  return *tag == 0 && *icuName == 0;
}

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
  const int length = document.GetString(kContentSection, Setting("Contents", "Locale").key, setting.value, kLocaleValueCapacity, nullptr);
  if (length == 0) return;
  if (length >= kLocaleNameCapacity || !NormalizeLocaleName(setting.value, setting.tag)) {
    setting.state = LocaleState::kMalformed;
    return;
  }
  const auto* plugin = platform::FindPlugin<OrvendaleLocaleIcuPlugin>();
  if (plugin == nullptr) {
    setting.state = LocaleState::kNoPlugin;
    return;
  }
  setting.names.size = sizeof setting.names;
  setting.state = plugin->localeNames(setting.tag, &setting.names) == 1 ? LocaleState::kKnown : LocaleState::kUnknown;
}

std::vector<LocaleFinding> DescribeLocaleSetting(const LocaleSetting& setting) {
  std::vector<LocaleFinding> findings;
  const auto add = [&findings](LocaleFindingLevel level, std::string text) {
    findings.push_back(LocaleFinding{level, std::move(text)});
  };
  switch (setting.state) {
    case LocaleState::kAbsent:
      break;
    case LocaleState::kMalformed:
      add(LocaleFindingLevel::kWarning,
          "is not a locale name (BCP 47 such as de-AT or zh-Hant-TW, or POSIX such as de_AT.UTF-8): "
          "the built-in English names are used");
      break;
    case LocaleState::kUnknown:
      add(LocaleFindingLevel::kWarning, "names no locale the locale data knows: the built-in English names are used");
      break;
    case LocaleState::kNoPlugin:
      add(LocaleFindingLevel::kWarning, "cannot be used: the locale plugin " +
                                            platform::PluginAbsence<OrvendaleLocaleIcuPlugin>() +
                                            "; the built-in English names are used");
      break;
    case LocaleState::kKnown: {
      const std::string script = setting.names.script[0] != 0 ? std::string(" (script ") + setting.names.script + ")"
                                                              : std::string();
      if (!SameLocale(setting.tag, setting.names.dataLocale)) {
        add(LocaleFindingLevel::kNote, std::string("has no names of its own in the locale data: those of ") +
                                           setting.names.dataLocale + " are used");
      }
      if ((setting.names.rightToLeft != 0 || setting.names.needsShaping != 0) && !platform::TextLayoutLoads()) {
        add(LocaleFindingLevel::kWarning,
            "has names written right to left or whose letters join or carry combining marks" + script +
                ", but the text layout plugin orvendale-text-layout.so, or the libraries it needs, do not load: "
                "they are drawn glyph by glyph, left to right, and do not draw correctly");
      }
      break;
    }
  }
  return findings;
}

}  // namespace orvendale
