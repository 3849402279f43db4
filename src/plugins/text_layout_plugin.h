#pragma once
// The table of functions of the text layout plugin "text-layout" (orvendale-text-layout.so; libraqm,
// which brings HarfBuzz and FriBidi): one line of text in logical order becomes positioned
// glyphs in visual order, by the Unicode Bidirectional Algorithm and OpenType shaping.
// Only runs that draw text needing it load the plugin. Bounded in work and memory, never
// throws, prints nothing.
#include <cstdint>

extern "C" {

// One glyph of a laid-out line. Positions are in 1/64 pixel.
struct OrvendaleLayoutGlyph {
  std::uint32_t face;        // index into the faces the caller passed
  std::uint32_t glyphIndex;  // the glyph in that face
  std::int32_t x;            // the glyph's origin from the line's left end, offset included
  std::int32_t y;            // the glyph's origin above the baseline (offset)
  std::int32_t advance;      // how far the pen moves after it
  std::uint32_t cluster;     // index of the first character of the glyph's cluster
};

// Lines longer than this are refused, so that the work per line stays bounded.
inline constexpr std::uint32_t kOrvendaleLayoutMaxCharacters = 4096;

struct OrvendaleTextLayout {
  static constexpr char kName[] = "text-layout";
  static constexpr std::uint32_t kAbiVersion = 1;  // raise it whenever this table changes
  // Lays out `count` code points (1 .. kOrvendaleLayoutMaxCharacters), character i being
  // drawn with faces[faceOfCharacter[i]] (each an FT_Face set to its pixel size, each
  // index below faceCount). The paragraph direction is that of the first strong
  // character, left to right without one. Writes at most `capacity` glyphs, in visual
  // order (leftmost first), and the line's width in 1/64 pixel to `width`. Returns the
  // number of glyphs the line has, which may exceed `capacity` (call again with more
  // room), or -1 for a bad argument or a failure of the libraries.
  std::int32_t (*layOutLine)(const std::uint32_t* text, std::uint32_t count, void* const* faces,
                             std::uint32_t faceCount, const std::uint32_t* faceOfCharacter,
                             OrvendaleLayoutGlyph* glyphs, std::uint32_t capacity, std::int64_t* width);
  // 1 when the code point belongs to the cluster of the character before it (combining
  // marks, joiners and other format characters, variation selectors), else 0.
  int (*extendsCluster)(std::uint32_t codePoint);
};

}

