#pragma once
// Inside the platform only: what a font handle holds. A Font records its logical-font
// record when created; the first text drawn or measured with it chooses and opens its
// font files, which then stay open with the font until it is deleted.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/fonts/font_face.h"
#include "platform/fonts/font_matcher.h"
#include "platform/drawing/graphics.h"

namespace orvendale::platform {

// A glyph and the face it comes from.
struct GlyphSource {
  FontFace* face = nullptr;
  std::uint32_t glyphIndex = 0;
};

// The opened side of a font: its main face at the pixel size of the height rule, and the
// faces that supply the characters the main face lacks, all rendering glyphs in grey
// levels when the record's quality is kAntialiasedQuality, else monochrome.
class FontInstance {
 public:
  // Null when fontconfig finds no font or FreeType cannot open the one it finds.
  static std::unique_ptr<FontInstance> Open(const LogicalFont& record);

  const FontMetrics& metrics() const { return metrics_; }
  FontFace& primary() { return *primary_; }

  // The face that draws `codePoint`: the main face when it has the character, else the
  // first font of fontconfig's sorted list that has it (opened at the same pixel size),
  // else the main face's glyph for missing characters. Answers are remembered.
  GlyphSource Find(char32_t codePoint);

 private:
  FontInstance(std::unique_ptr<FontMatcher> matcher, std::unique_ptr<FontFace> primary,
               FontMetrics metrics, GlyphRendering rendering);
  FontFace* OpenFallback(const FontFileMatch& match);

  std::unique_ptr<FontMatcher> matcher_;
  std::unique_ptr<FontFace> primary_;
  FontMetrics metrics_;
  GlyphRendering rendering_;  // of the main face and of every fallback face
  std::vector<std::unique_ptr<FontFace>> fallbacks_;
  std::vector<std::string> unusableFiles_;  // fallback files FreeType could not open
  std::unordered_map<char32_t, GlyphSource> found_;
};

struct Font {
  LogicalFont record;
  bool openTried = false;
  std::unique_ptr<FontInstance> instance;
};

// The font's instance, opened on the first call; null when it cannot be opened, and for
// a null font.
FontInstance* InstanceOf(Font* font);

// The platform's default font, used by a context with no font selected: face
// "ＭＳ ゴシック", height 0, character set 128. Opened on the first call and released at
// exit; null when it cannot be opened.
FontInstance* DefaultFontInstance();

}  // namespace orvendale::platform
