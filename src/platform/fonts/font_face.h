#pragma once
// Inside the platform only: one FreeType face at one pixel size, its line metrics by the
// platform's height rule, and its glyphs rendered monochrome or in grey levels.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct FT_FaceRec_;

namespace orvendale::platform {

// A face's vertical design values in font units.
struct DesignMetrics {
  std::int32_t unitsPerEm = 0;
  std::int32_t winAscent = 0;   // OS/2 winAscent, or the hhea ascender when OS/2 has none
  std::int32_t winDescent = 0;  // OS/2 winDescent as a positive value, or -(hhea descender)
};

// A font's size and line metrics in whole pixels; line height = ascent + descent.
struct FontMetrics {
  std::int32_t pixelsPerEm = 0;
  std::int32_t ascent = 0;
  std::int32_t descent = 0;
  std::int32_t LineHeight() const { return ascent + descent; }
};

// Height 0 asks for the platform's default, a cell 16 pixels high.
inline constexpr std::int32_t kDefaultCellHeight = 16;
// The largest pixel size a font is drawn at. Logical heights asking for more (up to the
// 32767 that a 16-bit setting can hold) are drawn at this size: a glyph bitmap then stays
// below 1 MiB, where 32767 pixels would ask FreeType for more than 100 MiB per glyph.
inline constexpr std::int32_t kMaxPixelsPerEm = 2048;

// The platform's height rule. `logicalHeight` < 0 is the character height: the pixel
// size is -logicalHeight. > 0 is the cell height: the pixel size is
// round(unitsPerEm * h / (winAscent + winDescent)), one less when that size would make the
// cell round to more than h. 0 is cell height kDefaultCellHeight. The pixel size is then
// kept in [1, kMaxPixelsPerEm]; ascent = round(winAscent * ppem / unitsPerEm), descent
// likewise. All fields are 0 when the design values are not positive. Defined for every
// int32 height.
FontMetrics MetricsForHeight(std::int32_t logicalHeight, const DesignMetrics& design);

// How a glyph's ink is stored: one bit per pixel, most significant bit leftmost, or one
// coverage byte per pixel (0 none .. 255 whole).
enum class GlyphInk : std::uint8_t { kBits, kCoverage };

// A glyph as the text drawing places it. Ink is top row first, `BytesPerRow()` bytes a
// row.
struct Glyph {
  std::int32_t advance = 0;  // pen movement in whole pixels, synthesised-bold extra included
  std::int32_t left = 0;     // columns from the pen position to the first ink column
  std::int32_t top = 0;      // rows from the first ink row down to the baseline
  std::int32_t width = 0;
  std::int32_t rows = 0;
  GlyphInk format = GlyphInk::kBits;
  std::vector<std::uint8_t> ink;

  std::int32_t BytesPerRow() const { return format == GlyphInk::kBits ? (width + 7) / 8 : width; }
  // Whether (x, y) has any ink; x in [0, width), y in [0, rows).
  bool HasInk(std::int32_t x, std::int32_t y) const { return Coverage(x, y) != 0; }
  // The ink's coverage of (x, y): 0 or 255 for bits.
  std::uint32_t Coverage(std::int32_t x, std::int32_t y) const {
    const std::size_t rowStart = static_cast<std::size_t>(y) * static_cast<std::size_t>(BytesPerRow());
    if (format == GlyphInk::kCoverage) return ink[rowStart + static_cast<std::size_t>(x)];
    return (ink[rowStart + static_cast<std::size_t>(x / 8)] & (0x80u >> (x % 8))) != 0 ? 255u : 0u;
  }
};

enum class Embolden : bool { kNo, kYes };
// Monochrome glyphs as the platform draws them by default, or grey levels with the light
// hinting that desktops use for smooth text (vertical only, so shapes keep their width).
enum class GlyphRendering : bool { kMonochrome, kGrey };

class FontFace {
 public:
  // Face `faceIndex` of `file`, set to `pixelsPerEm` (kept in [1, kMaxPixelsPerEm]).
  // With Embolden::kYes every outline is thickened by ppem / 24 pixels and every advance
  // grows by 1 pixel, for a bold weight the font file lacks. Glyphs are rendered as
  // `rendering` says; grey glyphs of a scalable face come from its outlines, not from the
  // bitmaps some files embed for small sizes. Null when FreeType cannot be initialised or
  // cannot open the face.
  static std::unique_ptr<FontFace> Open(const std::string& file, int faceIndex,
                                        std::int32_t pixelsPerEm, Embolden embolden,
                                        GlyphRendering rendering = GlyphRendering::kMonochrome);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  // Changes the pixel size (kept in [1, kMaxPixelsPerEm]) and forgets the cached glyphs.
  // False, with the size unchanged, when FreeType refuses it.
  bool SetPixelsPerEm(std::int32_t pixelsPerEm);
  std::int32_t pixelsPerEm() const { return pixelsPerEm_; }

  // Read from the file's OS/2 and hhea tables, or FreeType's own values for other formats.
  DesignMetrics Design() const;
  // The face's glyph for the code point; 0 when the face has none.
  std::uint32_t GlyphIndex(char32_t codePoint) const;
  // The glyph rendered as the face renders, loaded the same way for measuring and drawing. A glyph
  // FreeType cannot load is empty with advance 0. The reference stays valid until the
  // next call: small glyphs are kept for the face's lifetime, large ones are not.
  const Glyph& GetGlyph(std::uint32_t glyphIndex);

  // The family name stored in the font file ("IPAGothic"); "" when it has none.
  std::string FamilyName() const;
  const std::string& file() const { return file_; }
  int faceIndex() const { return faceIndex_; }
  Embolden embolden() const { return embolden_; }
  // The FreeType face, set to pixelsPerEm(), for the text layout engine; owned here.
  FT_FaceRec_* FreeTypeFace() const { return face_; }

 private:
  FontFace(FT_FaceRec_* face, std::string file, int faceIndex, std::int32_t pixelsPerEm,
           Embolden embolden, GlyphRendering rendering);
  void Render(std::uint32_t glyphIndex, Glyph* out) const;

  FT_FaceRec_* face_ = nullptr;
  std::string file_;
  int faceIndex_ = 0;
  std::int32_t pixelsPerEm_ = 0;
  Embolden embolden_ = Embolden::kNo;
  GlyphRendering rendering_ = GlyphRendering::kMonochrome;
  std::unordered_map<std::uint32_t, Glyph> cache_;
  std::size_t cachedBytes_ = 0;
  Glyph scratch_;  // a glyph too large for the cache
};

}  // namespace orvendale::platform
