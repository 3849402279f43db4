#pragma once
// Inside the platform only: choosing font files for a logical-font record with fontconfig.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/fonts/font_face.h"
#include "platform/drawing/graphics.h"

struct _FcPattern;
struct _FcFontSet;

namespace orvendale::platform {

// One face of one font file.
struct FontFileMatch {
  std::string file;
  int faceIndex = 0;
  Embolden embolden = Embolden::kNo;  // bold asked for and the file has no bold face
};

// The family fontconfig is asked for in place of `faceName` (UTF-8): the installed
// equivalent of a well-known face name ("ＭＳ ゴシック" gives "IPAGothic", "Tahoma" gives
// "DejaVu Sans"; ASCII letters compared without regard to case), else `faceName` itself.
// Null gives "".
const char* SubstituteFamily(const char* faceName);

class FontMatcher {
 public:
  // The fontconfig pattern for `record`: the face name (cut to kFaceNameCapacity - 1
  // units, passed through SubstituteFamily) as family, character set 128 as language
  // "ja", a weight of 600 or more as bold, and `pixelSize`. Null when the record is null
  // or fontconfig cannot be loaded.
  static std::unique_ptr<FontMatcher> ForRecord(const LogicalFont* record, std::int32_t pixelSize);
  ~FontMatcher();
  FontMatcher(const FontMatcher&) = delete;
  FontMatcher& operator=(const FontMatcher&) = delete;

  // fontconfig's best match, which exists whenever any font is installed, whatever the
  // family asked for. False when there is none. `families`, when given, receives the
  // match's family names, its first (preferred) name first.
  bool BestMatch(FontFileMatch* out, std::vector<std::string>* families = nullptr) const;

  // Walks fontconfig's sorted list of fonts for the pattern and offers `accept` each one
  // whose character set holds `codePoint`, best first, until `accept` returns true.
  // Returns whether one was accepted. The list is built on the first call.
  bool FindFallback(char32_t codePoint, const std::function<bool(const FontFileMatch&)>& accept);

 private:
  explicit FontMatcher(_FcPattern* pattern, bool boldWanted);

  _FcPattern* pattern_ = nullptr;
  bool boldWanted_ = false;
  _FcFontSet* sorted_ = nullptr;
  bool sortTried_ = false;
};

}  // namespace orvendale::platform
