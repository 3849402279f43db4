// Text a run draws whose characters no installed font has: the weekday and month names
// (typed or the Locale's) and the Format's own characters draw as empty boxes. The
// finding names the script and a Debian package whose fonts have it.

#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include "calendar/text_settings.h"
#include "check/checks.h"
#include "platform/drawing/text_layout.h"
#include "platform/fonts/font_coverage.h"
#include "platform/system/plugin.h"
#include "plugins/text_layout_plugin.h"
#include "render/text_settings_loader.h"

namespace orvendale {
namespace {

struct ScriptFonts {
  char32_t first;
  char32_t last;
  const char* script;
  const char* package;
};

constexpr const char kNotoCore[] = "fonts-noto-core";
constexpr const char kNotoCjk[] = "fonts-noto-cjk";

// Sorted by first code point; characters outside these fall under "other".
constexpr std::array kScriptFonts = {
    ScriptFonts{0x0370, 0x03FF, "Greek", kNotoCore},         ScriptFonts{0x0400, 0x052F, "Cyrillic", kNotoCore},
    ScriptFonts{0x0530, 0x058F, "Armenian", kNotoCore},      ScriptFonts{0x0590, 0x05FF, "Hebrew", kNotoCore},
    ScriptFonts{0x0600, 0x06FF, "Arabic", kNotoCore},        ScriptFonts{0x0700, 0x074F, "Syriac", kNotoCore},
    ScriptFonts{0x0750, 0x077F, "Arabic", kNotoCore},        ScriptFonts{0x0780, 0x07BF, "Thaana", kNotoCore},
    ScriptFonts{0x07C0, 0x07FF, "N'Ko", kNotoCore},          ScriptFonts{0x08A0, 0x08FF, "Arabic", kNotoCore},
    ScriptFonts{0x0900, 0x097F, "Devanagari", kNotoCore},    ScriptFonts{0x0980, 0x09FF, "Bengali", kNotoCore},
    ScriptFonts{0x0A00, 0x0A7F, "Gurmukhi", kNotoCore},      ScriptFonts{0x0A80, 0x0AFF, "Gujarati", kNotoCore},
    ScriptFonts{0x0B00, 0x0B7F, "Oriya", kNotoCore},         ScriptFonts{0x0B80, 0x0BFF, "Tamil", kNotoCore},
    ScriptFonts{0x0C00, 0x0C7F, "Telugu", kNotoCore},        ScriptFonts{0x0C80, 0x0CFF, "Kannada", kNotoCore},
    ScriptFonts{0x0D00, 0x0D7F, "Malayalam", kNotoCore},     ScriptFonts{0x0D80, 0x0DFF, "Sinhala", kNotoCore},
    ScriptFonts{0x0E00, 0x0E7F, "Thai", kNotoCore},          ScriptFonts{0x0E80, 0x0EFF, "Lao", kNotoCore},
    ScriptFonts{0x0F00, 0x0FFF, "Tibetan", kNotoCore},       ScriptFonts{0x1000, 0x109F, "Myanmar", kNotoCore},
    ScriptFonts{0x10A0, 0x10FF, "Georgian", kNotoCore},      ScriptFonts{0x1100, 0x11FF, "Hangul", kNotoCjk},
    ScriptFonts{0x1200, 0x139F, "Ethiopic", kNotoCore},      ScriptFonts{0x13A0, 0x13FF, "Cherokee", kNotoCore},
    ScriptFonts{0x1780, 0x17FF, "Khmer", kNotoCore},         ScriptFonts{0x1800, 0x18AF, "Mongolian", kNotoCore},
    ScriptFonts{0x2E80, 0x2FDF, "Han", kNotoCjk},            ScriptFonts{0x3040, 0x309F, "Hiragana", kNotoCjk},
    ScriptFonts{0x30A0, 0x30FF, "Katakana", kNotoCjk},       ScriptFonts{0x3100, 0x312F, "Bopomofo", kNotoCjk},
    ScriptFonts{0x3130, 0x318F, "Hangul", kNotoCjk},         ScriptFonts{0x3400, 0x4DBF, "Han", kNotoCjk},
    ScriptFonts{0x4E00, 0x9FFF, "Han", kNotoCjk},            ScriptFonts{0xA000, 0xA4CF, "Yi", kNotoCore},
    ScriptFonts{0xAC00, 0xD7AF, "Hangul", kNotoCjk},         ScriptFonts{0xF900, 0xFAFF, "Han", kNotoCjk},
    ScriptFonts{0xFB1D, 0xFB4F, "Hebrew", kNotoCore},        ScriptFonts{0xFB50, 0xFDFF, "Arabic", kNotoCore},
    ScriptFonts{0xFE70, 0xFEFE, "Arabic", kNotoCore},        ScriptFonts{0x20000, 0x3134F, "Han", kNotoCjk},
};

// The script of a character and the package for it; "other" and a general advice for
// characters outside the table.
const ScriptFonts& ScriptOf(char32_t codePoint) {
  static constexpr ScriptFonts kOther{0, 0, "other", "fonts-noto-extra"};
  for (const ScriptFonts& script : kScriptFonts) {
    if (codePoint < script.first) break;
    if (codePoint <= script.last) return script;
  }
  return kOther;
}

// Characters no font has, by script: the first few of each, in order of appearance.
struct Missing {
  std::string examples;
  int count = 0;
};
constexpr int kExamplesShown = 3;

std::string CodePointName(char32_t codePoint) {
  char name[16];
  std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(codePoint));
  return name;
}

using MissingByScript = std::map<std::string, std::pair<const ScriptFonts*, Missing>>;

// The first character a run draws that needs the text layout plugin, or 0.
char32_t firstLaidOut = 0;

// Adds the characters of `text` that no font has and that `seen` does not hold yet.
void Collect(const char16_t* text, std::set<char32_t>& seen, MissingByScript& missing) {
  for (std::size_t i = 0; text[i] != 0; ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    if (firstLaidOut == 0 && platform::NeedsComplexLayout(c)) firstLaidOut = c;
    // Controls and the joiners and marks of direction draw nothing anyway.
    if (c < 0x20 || (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) ||
        !seen.insert(c).second || platform::InstalledFontsHaveCharacter(c)) {
      continue;
    }
    const ScriptFonts& script = ScriptOf(c);
    auto& [fonts, found] = missing[script.script];
    fonts = &script;
    if (found.count < kExamplesShown) found.examples += (found.examples.empty() ? "" : ", ") + CodePointName(c);
    ++found.count;
  }
}

std::u16string WideFrom(const char* text) {
  std::u16string wide;
  for (const unsigned char* at = reinterpret_cast<const unsigned char*>(text); *at != 0;) {
    char32_t c = *at;
    int more = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    if (more > 0) c &= 0x3F >> more;
    ++at;
    for (; more > 0 && (*at & 0xC0) == 0x80; --more, ++at) c = (c << 6) | (*at & 0x3F);
    if (c >= 0x10000) {
      wide += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      wide += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      wide += static_cast<char16_t>(c);
    }
  }
  return wide;
}

}  // namespace

