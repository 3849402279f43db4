#include "settings/settings_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/system/resources.h"

namespace orvendale {
namespace {

using KeyName = std::pair<std::string, std::string>;  // section, key
using Defaults = std::map<KeyName, std::string>;

std::string ReadSource(const std::string& relative) {
  std::ifstream in(std::string(ORVENDALE_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, from)) {
    parts.push_back(text.substr(from, at - from));
    from = at + separator.size();
  }
  parts.push_back(text.substr(from));
  return parts;
}

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string Without(std::string text, const std::string& removed) {
  for (std::size_t at = text.find(removed); at != std::string::npos; at = text.find(removed, at)) {
    text.erase(at, removed.size());
  }
  return text;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Several keys documented in one entry: one default for all of them, or one each,
// separated as the keys are. A single key takes the whole text ("RGB(1, 2, 3)").
void AddDefaults(Defaults& found, std::vector<std::string>& errors, const std::string& where,
                 const std::string& section, const std::vector<std::string>& keys, const std::string& defaults) {
  std::vector<std::string> values = {defaults};
  if (keys.size() > 1) values = Split(defaults, ", ");
  if (values.size() != 1 && values.size() != keys.size()) {
    errors.push_back(where + ": " + std::to_string(keys.size()) + " keys but " + std::to_string(values.size()) +
                     " defaults in '" + defaults + "'");
    return;
  }
  for (std::size_t i = 0; i < keys.size(); ++i) {
    const KeyName name{section, keys[i]};
    if (found.count(name) != 0) errors.push_back(where + ": [" + section + "] " + keys[i] + " is listed twice");
    found[name] = values.size() == 1 ? values[0] : values[i];
  }
}

// The README's settings table: "| Section | Key, Key | Default | Meaning |".
Defaults ReadmeDefaults(const std::string& readme, std::vector<std::string>& errors) {
  Defaults found;
  std::istringstream lines(readme);
  std::string line;
  bool inTable = false;
  while (std::getline(lines, line)) {
    if (line.rfind("| Section | Key | Default |", 0) == 0) {
      inTable = true;
      std::getline(lines, line);  // the rule under the heading
      continue;
    }
    if (!inTable) continue;
    if (line.empty() || line[0] != '|') break;
    const std::vector<std::string> cells = Split(line, " | ");
    if (cells.size() < 4) {
      errors.push_back("README: a row of fewer than four cells: " + line);
      continue;
    }
    const std::string section = Trim(cells[0].substr(1));
    AddDefaults(found, errors, "README", section, Split(cells[1], ", "), Without(cells[2], "`"));
  }
  if (!inTable) errors.push_back("README: no settings table");
  return found;
}

// Troff arguments: words, or "quoted text" with spaces.
std::vector<std::string> TroffArguments(const std::string& text) {
  std::vector<std::string> arguments;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == ' ') {
      ++at;
    } else if (text[at] == '"') {
      const std::size_t close = text.find('"', at + 1);
      arguments.push_back(text.substr(at + 1, close == std::string::npos ? std::string::npos : close - at - 1));
      at = close == std::string::npos ? text.size() : close + 1;
    } else {
      const std::size_t end = text.find(' ', at);
      arguments.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
      at = end == std::string::npos ? text.size() : end;
    }
  }
  return arguments;
}

std::string PlainTroff(std::string text) {
  for (const char* font : {"\\fB", "\\fP", "\\fI", "\\fR"}) text = Without(text, font);
  text = Replaced(text, "\\-", "-");
  return Replaced(text, "\\e", "\\");
}

// The manual page's SETTINGS: under each ".SS "[Section]"", entries ".TP" then
// ".BR Key ", " Key " (default)"".
Defaults ManualDefaults(const std::string& manual, std::vector<std::string>& errors) {
  Defaults found;
  std::istringstream lines(manual);
  std::string line;
  bool inSettings = false;
  std::string section;
  bool afterTag = false;
  while (std::getline(lines, line)) {
    if (line.rfind(".SH ", 0) == 0) {
      inSettings = line == ".SH SETTINGS";
      section.clear();
      continue;
    }
    if (!inSettings) continue;
    if (line.rfind(".SS ", 0) == 0) {
      const std::string title = Without(line.substr(4), "\"");
      section = title.size() > 2 && title.front() == '[' && title.back() == ']' ? title.substr(1, title.size() - 2)
                                                                                 : std::string();
      continue;
    }
    if (line == ".TP") {
      afterTag = true;
      continue;
    }
    if (!afterTag || section.empty()) continue;
    afterTag = false;
    if (line.rfind(".BR ", 0) != 0) {
      errors.push_back("manual: an entry of [" + section + "] that is no '.BR Key \" (default)\"': " + line);
      continue;
    }
    const std::vector<std::string> arguments = TroffArguments(line.substr(4));
    std::vector<std::string> keys;
    std::string defaults;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
      if (i % 2 == 0) {
        keys.push_back(arguments[i]);
      } else if (arguments[i] != ", ") {
        const std::string text = PlainTroff(arguments[i]);
        if (i + 1 != arguments.size() || text.size() < 3 || text.rfind(" (", 0) != 0 || text.back() != ')') {
          errors.push_back("manual: no ' (default)' after the keys: " + line);
        }
        defaults = text.size() >= 3 ? text.substr(2, text.size() - 3) : text;
      }
    }
    AddDefaults(found, errors, "manual", section, keys, defaults);
  }
  return found;
}

