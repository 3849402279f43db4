// A plugin for the loader's tests; the build makes several from this file (plugin_probe.h).
#include "platform/system/plugin.h"

#include <cstdint>

#ifndef PROBE_BARE
namespace {

struct BuiltProbe {
  static constexpr char kName[] = PROBE_NAME;
  static constexpr std::uint32_t kAbiVersion = PROBE_VERSION;
  int (*answer)();
};

int Answer() { return 42; }

}  // namespace

ORVENDALE_PLUGIN_DESCRIPTOR(BuiltProbe, {&Answer});
#else
extern "C" __attribute__((visibility("default"))) int orvendale_probe_answer() { return 42; }
#endif
