#pragma once
// Optional libraries of this program, loaded only by the runs that need them. A plugin is
// a shared library `orvendale-NAME.so`; the heavy libraries it uses (Qt and the KDE
// holidays, libical, ICU) are mapped only when it is loaded, so a run that does not ask
// for one costs nothing. A plugin comes in a package of its own, named as its file is
// (orvendale-NAME).
//
// Each plugin exports exactly one symbol, the descriptor `orvendale_plugin`: its name, the
// version of its interface, and its table of functions. The program looks the descriptor
// up once per plugin and calls through the table; a plugin whose interface version is not
// the one the program was built with is refused as a missing one would be.
//
// The table of each plugin is a struct of function pointers declared in src/plugins/ (see
// holiday_plugins.h), with the plugin's name and interface version as constants of the
// struct:
//
//   struct OrvendaleExamplePlugin {
//     static constexpr char kName[] = "example";       // orvendale-example.so
//     static constexpr std::uint32_t kAbiVersion = 1;  // raise it whenever the table changes
//     int (*answer)(int question);
//   };
//
// The plugin defines its table with ORVENDALE_PLUGIN_DESCRIPTOR(OrvendaleExamplePlugin,
// {&Answer}); the program reaches it with platform::FindPlugin<OrvendaleExamplePlugin>().
// To give a plugin another function, add a field at the end of its table, fill it in the
// plugin's ORVENDALE_PLUGIN_DESCRIPTOR and raise kAbiVersion by one.
//
// A plugin is looked for, in this order, in the folder named by the environment variable
// ORVENDALE_PLUGIN_DIR, beside the running binary, and in the plugin folder of the
// installation, found from the binary's folder (`../lib/orvendale/` from `bin/`, where
// `cmake --install` puts it). The first file that loads is the one used.

#include <cstdint>
#include <string>

#include "plugins/plugin_descriptor.h"

namespace orvendale::platform {

enum class PluginState : std::uint8_t {
  kLoaded,        // found, of the expected interface version
  kMissing,       // no file loads (absent, or a library it needs is missing), or no descriptor
  kOtherVersion,  // loads, but its interface version is another: refused
};

struct PluginLookup {
  PluginState state = PluginState::kMissing;
  const void* functions = nullptr;  // the table; null unless kLoaded
  std::uint32_t foundVersion = 0;   // the version the plugin declares; 0 when missing
};

// Plugin `name` ("holidays-kde" for orvendale-holidays-kde.so), loaded and its descriptor
// checked on the first call for that name; later calls give the same answer without
// looking again. A name holding '/' or empty, or a descriptor naming another plugin, is
// missing. A loaded plugin stays loaded until the process ends. Prints nothing.
PluginLookup LookUpPlugin(const char* name, std::uint32_t abiVersion);

// The table of the plugin that `Table` describes, or null when it is missing or refused.
template <typename Table>
const Table* FindPlugin() {
  return static_cast<const Table*>(LookUpPlugin(Table::kName, Table::kAbiVersion).functions);
}

// Why plugin `name` of interface version `abiVersion` cannot be used, as a clause for a
// finding or a message: "the plugin orvendale-ical.so, or a library it needs, does not
// load (it comes with the package orvendale-ical)", or, for a refused one, that its
// interface version is another. Empty when it loads.
std::string PluginAbsence(const char* name, std::uint32_t abiVersion);

template <typename Table>
std::string PluginAbsence() {
  return PluginAbsence(Table::kName, Table::kAbiVersion);
}

}  // namespace orvendale::platform
