#include <cstdio>
#include <cstring>

#include "driver/holiday_regions.h"
#include "driver/run.h"

// Every run ends with exit code 0, whatever happened in it. The one option lists the
// holiday regions; a settings file of that name is reached as ./--holiday-regions.
int main(int argc, char** argv) {
  try {
    if (argc == 2 && std::strcmp(argv[1], orvendale::kHolidayRegionsOption) == 0) {
      return orvendale::PrintHolidayRegions(stdout, stderr);
    }
    return orvendale::RunOrvendale(argc, argv);
  } catch (...) {
    return 0;
  }
}
