#pragma once
// The options of the command line. Arguments that begin with "--" (or are "-h") before
// the settings path are options; the first other argument is the settings path, read
// exactly as a plain run reads it. "--" alone ends the options.

#include <string>

#include "platform/types.h"

namespace orvendale {

// What the command line asks for. When several options are given, the one whose action
// comes first here acts: "--version --help" shows the help.
enum class CommandAction {
  kHelp,            // --help, -h
  kVersion,         // --version
  kHolidayRegions,  // --holiday-regions
  kCheck,           // --check
  kRun,             // draw the picture (a plain run, or one with --date)
  kError,           // a wrong option or value: `error` says which
};

struct CommandLine {
  CommandAction action = CommandAction::kRun;
  bool dateGiven = false;
  DateRecord date;  // --date, when dateGiven: year, month, day and day of week set
  // The settings argument, null when none was given (the built-in default then serves).
  const char* settingsPath = nullptr;
  std::string error;  // one line without its end, for kError
};

// True when the first argument is an option, so that the command line needs parsing; a
// plain run ("orvendale settings.ini", or no argument) is false and runs as it always did.
bool HasOptions(int argc, const char* const* argv);

// Reads the options. Errors, in the order they are met: an unknown option, an option
// given twice, a value given to an option that takes none ("--help=x"), --date without
// a value or with one that is no date of 1904-01-01 to 2031-12-31, --help or --version
// together with a settings path, and any argument after the settings path.
CommandLine ParseCommandLine(int argc, const char* const* argv);

// Reads "YYYY-MM-DD" (exactly four, two and two digits) into `out` with its day of
// week. False, with `error` saying why, for other text, a month or day that does not
// exist, or a date outside 1904-01-01 .. 2031-12-31.
bool ParseDateOption(const char* text, DateRecord* out, std::string* error);

}  // namespace orvendale
