#include "cli/option_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/usage.h"

namespace orvendale {
namespace {

CommandLine Parse(std::vector<const char*> arguments) {
  arguments.insert(arguments.begin(), "orvendale");
  return ParseCommandLine(static_cast<int>(arguments.size()), arguments.data());
}

std::string ReadSource(const char* name) {
  std::ifstream file(std::string(ORVENDALE_SOURCE_DIR) + "/" + name);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The long names of the options the user writes ("--" only ends them).
std::set<std::string> TableNames() {
  std::set<std::string> names;
  for (const OptionSpec& option : OptionTable()) {
    if (option.kind != OptionKind::kEndOfOptions) names.insert(option.name);
  }
  return names;
}

// Every "--word" in `text`.
std::set<std::string> LongNamesIn(const std::string& text) {
  std::set<std::string> names;
  const std::regex name("--[a-z][a-z-]*");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), name); it != std::sregex_iterator(); ++it) {
    names.insert(it->str());
  }
  return names;
}

// Each option of the table is refused alike when it is misused: given twice, a flag with
// a value, a value option without one, an option that stands alone with a settings path.
TEST(OptionTable, EveryOptionIsRefusedWhenMisused) {
  for (const OptionSpec& option : OptionTable()) {
    if (option.kind == OptionKind::kEndOfOptions) continue;
    SCOPED_TRACE(option.name);
    const std::string withValue = std::string(option.name) + "=2008-03-20";
    const char* const use = option.kind == OptionKind::kValue ? withValue.c_str() : option.name;
    CommandLine twice = Parse({use, use});
    EXPECT_EQ(twice.action, CommandAction::kError);
    EXPECT_EQ(twice.error, "option '" + std::string(option.name) + "' is given twice");
    if (option.kind == OptionKind::kFlag) {
      const CommandLine valued = Parse({withValue.c_str()});
      EXPECT_EQ(valued.error, "option '" + std::string(option.name) + "' takes no value ('" + withValue + "')");
    } else {
      const CommandLine missing = Parse({option.name});
      EXPECT_EQ(missing.error, "option '" + std::string(option.name) + "' needs " + option.valueNoun + ", " +
                                   option.valueName);
    }
    const CommandLine alone = Parse({use, "a.ini"});
    if (option.takesSettings) {
      EXPECT_NE(alone.action, CommandAction::kError) << alone.error;
      ASSERT_NE(alone.settingsPath, nullptr);
      EXPECT_STREQ(alone.settingsPath, "a.ini");
    } else {
      EXPECT_EQ(alone.error, "option '" + std::string(option.name) + "' takes no settings file ('a.ini')");
    }
    if (option.shortName != nullptr) {
      EXPECT_EQ(Parse({option.shortName}).action, option.action);
    }
  }
}

// --help lists every option of the table, and its first lines are the command forms.
TEST(OptionTable, HelpListsEveryOption) {
  const std::string usage = UsageText();
  const std::size_t list = usage.find("Options, before SETTINGS:");
  ASSERT_NE(list, std::string::npos);
  EXPECT_EQ(LongNamesIn(usage.substr(list, usage.find("\n\n", list) - list)), TableNames());
  for (const OptionSpec& option : OptionTable()) {
    std::string row = "\n  ";
    if (option.shortName != nullptr) row += std::string(option.shortName) + ", ";
    row += option.name;
    EXPECT_NE(usage.find(row), std::string::npos) << option.name;
  }
}

// The README and the manual page describe exactly the options of the table, and the
// README shows the same command forms as --help.
TEST(OptionTable, DocumentsListExactlyTheTable) {
  const std::string readme = ReadSource("README.md");
  std::string rows;
  std::istringstream lines(readme);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("| `-", 0) == 0) rows += line.substr(0, line.find("` |")) + "\n";
  }
  EXPECT_EQ(LongNamesIn(rows), TableNames()) << rows;

  const std::string usage = UsageText();
  std::string forms;
  std::istringstream usageLines(usage.substr(0, usage.find("\n\n") + 1));
  for (std::string line; std::getline(usageLines, line);) {
    forms += line.substr(line.find("orvendale")) + "\n";
  }
  EXPECT_NE(readme.find("```\n" + forms + "```\n"), std::string::npos) << forms;

  // The manual page writes a dash as "\-"; each option is the first line of an entry (.TP).
  std::string manual = ReadSource("man/orvendale.1");
  manual = std::regex_replace(manual, std::regex(R"(\\-)"), "-");
  const std::string options = manual.substr(manual.find(".SH OPTIONS"));
  const std::string optionEntries = options.substr(0, options.find("\n.SH", 1));
  const std::regex entryHead("\n\\.TP\n([^\n]*)");
  std::set<std::string> listed;
  for (auto it = std::sregex_iterator(optionEntries.begin(), optionEntries.end(), entryHead);
       it != std::sregex_iterator(); ++it) {
    for (const std::string& name : LongNamesIn((*it)[1].str())) listed.insert(name);
  }
  EXPECT_EQ(listed, TableNames()) << optionEntries;
}

}  // namespace
}  // namespace orvendale
