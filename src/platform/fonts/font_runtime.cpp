#include "platform/fonts/font_runtime.h"

namespace orvendale::platform {
namespace {

class FreeTypeHolder {
 public:
  FreeTypeHolder() {
    if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
  }
  ~FreeTypeHolder() {
    if (library_ != nullptr) FT_Done_FreeType(library_);
  }
  FreeTypeHolder(const FreeTypeHolder&) = delete;
  FreeTypeHolder& operator=(const FreeTypeHolder&) = delete;
  FT_Library library() const { return library_; }

 private:
  FT_Library library_ = nullptr;
};

// A configuration of our own rather than fontconfig's implicit current one, so that it
// can be destroyed at exit like every other resource.
class ConfigurationHolder {
 public:
  ConfigurationHolder() : config_(FcInitLoadConfigAndFonts()) {}
  ~ConfigurationHolder() {
    if (config_ != nullptr) FcConfigDestroy(config_);
  }
  ConfigurationHolder(const ConfigurationHolder&) = delete;
  ConfigurationHolder& operator=(const ConfigurationHolder&) = delete;
  FcConfig* config() const { return config_; }

 private:
  FcConfig* config_ = nullptr;
};

}  // namespace

FT_Library FreeTypeLibrary() {
  static FreeTypeHolder holder;
  return holder.library();
}

FcConfig* FontConfiguration() {
  static ConfigurationHolder holder;
  return holder.config();
}

}  // namespace orvendale::platform
