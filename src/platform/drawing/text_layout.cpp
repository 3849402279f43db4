#include "platform/drawing/text_layout.h"

#include <algorithm>
#include <array>
#include <limits>

#include "platform/system/plugin.h"
#include "plugins/text_layout_plugin.h"

namespace orvendale::platform {
namespace {

struct CodePointRange {
  char32_t first;
  char32_t last;
};

// Blocks written right to left, blocks of scripts that shape (letters that join, vowel
// signs and conjuncts, stacked marks), combining marks, and the joiners and direction
// controls; sorted, not overlapping.
constexpr std::array kComplexRanges = {
    CodePointRange{0x0300, 0x036F},   CodePointRange{0x0483, 0x0489},   // combining marks
    CodePointRange{0x0590, 0x08FF},                                     // Hebrew .. Arabic Extended-A
    CodePointRange{0x0900, 0x0DFF},                                     // Devanagari .. Sinhala
    CodePointRange{0x0E00, 0x0FFF},                                     // Thai, Lao, Tibetan
    CodePointRange{0x1000, 0x109F},                                     // Myanmar
    CodePointRange{0x1100, 0x11FF},                                     // Hangul Jamo
    CodePointRange{0x135D, 0x135F},                                     // Ethiopic marks
    CodePointRange{0x1700, 0x18AF},                                     // Tagalog .. Mongolian
    CodePointRange{0x1900, 0x1C4F},                                     // Limbu .. Lepcha
    CodePointRange{0x1CD0, 0x1CFF},   CodePointRange{0x1DC0, 0x1DFF},   // Vedic, combining marks
    CodePointRange{0x200C, 0x200F},                                     // joiners, direction marks
    CodePointRange{0x202A, 0x202E},                                     // embeddings, overrides
    CodePointRange{0x2066, 0x2069},                                     // isolates
    CodePointRange{0x20D0, 0x20FF},                                     // marks for symbols
    CodePointRange{0x2CEF, 0x2CF1},   CodePointRange{0x2D7F, 0x2D7F},   // Coptic marks, Tifinagh joiner
    CodePointRange{0x2DE0, 0x2DFF},   CodePointRange{0x302A, 0x302F},   // Cyrillic, CJK tone marks
    CodePointRange{0x3099, 0x309A},                                     // combining kana voicing
    CodePointRange{0xA66F, 0xA67D},   CodePointRange{0xA69E, 0xA69F},   // Cyrillic marks
    CodePointRange{0xA6F0, 0xA6F1},                                     // Bamum marks
    CodePointRange{0xA800, 0xAAFF},                                     // Syloti Nagri .. Tai Viet
    CodePointRange{0xABC0, 0xABFF},                                     // Meetei Mayek
    CodePointRange{0xFB1D, 0xFDFF},                                     // Hebrew, Arabic presentation forms
    CodePointRange{0xFE00, 0xFE0F},   CodePointRange{0xFE20, 0xFE2F},   // variation selectors, half marks
    CodePointRange{0xFE70, 0xFEFE},                                     // Arabic presentation forms
    CodePointRange{0x10800, 0x10FFF},                                   // historic right-to-left scripts
    CodePointRange{0x11000, 0x11FFF},                                   // Brahmi and its descendants
    CodePointRange{0x16F00, 0x16F9F},                                   // Miao
    CodePointRange{0x1E000, 0x1E02F},                                   // Glagolitic marks
    CodePointRange{0x1E800, 0x1EFFF},                                   // Mende Kikakui, Adlam, Arabic
    CodePointRange{0xE0100, 0xE01EF},                                   // variation selectors
};

constexpr std::int64_t kSubpixels = 64;

// Whole pixels from 1/64 pixel, rounded half up (shifts of negative values round down).
std::int64_t RoundToPixels(std::int64_t subpixels) { return (subpixels + kSubpixels / 2) >> 6; }

const OrvendaleTextLayout* LayoutEngine() { return FindPlugin<OrvendaleTextLayout>(); }

// The faces of a line, each once, and which of them draws each character.
struct FaceChoice {
  std::vector<FontFace*> faces;
  std::vector<std::uint32_t> faceOfCharacter;

