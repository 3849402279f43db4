#include "platform/system/plugin.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

// The plugin folder of an installation, relative to the program's folder; the build
// gives the one its install rules use.
#ifndef ORVENDALE_INSTALLED_PLUGIN_FOLDER
#define ORVENDALE_INSTALLED_PLUGIN_FOLDER "../lib/orvendale/"
#endif

namespace orvendale::platform {
namespace {

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

}  // namespace

void* FindPluginSymbol(const char* name, const char* symbol) {
  if (name == nullptr || symbol == nullptr) return nullptr;
  void* handle = OpenPlugin(std::string("orvendale-") + name + ".so");
  // A second dlopen of the same file returns the same handle and only counts a reference.
  return handle == nullptr ? nullptr : dlsym(handle, symbol);
}

}  // namespace orvendale::platform