// The groff device a manual page is checked with has no glyphs for these defaults, so
// the page spells them in words.
const std::map<std::string, std::string> kManualSpellings = {
    {"ＭＳ ゴシック", "the Japanese name of MS Gothic"},
};

void ExpectSameKeysAndDefaults(const Defaults& documented, const std::string& document, bool manual) {
  std::set<KeyName> seen;
  for (const SettingRow& row : SettingsTable()) {
    const KeyName name{row.section, row.key};
    seen.insert(name);
    const auto at = documented.find(name);
    if (at == documented.end()) {
      ADD_FAILURE() << document << " does not list [" << row.section << "] " << row.key;
      continue;
    }
    std::string expected = row.defaultText;
    if (manual && kManualSpellings.count(expected) != 0) expected = kManualSpellings.at(expected);
    EXPECT_EQ(at->second, expected) << document << ": the default of [" << row.section << "] " << row.key;
  }
  for (const auto& [name, value] : documented) {
    EXPECT_TRUE(seen.count(name) != 0) << document << " lists [" << name.first << "] " << name.second
                                       << ", which no reader reads";
  }
}

TEST(SettingsTable, TheReadmeListsExactlyItsKeysAndDefaults) {
  std::vector<std::string> errors;
  const Defaults documented = ReadmeDefaults(ReadSource("README.md"), errors);
  EXPECT_EQ(errors, std::vector<std::string>{});
  ExpectSameKeysAndDefaults(documented, "README.md", false);
}

TEST(SettingsTable, TheManualPageListsExactlyItsKeysAndDefaults) {
  std::vector<std::string> errors;
  const Defaults documented = ManualDefaults(ReadSource("man/orvendale.1"), errors);
  EXPECT_EQ(errors, std::vector<std::string>{});
  ExpectSameKeysAndDefaults(documented, "man/orvendale.1", true);
}

// The parsers above must see a drift: a document with a key missing, one extra and one
// default changed.
TEST(SettingsTable, TheDocumentCheckSeesDrift) {
  std::vector<std::string> errors;
  const Defaults readme = ReadmeDefaults(
      "| Section | Key | Default | Meaning |\n|---|---|---|---|\n| Image | Width, Height | 0, 1 | x |\n"
      "| Text | Color | `RGB(1, 2, 3)` | y |\n| Image | Width | 0 | again |\n\nafter\n",
      errors);
  EXPECT_EQ(readme.at(KeyName("Image", "Height")), "1");
  EXPECT_EQ(readme.at(KeyName("Text", "Color")), "RGB(1, 2, 3)");
  EXPECT_EQ(errors, std::vector<std::string>{"README: [Image] Width is listed twice"});

  errors.clear();
  const Defaults manual = ManualDefaults(
      ".SH SETTINGS\n.SS \"[Contents]\"\n.TP\n.BR RasterX \", \" RasterY \" (24, 20)\"\ntext\n"
      ".TP\n.BR Holidays \" (the built\\-in table)\"\n.TP\n.B Rows\n.SH OTHER\n.TP\n.BR Nothing \" (0)\"\n",
      errors);
  EXPECT_EQ(manual.at(KeyName("Contents", "RasterY")), "20");
  EXPECT_EQ(manual.at(KeyName("Contents", "Holidays")), "the built-in table");
  EXPECT_EQ(manual.count(KeyName("Contents", "Nothing")), 0u);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(".B Rows"), std::string::npos);
}

// The default a document shows is the one the reader uses.
TEST(SettingsTable, DocumentedDefaultsAreTheReadersDefaults) {
  std::set<KeyName> names;
  for (const SettingRow& row : SettingsTable()) {
    EXPECT_TRUE(names.insert(KeyName(row.section, row.key)).second) << row.section << " " << row.key << " twice";
    EXPECT_NE(std::string(row.help), "") << row.key;
    if (row.kind == SettingKind::kNumber || row.kind == SettingKind::kNumber16) {
      EXPECT_EQ(std::string(row.defaultText), std::to_string(row.defaultNumber)) << row.key;
    }
    if (row.defaultWide != nullptr) {
      std::string narrow;
      for (const char16_t* unit = row.defaultWide; *unit != 0; ++unit) {
        // UTF-8 of the BMP characters the defaults use.
        const char32_t c = *unit;
        if (c < 0x80) {
          narrow += static_cast<char>(c);
        } else if (c < 0x800) {
          narrow += static_cast<char>(0xC0 | c >> 6);
          narrow += static_cast<char>(0x80 | (c & 0x3F));
        } else {
          narrow += static_cast<char>(0xE0 | c >> 12);
          narrow += static_cast<char>(0x80 | (c >> 6 & 0x3F));
          narrow += static_cast<char>(0x80 | (c & 0x3F));
        }
      }
      EXPECT_EQ(narrow, row.defaultText) << row.section << " " << row.key;
    }
    if (row.kind == SettingKind::kName) {
      EXPECT_NE(row.defaultWide, nullptr) << row.key;
    }
  }
  // The output file's default is the platform's built-in string that a run loads.
  char16_t builtIn[256];
  ASSERT_GT(platform::LoadResourceString(platform::kDefaultOutputFileString, builtIn, 256), 0);
  const std::string documented = Setting("Image", "File").defaultText;
  EXPECT_EQ(std::u16string(builtIn), std::u16string(documented.begin(), documented.end()));
}

}  // namespace
}  // namespace orvendale
