#pragma once
// The one symbol a plugin exports, `orvendale_plugin`: its interface version, its name and
// its table of functions (platform/system/plugin.h says how the program finds it).

#include <cstdint>

extern "C" {
struct OrvendalePluginDescriptor {
  // First, so that a program of any version can read it before trusting the rest.
  std::uint32_t abiVersion;
  const char* name;
  const void* functions;
};
}

// Defines the descriptor of a plugin whose table is of type `Table`, with the table's
// function pointers in braces: ORVENDALE_PLUGIN_DESCRIPTOR(OrvendaleIcalPlugin, {&Days}).
// Used once, in one source file of the plugin, outside any namespace.
#define ORVENDALE_PLUGIN_DESCRIPTOR(Table, ...)                                                              \
  namespace {                                                                                                \
  constexpr Table kOrvendalePluginFunctions = __VA_ARGS__;                                                   \
  }                                                                                                          \
  extern "C" __attribute__((visibility("default"))) const OrvendalePluginDescriptor orvendale_plugin = {    \
      Table::kAbiVersion, Table::kName, &kOrvendalePluginFunctions}
