#include "cli/commands.h"

#include "check/settings_check.h"
#include "cli/command_line.h"
#include "cli/usage.h"
#include "driver/holiday_regions.h"
#include "driver/run.h"
#include "platform/system/quiet_process.h"

namespace orvendale {

int RunWithOptions(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  const CommandLine command = ParseCommandLine(argc, argv);
  switch (command.action) {
    case CommandAction::kError:
      std::fprintf(err, "orvendale: %s\nTry 'orvendale --help' for more information.\n", command.error.c_str());
      return kExitUsage;
    case CommandAction::kHelp:
      std::fputs(UsageText().c_str(), out);
      return 0;
    case CommandAction::kVersion:
      std::fprintf(out, "%s\n", VersionText().c_str());
      return 0;
    case CommandAction::kHolidayRegions:
      return PrintHolidayRegions(out, err);
    case CommandAction::kCheck:
      // Its output is its findings: a library's own messages (fontconfig's about its
      // cache, say) do not join them.
      platform::SilenceStandardError();
      return CheckSettings(command.settingsPath, command.dateGiven ? &command.date : nullptr, out);
    case CommandAction::kRun:
      break;
  }
  // A run with options is the plain run of the settings path, on the day --date names,
  // and as silent.
  platform::SilenceStandardStreams();
  RunServices services = BuiltInServices();
  if (command.dateGiven) services.today = &command.date;
  const char* const runArguments[] = {argv[0], command.settingsPath != nullptr ? command.settingsPath : "", nullptr};
  return RunOrvendale(2, runArguments, services);
}

}  // namespace orvendale
