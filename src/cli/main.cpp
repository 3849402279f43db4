// The program's entry, at the top of the tree: it builds on the command line (cli/) and the
// run (driver/), and nothing builds on it.

#include "cli/commands.h"
#include "cli/command_line.h"
#include "driver/run.h"
#include "platform/system/quiet_process.h"

// A plain run ("orvendale [settings.ini]") prints nothing and ends with exit code 0,
// whatever happened in it: not even a library's warnings reach the terminal. Options
// (--help, --version, --check) have their own output and exit codes; a run with --date
// is as silent as a plain run.
int main(int argc, char** argv) {
  orvendale::platform::IgnoreFileSizeLimitSignal();
  if (!orvendale::HasOptions(argc, argv)) {
    orvendale::platform::SilenceStandardStreams();
    try {
      return orvendale::RunOrvendale(argc, argv);
    } catch (...) {
      return 0;
    }
  }
  try {
    return orvendale::RunWithOptions(argc, argv, stdout, stderr);
  } catch (...) {
    std::fputs("orvendale: an unexpected error ended the run\n", stderr);
    return orvendale::kExitUsage;
  }
}
