#pragma once
// The table of the plugins the loader's tests load: orvendale-probe.so (version 1),
// orvendale-probe-v2.so (version 2), orvendale-probe-renamed.so (whose descriptor names
// "probe") and orvendale-probe-bare.so (no descriptor), all built from plugin_probe.cpp.
#include <cstdint>

struct ProbePlugin {
  static constexpr char kName[] = "probe";
  static constexpr std::uint32_t kAbiVersion = 1;
  int (*answer)();
};
