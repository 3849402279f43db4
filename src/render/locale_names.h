#pragma once
// The [Contents] Locale setting: a locale name whose weekday and month names become the
// defaults of the [ShortName] and [LongName] keys. The names come from the locale plugin
// (plugins/locale_plugin.h), which is loaded only when the setting names a locale, so a
// run without it never maps the locale library.

#include "plugins/locale_plugin.h"

namespace orvendale {

class IniDocument;

// [Contents] Locale is read into a buffer of this many bytes; a longer value reads as
// none.
inline constexpr int kLocaleNameCapacity = kOrvendaleLocaleTag;

// What a Locale setting came to. Every state but kKnown leaves the built-in names.
enum class LocaleState {
  kAbsent,     // no Locale key, or an empty or overlong value
  kMalformed,  // not a locale name in BCP 47 or POSIX form
  kUnknown,    // well formed, but the locale data knows no such locale
  kNoPlugin,   // the locale plugin (or the library under it) does not load
  kKnown,      // `names` holds the locale's names
};

struct LocaleSetting {
  LocaleState state = LocaleState::kAbsent;
  char value[kLocaleNameCapacity] = {};  // the setting as written (for messages)
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

}  // namespace orvendale
