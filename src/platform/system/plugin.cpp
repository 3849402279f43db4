#include "platform/system/plugin.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <string>

// The plugin folder of an installation, relative to the program's folder; the build
// gives the one its install rules use.
#ifndef ORVENDALE_INSTALLED_PLUGIN_FOLDER
#define ORVENDALE_INSTALLED_PLUGIN_FOLDER "../lib/orvendale/"
#endif

namespace orvendale::platform {
namespace {

constexpr char kDescriptorSymbol[] = "orvendale_plugin";
// Plugins a process looks up at most; the program has a handful. Lookups beyond it are
// answered, only not remembered.
constexpr std::size_t kRememberedPlugins = 16;
constexpr std::size_t kMaxNameLength = 63;

// The folder of the running binary, with a trailing slash; empty when unknown.
std::string BinaryFolder() {
  char path[4096];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
  if (length <= 0) return {};
  std::string folder(path, static_cast<std::size_t>(length));
  const std::size_t slash = folder.rfind('/');
  return slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
}

void* OpenPlugin(const std::string& file) {
  std::string folders[3];
  if (const char* dir = std::getenv("ORVENDALE_PLUGIN_DIR"); dir != nullptr && *dir != 0) {
    folders[0] = std::string(dir) + "/";
  }
  const std::string binary = BinaryFolder();
  if (!binary.empty()) {
    folders[1] = binary;
    folders[2] = binary + ORVENDALE_INSTALLED_PLUGIN_FOLDER;
  }
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    // RTLD_LOCAL keeps the plugin's libraries out of the program's symbol lookups.
    if (void* handle = dlopen((folder + file).c_str(), RTLD_NOW | RTLD_LOCAL)) return handle;
  }
  return nullptr;
}

bool IsPluginName(const char* name) {
  if (name == nullptr) return false;
  const std::size_t length = std::strlen(name);
  return length > 0 && length <= kMaxNameLength && std::strchr(name, '/') == nullptr;
}

// What a descriptor says; the version is read before anything else is trusted.
PluginLookup ReadDescriptor(void* handle, const char* name, std::uint32_t abiVersion) {
  PluginLookup lookup;
  const auto* descriptor = static_cast<const OrvendalePluginDescriptor*>(dlsym(handle, kDescriptorSymbol));
  if (descriptor == nullptr) return lookup;
  if (descriptor->abiVersion != abiVersion) {
    lookup.state = PluginState::kOtherVersion;
    lookup.foundVersion = descriptor->abiVersion;
    return lookup;
  }
  // A file renamed to another plugin's name is not that plugin.
  if (descriptor->name == nullptr || std::strcmp(descriptor->name, name) != 0 || descriptor->functions == nullptr) {
    return lookup;
  }
  lookup.state = PluginState::kLoaded;
  lookup.functions = descriptor->functions;
  lookup.foundVersion = descriptor->abiVersion;
  return lookup;
}

struct RememberedLookup {
  std::string name;
  std::uint32_t abiVersion = 0;
  PluginLookup lookup;
};

// The lookups of this process, in the order they were made.
std::array<RememberedLookup, kRememberedPlugins> remembered;
std::size_t rememberedCount = 0;

}  // namespace

PluginLookup LookUpPlugin(const char* name, std::uint32_t abiVersion) {
  if (!IsPluginName(name)) return {};
  for (std::size_t i = 0; i < rememberedCount; ++i) {
    if (remembered[i].name == name && remembered[i].abiVersion == abiVersion) return remembered[i].lookup;
  }
  PluginLookup lookup;
  // A second dlopen of a file already loaded returns the same handle and only counts a
  // reference; the plugin stays loaded for the rest of the process either way.
  if (void* handle = OpenPlugin(std::string("orvendale-") + name + ".so")) {
    lookup = ReadDescriptor(handle, name, abiVersion);
  }
  if (rememberedCount < kRememberedPlugins) remembered[rememberedCount++] = {name, abiVersion, lookup};
  return lookup;
}

std::string PluginAbsence(const char* name, std::uint32_t abiVersion) {
  const PluginLookup lookup = LookUpPlugin(name, abiVersion);
  if (lookup.state == PluginState::kLoaded) return {};
  const std::string plugin = std::string("orvendale-") + (IsPluginName(name) ? name : "?");
  if (lookup.state == PluginState::kOtherVersion) {
    return plugin + ".so is built for plugin interface " + std::to_string(lookup.foundVersion) +
           ", this program for " + std::to_string(abiVersion) + " (install the package " + plugin +
           " of this program's version)";
  }
  return plugin + ".so, or a library it needs, does not load (install the package " + plugin + ")";
}

}  // namespace orvendale::platform
