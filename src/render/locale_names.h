#pragma once
// The [Contents] Locale setting: a locale name whose weekday and month names become the
// defaults of the [ShortName] and [LongName] keys. The names come from the locale plugin
// (plugins/locale_plugin.h), which is loaded only when the setting names a locale, so a
// run without it never maps the locale library.

#include <string>
#include <vector>

#include "plugins/locale_plugin.h"

namespace orvendale {

class IniDocument;

// A locale name has at most 63 bytes; a longer value is no locale name.
inline constexpr int kLocaleNameCapacity = kOrvendaleLocaleTag;
// A settings value has at most 255 bytes and its terminator.
inline constexpr int kLocaleValueCapacity = 256;

// What a Locale setting came to. Every state but kKnown leaves the built-in names.
enum class LocaleState {
  kAbsent,     // no Locale key, or an empty value
  kMalformed,  // not a locale name in BCP 47 or POSIX form, or longer than 63 bytes
  kUnknown,    // well formed, but the locale data knows no such locale
  kNoPlugin,   // the locale plugin (or the library under it) does not load
  kKnown,      // `names` holds the locale's names
};

struct LocaleSetting {
  LocaleState state = LocaleState::kAbsent;
  char value[kLocaleValueCapacity] = {};  // the setting as written (for messages)
  char tag[kLocaleNameCapacity] = {};    // its BCP 47 form, once well formed
  OrvendaleLocaleNames names;            // meaningful only in state kKnown
};

// Writes the BCP 47 form of a locale name into `tag` and returns true; returns false,
// with `tag` empty, for anything else. Accepted: subtags of 1 to 8 ASCII letters and
// digits joined by "-" or "_" (written as "-"), the first of 2 to 8 letters; a POSIX
// codeset or modifier (".UTF-8", "@euro") is dropped. So "de_AT.UTF-8" gives "de-AT";
// "", "-", "de--AT", "../../etc" and "de AT" give false. Writes at most
// kLocaleNameCapacity bytes; `name` (null reads as empty) must be terminated.
bool NormalizeLocaleName(const char* name, char (&tag)[kLocaleNameCapacity]);

// Reads [Contents] Locale from `document` and, when it is a well-formed locale name,
// loads the locale plugin and asks it for the locale's names. Prints nothing.
void ReadLocaleSetting(const IniDocument& document, LocaleSetting& setting);

// What a check of the settings has to say about a Locale setting that ReadLocaleSetting
// filled: nothing for an absent one or a known one that draws well; otherwise one
// sentence each, to follow the key and its value ("[Contents] Locale 'xx' " + text). The
// texts hold no byte of the setting's value.
enum class LocaleFindingLevel { kNote, kWarning };
struct LocaleFinding {
  LocaleFindingLevel level;
  std::string text;
};
std::vector<LocaleFinding> DescribeLocaleSetting(const LocaleSetting& setting);

}  // namespace orvendale
