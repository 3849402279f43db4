#pragma once
// Inside the platform only: the layout of a line whose characters need more than placing
// glyphs one by one, left to right: right-to-left scripts, scripts whose letters join or
// combine, combining marks, joiners and direction controls. The layout engine lives in
// the text layout plugin (plugins/text_layout_plugin.h), loaded on the first such line.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/fonts/font.h"

namespace orvendale::platform {

// True when a line holding `codePoint` goes to the layout engine. False for every
// character of the Latin, Greek, Cyrillic and East Asian scripts that stands on its own,
// so that such lines are drawn glyph by glyph as always.
bool NeedsComplexLayout(char32_t codePoint);

// True when the text layout plugin loads (loading it on the first call).
bool TextLayoutLoads();

// One glyph of a laid-out line, in whole pixels.
struct PlacedGlyph {
  FontFace* face = nullptr;
  std::uint32_t glyphIndex = 0;
  std::int64_t x = 0;        // the glyph's origin from the line's left end
  std::int64_t raise = 0;    // how far the origin stands above the baseline
  std::int64_t advance = 0;  // the pen movement after it
  std::size_t character = 0;  // the line's index of the first character of its cluster
};

struct ComplexLine {
  std::vector<PlacedGlyph> glyphs;  // in visual order, leftmost first
  std::int64_t width = 0;           // the sum of the shaped advances
};

// Lays out `count` characters drawn with `font`: each character gets the face Find()
// gives it, except that a mark or joiner keeps the face of the character before it and a
// character missing from the main face keeps the fallback face of the character before
// it when that face has it, so that a word is shaped in one font. Emboldened faces add
// one pixel per glyph as glyph-by-glyph drawing does. False, with `out` empty, when the
// line is empty or longer than the engine takes, or the plugin does not load or fails:
// the caller then places the glyphs one by one.
bool LayOutComplexLine(FontInstance& font, const char32_t* characters, std::size_t count, ComplexLine* out);

// The cluster to underline for character `underlined` of a laid-out line: the leftmost
// pixel and the width of its glyphs together. False when no glyph belongs to it.
bool ClusterExtent(const ComplexLine& line, std::size_t underlined, std::int64_t* left, std::int64_t* width);

}  // namespace orvendale::platform
