#include "cli/option_table.h"

#include <array>

namespace orvendale {
namespace {

bool ReadDate(const char* text, CommandLine* out, std::string* error) {
  if (!ParseDateOption(text, &out->date, error)) return false;
  out->dateGiven = true;
  return true;
}

constexpr std::array kOptions = {
    OptionSpec{"--check", nullptr, OptionKind::kFlag, CommandAction::kCheck, true, nullptr, nullptr, nullptr,
               "check SETTINGS and say what a run would draw, writing no file:\n"
               "every finding on a line of its own (FILE:LINE: warning: ...),\n"
               "then one line with the picture, its size, the output file and\n"
               "the font file, or why no picture would be written"},
    OptionSpec{"--date", nullptr, OptionKind::kValue, CommandAction::kRun, true, "YYYY-MM-DD", "a date", ReadDate,
               "draw, or check, as if today were that day\n"
               "(1904-01-01 to 2031-12-31)"},
    OptionSpec{"--holiday-regions", nullptr, OptionKind::kFlag, CommandAction::kHolidayRegions, false, nullptr,
               nullptr, nullptr, "list the region codes that [Contents] Holidays accepts"},
    OptionSpec{"--help", "-h", OptionKind::kFlag, CommandAction::kHelp, false, nullptr, nullptr, nullptr,
               "show this help and exit"},
    OptionSpec{"--version", nullptr, OptionKind::kFlag, CommandAction::kVersion, false, nullptr, nullptr, nullptr,
               "show the version and exit"},
    OptionSpec{"--", nullptr, OptionKind::kEndOfOptions, CommandAction::kRun, true, nullptr, nullptr, nullptr,
               "end of the options: the next argument is SETTINGS"},
};

}  // namespace

std::span<const OptionSpec> OptionTable() { return kOptions; }

const OptionSpec* FindOption(std::string_view name) {
  for (const OptionSpec& option : kOptions) {
    if (name == option.name || (option.shortName != nullptr && name == option.shortName)) return &option;
  }
  return nullptr;
}

}  // namespace orvendale
