#include "driver/run.h"
#include "platform/system/quiet_process.h"

// Every run ends with exit code 0, whatever happened in it, and prints nothing: not even
// a library's warnings reach the terminal.
int main(int argc, char** argv) {
  orvendale::platform::IgnoreFileSizeLimitSignal();
  orvendale::platform::SilenceStandardStreams();
  try {
    return orvendale::RunOrvendale(argc, argv);
  } catch (...) {
    return 0;
  }
}
