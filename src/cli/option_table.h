#pragma once
// The table of options: the parser reads the options from it and --help lists them from
// it, so that an option is declared once.

#include <span>
#include <string>
#include <string_view>

#include "cli/command_line.h"

namespace orvendale {

enum class OptionKind {
  kFlag,          // takes no value: "--check"
  kValue,         // takes one, as the next argument or after '=': "--date 2008-03-20"
  kEndOfOptions,  // "--" alone: the next argument is the settings path
};

struct OptionSpec {
  const char* name;       // "--help"
  const char* shortName;  // "-h", or null
  OptionKind kind;
  CommandAction action;   // what the option asks for; kRun for one that only sets a value
  bool takesSettings;     // false: the option stands alone, without a settings path
  const char* valueName;  // kValue: the value's form in the usage, "YYYY-MM-DD"
  const char* valueNoun;  // kValue: what a missing value is, "a date"
  // kValue: reads the value into `out`; false, with `error` saying why, for a wrong one.
  bool (*readValue)(const char* text, CommandLine* out, std::string* error);
  const char* help;       // its lines in --help, each after the first following a '\n'
};

// Every option, in the order --help lists them.
std::span<const OptionSpec> OptionTable();

// The option named `name` (its long or short name), or null for none.
const OptionSpec* FindOption(std::string_view name);

}  // namespace orvendale