void CheckGlyphCoverage(const CheckContext& context, Report& report) {
  if (context.document == nullptr) return;
  const PictureType type = context.Picture();
  if (type == PictureType::kNone) return;
  LoadTextSettings(*context.document);
  std::set<char32_t> seen;
  MissingByScript missing;
  firstLaidOut = 0;
  if (type == PictureType::kCalendar) {
    for (const auto& name : textSettings.shortWeekdayNames) Collect(name, seen, missing);
    if (context.Value("Contents", "WeekNumbers") != nullptr) Collect(textSettings.shortWeekName, seen, missing);
  } else {
    for (const auto& name : textSettings.shortWeekdayNames) Collect(name, seen, missing);
    for (const auto& name : textSettings.longWeekdayNames) Collect(name, seen, missing);
    for (const auto& name : textSettings.shortMonthNames) Collect(name, seen, missing);
    for (const auto& name : textSettings.longMonthNames) Collect(name, seen, missing);
    for (const auto& name : textSettings.shortMonthNamesWithDay) Collect(name, seen, missing);
    for (const auto& name : textSettings.longMonthNamesWithDay) Collect(name, seen, missing);
    if (const char* format = context.Value("Contents", "Format")) Collect(WideFrom(format).c_str(), seen, missing);
  }
  const int line = context.Value("Contents", "Locale") != nullptr ? context.LineOf("Contents", "Locale")
                                                                   : context.LineOf("Contents", "Type");
  if (firstLaidOut != 0 && !platform::TextLayoutLoads()) {
    report.Warn(line, "the text a run draws holds characters written right to left or shaped (" + CodePointName(firstLaidOut) +
                          "), but the text layout plugin " + platform::PluginAbsence<OrvendaleTextLayout>() +
                          ": a run draws them glyph by glyph, left to right and unjoined");
  }
  for (const auto& [script, entry] : missing) {
    const auto& [fonts, found] = entry;
    report.Warn(line, std::to_string(found.count) + " character" + (found.count == 1 ? "" : "s") + " of the " + script +
                          " script in the text a run draws (" + found.examples + (found.count > kExamplesShown ? ", ..." : "") +
                          ") have no glyph in any installed font: they draw as empty boxes; the Debian package " +
                          fonts->package + " has fonts for them");
  }
}

}  // namespace orvendale
