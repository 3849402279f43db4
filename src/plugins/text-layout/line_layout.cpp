// One line of text laid out by libraqm: bidirectional runs, script runs and font runs
// are found first, each run is shaped by HarfBuzz with its font's OpenType tables, and
// the runs are placed in visual order.

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>
#include <raqm.h>

#include <cstddef>
#include <limits>

#include "plugins/plugin_descriptor.h"
#include "plugins/text_layout_plugin.h"

namespace {

// Releases the layout object on every way out.
class LayoutHolder {
 public:
  LayoutHolder() : layout_(raqm_create()) {}
  ~LayoutHolder() {
    if (layout_ != nullptr) raqm_destroy(layout_);
  }
  LayoutHolder(const LayoutHolder&) = delete;
  LayoutHolder& operator=(const LayoutHolder&) = delete;
  raqm_t* get() const { return layout_; }

 private:
  raqm_t* layout_;
};

// Keeps a 1/64-pixel sum inside int32: a line of kOrvendaleLayoutMaxCharacters glyphs at
// the largest pixel size stays far below it, a broken font's advances need not.
std::int32_t ClampToInt32(std::int64_t value) {
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

std::int32_t LayOutLine(const std::uint32_t* text, std::uint32_t count, void* const* faces, std::uint32_t faceCount,
                        const std::uint32_t* faceOfCharacter, OrvendaleLayoutGlyph* glyphs, std::uint32_t capacity,
                        std::int64_t* width) {
  if (text == nullptr || faces == nullptr || faceOfCharacter == nullptr || width == nullptr || count == 0 ||
      count > kOrvendaleLayoutMaxCharacters || (glyphs == nullptr && capacity != 0)) {
    return -1;
  }
  for (std::uint32_t i = 0; i < count; ++i) {
    if (faceOfCharacter[i] >= faceCount || faces[faceOfCharacter[i]] == nullptr) return -1;
  }
  LayoutHolder layout;
  raqm_t* rq = layout.get();
  if (rq == nullptr || !raqm_set_text(rq, text, count) || !raqm_set_par_direction(rq, RAQM_DIRECTION_DEFAULT)) {
    return -1;
  }
  // One face per run of characters drawn with the same face.
  for (std::uint32_t start = 0; start < count;) {
    std::uint32_t end = start + 1;
    while (end < count && faceOfCharacter[end] == faceOfCharacter[start]) ++end;
    if (!raqm_set_freetype_face_range(rq, static_cast<FT_Face>(faces[faceOfCharacter[start]]), start, end - start)) {
      return -1;
    }
    start = end;
  }
  if (!raqm_layout(rq)) return -1;
  std::size_t total = 0;
  const raqm_glyph_t* laidOut = raqm_get_glyphs(rq, &total);
  if (laidOut == nullptr && total != 0) return -1;
  if (total > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) return -1;

  std::int64_t pen = 0;
  for (std::size_t i = 0; i < total; ++i) {
    const raqm_glyph_t& glyph = laidOut[i];
    if (i < capacity) {
      std::uint32_t face = 0;
      while (face < faceCount && faces[face] != glyph.ftface) ++face;
      if (face == faceCount) return -1;
      glyphs[i] = OrvendaleLayoutGlyph{face,
                                       glyph.index,
                                       ClampToInt32(pen + glyph.x_offset),
                                       glyph.y_offset,
                                       glyph.x_advance,
                                       glyph.cluster < count ? glyph.cluster : count - 1};
    }
    pen = ClampToInt32(pen + glyph.x_advance);
  }
  *width = pen;
  return static_cast<std::int32_t>(total);
}

int ExtendsCluster(std::uint32_t codePoint) {
  switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), codePoint)) {
    case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
    case HB_UNICODE_GENERAL_CATEGORY_FORMAT:
      return 1;
    default:
      return 0;
  }
}

}  // namespace

ORVENDALE_PLUGIN_DESCRIPTOR(OrvendaleTextLayout, {&LayOutLine, &ExtendsCluster});
