#include "driver/holiday_regions.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "calendar/holiday_set.h"
#include "platform/system/plugin.h"

namespace orvendale {

int PrintHolidayRegions(std::FILE* out, std::FILE* errors) {
  std::vector<std::pair<std::string, std::string>> regions;
  const int count = ListHolidayRegions(
      [](const char* code, const char* name, void* context) {
        if (code == nullptr) return;
        static_cast<decltype(regions)*>(context)->emplace_back(code, name == nullptr ? "" : name);
      },
      &regions);
  if (count < 0) {
    std::fprintf(errors, "orvendale: the region plugin %s\n",
                 platform::PluginAbsence<OrvendaleHolidaysKdePlugin>().c_str());
    return 1;
  }
  std::sort(regions.begin(), regions.end());
  for (const auto& [code, name] : regions) std::fprintf(out, "%s\t%s\n", code.c_str(), name.c_str());
  return 0;
}

}  // namespace orvendale