  void Add(FontFace* face) {
    const auto found = std::find(faces.begin(), faces.end(), face);
    faceOfCharacter.push_back(static_cast<std::uint32_t>(found - faces.begin()));
    if (found == faces.end()) faces.push_back(face);
  }
};

FaceChoice ChooseFaces(FontInstance& font, const OrvendaleTextLayout& engine, const char32_t* characters,
                       std::size_t count) {
  FaceChoice choice;
  choice.faceOfCharacter.reserve(count);
  FontFace* primary = &font.primary();
  FontFace* previous = nullptr;
  for (std::size_t i = 0; i < count; ++i) {
    const char32_t c = characters[i];
    const GlyphSource source = font.Find(c);
    FontFace* face = source.face;
    if (previous != nullptr && engine.extendsCluster(c) != 0) {
      // A mark stays with its base unless only another font has it.
      if (previous->GlyphIndex(c) != 0 || source.glyphIndex == 0) face = previous;
    } else if (face != primary && previous != nullptr && previous != primary && face != previous &&
               previous->GlyphIndex(c) != 0) {
      // A character the main face lacks stays in the fallback face of the word it is in.
      face = previous;
    }
    choice.Add(face);
    previous = face;
  }
  return choice;
}

}  // namespace

bool NeedsComplexLayout(char32_t codePoint) {
  if (codePoint < kComplexRanges.front().first) return false;
  const auto after = std::upper_bound(kComplexRanges.begin(), kComplexRanges.end(), codePoint,
                                      [](char32_t c, const CodePointRange& range) { return c < range.first; });
  return after != kComplexRanges.begin() && codePoint <= (after - 1)->last;
}

bool TextLayoutLoads() { return LayoutEngine() != nullptr; }

bool LayOutComplexLine(FontInstance& font, const char32_t* characters, std::size_t count, ComplexLine* out) {
  *out = ComplexLine{};
  if (characters == nullptr || count == 0 || count > kOrvendaleLayoutMaxCharacters) return false;
  const OrvendaleTextLayout* engine = LayoutEngine();
  if (engine == nullptr) return false;

  const FaceChoice choice = ChooseFaces(font, *engine, characters, count);
  std::vector<void*> freeTypeFaces;
  freeTypeFaces.reserve(choice.faces.size());
  for (FontFace* face : choice.faces) freeTypeFaces.push_back(face->FreeTypeFace());
  std::vector<std::uint32_t> text(characters, characters + count);

  // Most lines have at most one glyph per character; a second call gets the room a line
  // with split vowels or inserted dotted circles needs.
  std::vector<OrvendaleLayoutGlyph> glyphs(count + 8);
  std::int64_t width = 0;
  std::int32_t total = -1;
  for (int attempt = 0; attempt < 2; ++attempt) {
    total = engine->layOutLine(text.data(), static_cast<std::uint32_t>(count), freeTypeFaces.data(),
                               static_cast<std::uint32_t>(freeTypeFaces.size()), choice.faceOfCharacter.data(),
                               glyphs.data(), static_cast<std::uint32_t>(glyphs.size()), &width);
    if (total < 0 || static_cast<std::size_t>(total) <= glyphs.size()) break;
    glyphs.resize(static_cast<std::size_t>(total));
  }
  if (total < 0 || static_cast<std::size_t>(total) > glyphs.size()) return false;

  // Synthesised bold widens each glyph by a pixel; the glyphs right of it move along.
  std::int64_t shift = 0;
  out->glyphs.reserve(static_cast<std::size_t>(total));
  for (std::int32_t i = 0; i < total; ++i) {
    const OrvendaleLayoutGlyph& glyph = glyphs[static_cast<std::size_t>(i)];
    FontFace* face = choice.faces[glyph.face];
    std::int64_t advance = glyph.advance;
    if (face->embolden() == Embolden::kYes && advance > 0) advance += kSubpixels;
    out->glyphs.push_back(PlacedGlyph{face, glyph.glyphIndex, RoundToPixels(glyph.x + shift), RoundToPixels(glyph.y),
                                      RoundToPixels(glyph.x + shift + advance) - RoundToPixels(glyph.x + shift),
                                      std::min<std::size_t>(glyph.cluster, count - 1)});
    shift += advance - glyph.advance;
  }
  out->width = RoundToPixels(width + shift);
  return true;
}

bool ClusterExtent(const ComplexLine& line, std::size_t underlined, std::int64_t* left, std::int64_t* width) {
  // The cluster holding the character starts at the nearest cluster start at or before it.
  std::size_t cluster = 0;
  bool found = false;
  for (const PlacedGlyph& glyph : line.glyphs) {
    if (glyph.character <= underlined && (!found || glyph.character > cluster)) {
      cluster = glyph.character;
      found = true;
    }
  }
  if (!found) return false;
  std::int64_t low = std::numeric_limits<std::int64_t>::max();
  std::int64_t high = std::numeric_limits<std::int64_t>::min();
  for (const PlacedGlyph& glyph : line.glyphs) {
    if (glyph.character != cluster) continue;
    low = std::min(low, glyph.x);
    high = std::max(high, glyph.x + glyph.advance);
  }
  *left = low;
  *width = std::max<std::int64_t>(high - low, 0);
  return true;
}

}  // namespace orvendale::platform
