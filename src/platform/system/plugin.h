#pragma once
// Optional libraries of this program, loaded only by the runs that need them. A plugin is
// a shared library `orvendale-NAME.so` with C entry points; the heavy libraries it uses
// (Qt and the KDE holidays, libical, ICU) are mapped only when it is loaded, so a run that
// does not ask for one costs nothing.
//
// A plugin is looked for, in this order, in the folder named by the environment variable
// ORVENDALE_PLUGIN_DIR, beside the running binary, and in the plugin folder of the
// installation, found from the binary's folder (`../lib/orvendale/` from `bin/`, where
// `cmake --install` puts it).

namespace orvendale::platform {

// The address of `symbol` in plugin `name` ("holidays-kde" for orvendale-holidays-kde.so),
// loading the plugin on first use; null when no plugin of that name loads or it lacks the
// symbol. A loaded plugin stays loaded until the process ends. Prints nothing.
void* FindPluginSymbol(const char* name, const char* symbol);

}  // namespace orvendale::platform
