#include "cli/usage.h"

#include <algorithm>
#include <vector>

#include "cli/option_table.h"
#include "cli/version.h"

namespace orvendale {
namespace {

constexpr std::size_t kLabelWidth = 19;  // the help of each option begins in column 21

// "--date YYYY-MM-DD", as the usage lines and the list of options show an option.
std::string Shown(const OptionSpec& option) {
  std::string text = option.name;
  if (option.kind == OptionKind::kValue) text += std::string(" ") + option.valueName;
  return text;
}

// The three forms of the command: a run, a run with an action that reads the settings
// (--check), and the options that stand alone, in the order in which they take precedence.
std::string UsageLines() {
  std::string values;
  std::vector<const OptionSpec*> standalone;
  std::string withSettings;
  for (const OptionSpec& option : OptionTable()) {
    if (option.kind == OptionKind::kValue) values += " [" + Shown(option) + "]";
  }
  for (const OptionSpec& option : OptionTable()) {
    if (option.kind != OptionKind::kFlag) continue;
    if (option.takesSettings) {
      withSettings += "       orvendale" + values + " " + option.name + " [SETTINGS]\n";
    } else {
      standalone.push_back(&option);
    }
  }
  std::stable_sort(standalone.begin(), standalone.end(),
                   [](const OptionSpec* a, const OptionSpec* b) { return a->action < b->action; });
  std::string text = "Usage: orvendale" + values + " [SETTINGS]\n" + withSettings;
  for (std::size_t i = 0; i < standalone.size(); ++i) {
    text += (i == 0 ? "       orvendale " : " | ") + std::string(standalone[i]->name);
  }
  if (!standalone.empty()) text += "\n";
  return text;
}

std::string OptionLines() {
  std::string text;
  for (const OptionSpec& option : OptionTable()) {
    std::string label = "  ";
    if (option.shortName != nullptr) label += std::string(option.shortName) + ", ";
    label += Shown(option);
    label.resize(std::max(label.size() + 2, 2 + kLabelWidth), ' ');
    text += label;
    for (const char* c = option.help; *c != 0; ++c) {
      text += *c;
      if (*c == '\n') text += std::string(2 + kLabelWidth, ' ');
    }
    text += "\n";
  }
  return text;
}

}  // namespace

std::string UsageText() {
  return UsageLines() +
         "\n"
         "Draws one PNG picture about today's date as the settings file SETTINGS says\n"
         "(without SETTINGS: /Program Files/Orvendale/Orvendale.ini). A run prints nothing\n"
         "and ends with exit code 0, also when it draws no picture.\n"
         "\n"
         "Options, before SETTINGS:\n" +
         OptionLines() +
         "\n"
         "A settings file whose name begins with \"--\" is reached as ./--name.ini.\n"
         "\n"
         "Exit codes:\n"
         "  0  a run (always), --help, --version; --check: a picture would be written\n"
         "  1  --check: no picture would be written; --holiday-regions: the region\n"
         "     library cannot be loaded\n"
         "  2  an unknown option, a missing or wrong value, or a wrong --date;\n"
         "     --check: the settings file cannot be read\n";
}

std::string VersionText() {
  std::string text = std::string("orvendale ") + kProgramVersion;
  if (kGitDescription[0] != 0) text += std::string(" (git ") + kGitDescription + ")";
  return text;
}

}  // namespace orvendale
