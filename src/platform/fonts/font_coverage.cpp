#include "platform/fonts/font_coverage.h"

#include "platform/fonts/font_runtime.h"

namespace orvendale::platform {
namespace {

// The characters of every installed font together; released at exit.
class CoverageHolder {
 public:
  CoverageHolder() {
    FcConfig* config = FontConfiguration();
    if (config == nullptr) return;
    characters_ = FcCharSetCreate();
    if (characters_ == nullptr) return;
    FcObjectSet* objects = FcObjectSetBuild(FC_CHARSET, nullptr);
    FcPattern* any = FcPatternCreate();
    FcFontSet* fonts = objects != nullptr && any != nullptr ? FcFontList(config, any, objects) : nullptr;
    for (int i = 0; fonts != nullptr && i < fonts->nfont; ++i) {
      FcCharSet* set = nullptr;
      if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &set) == FcResultMatch) FcCharSetMerge(characters_, set, nullptr);
    }
    if (fonts != nullptr) FcFontSetDestroy(fonts);
    if (any != nullptr) FcPatternDestroy(any);
    if (objects != nullptr) FcObjectSetDestroy(objects);
  }
  ~CoverageHolder() {
    if (characters_ != nullptr) FcCharSetDestroy(characters_);
  }
  CoverageHolder(const CoverageHolder&) = delete;
  CoverageHolder& operator=(const CoverageHolder&) = delete;
  bool Has(char32_t codePoint) const { return characters_ != nullptr && FcCharSetHasChar(characters_, codePoint); }

 private:
  FcCharSet* characters_ = nullptr;
};

}  // namespace

bool InstalledFontsHaveCharacter(char32_t codePoint) {
  // The configuration is created first, so that it is released after the holder.
  FontConfiguration();
  static const CoverageHolder holder;
  return holder.Has(codePoint);
}

}  // namespace orvendale::platform
