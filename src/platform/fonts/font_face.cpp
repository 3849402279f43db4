#include "platform/fonts/font_face.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

#include "platform/fonts/font_runtime.h"

namespace orvendale::platform {
namespace {

// Glyph bitmaps are kept up to this many bytes of ink per face; one run draws a few dozen
// distinct characters, so only very large sizes ever go past it.
constexpr std::size_t kGlyphCacheBytes = 4u << 20;

// round(value * numerator / denominator) for non-negative values, half away from zero.
std::int64_t RoundedRatio(std::int64_t value, std::int64_t numerator, std::int64_t denominator) {
  return (value * numerator * 2 + denominator) / (denominator * 2);
}

std::int32_t ClampPixelsPerEm(std::int64_t pixelsPerEm) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(pixelsPerEm, 1, kMaxPixelsPerEm));
}

// Whole pixels from a 26.6 advance, rounded up; kept inside int32.
std::int32_t WholePixels(FT_Pos advance) {
  const std::int64_t pixels = (static_cast<std::int64_t>(advance) + 63) >> 6;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      pixels, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

FontMetrics MetricsForHeight(std::int32_t logicalHeight, const DesignMetrics& design) {
  const std::int64_t unitsPerEm = design.unitsPerEm;
  const std::int64_t cell = static_cast<std::int64_t>(design.winAscent) + design.winDescent;
  if (unitsPerEm <= 0 || design.winAscent < 0 || design.winDescent < 0 || cell <= 0) return {};

  // Design values are 16-bit, heights at most 2^31: every product stays below 2^50.
  std::int64_t pixelsPerEm = 0;
  if (logicalHeight < 0) {
    pixelsPerEm = -static_cast<std::int64_t>(logicalHeight);  // [1, 2^31]
  } else {
    const std::int64_t cellHeight = logicalHeight == 0 ? kDefaultCellHeight : logicalHeight;
    pixelsPerEm = RoundedRatio(unitsPerEm, cellHeight, cell);  // [0, 2^47]
    // Above the largest size the size is clamped anyway, and the check could overflow.
    if (pixelsPerEm <= kMaxPixelsPerEm && RoundedRatio(cell, pixelsPerEm, unitsPerEm) > cellHeight) {
      --pixelsPerEm;
    }
  }
  FontMetrics metrics;
  metrics.pixelsPerEm = ClampPixelsPerEm(pixelsPerEm);
  // Each is at most 65535 * kMaxPixelsPerEm, inside int32.
  metrics.ascent = static_cast<std::int32_t>(RoundedRatio(design.winAscent, metrics.pixelsPerEm, unitsPerEm));
  metrics.descent = static_cast<std::int32_t>(RoundedRatio(design.winDescent, metrics.pixelsPerEm, unitsPerEm));
  return metrics;
}

std::unique_ptr<FontFace> FontFace::Open(const std::string& file, int faceIndex,
                                         std::int32_t pixelsPerEm, Embolden embolden,
                                         GlyphRendering rendering) {
  FT_Library library = FreeTypeLibrary();
  if (library == nullptr || faceIndex < 0) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(library, file.c_str(), faceIndex, &face) != 0) return nullptr;
  auto opened = std::unique_ptr<FontFace>(new FontFace(face, file, faceIndex, 0, embolden, rendering));
  if (!opened->SetPixelsPerEm(pixelsPerEm)) return nullptr;
  return opened;
}

bool FontFace::SetPixelsPerEm(std::int32_t pixelsPerEm) {
  const std::int32_t size = ClampPixelsPerEm(pixelsPerEm);
  if (FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(size)) != 0) {
    // A bitmap-only face without this size keeps its first size.
    if (face_->num_fixed_sizes <= 0 || FT_Select_Size(face_, 0) != 0) return false;
  }
  pixelsPerEm_ = size;
  cache_.clear();
  cachedBytes_ = 0;
  return true;
}

FontFace::FontFace(FT_FaceRec_* face, std::string file, int faceIndex, std::int32_t pixelsPerEm,
                   Embolden embolden, GlyphRendering rendering)
    : face_(face), file_(std::move(file)), faceIndex_(faceIndex), pixelsPerEm_(pixelsPerEm),
      embolden_(embolden), rendering_(rendering) {}

FontFace::~FontFace() { FT_Done_Face(face_); }

DesignMetrics FontFace::Design() const {
  DesignMetrics design;
  design.unitsPerEm = face_->units_per_EM;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2));
  const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face_, FT_SFNT_HHEA));
  if (os2 != nullptr && os2->version != 0xFFFF && (os2->usWinAscent != 0 || os2->usWinDescent != 0)) {
    design.winAscent = os2->usWinAscent;
    design.winDescent = os2->usWinDescent;
  } else if (hhea != nullptr) {
    design.winAscent = hhea->Ascender;
    design.winDescent = std::abs(static_cast<std::int32_t>(hhea->Descender));
  } else if (FT_IS_SCALABLE(face_)) {
    design.winAscent = face_->ascender;
    design.winDescent = std::abs(static_cast<std::int32_t>(face_->descender));
  } else {
    // A bitmap-only face: its one size in pixels stands in for the em.
    design.unitsPerEm = pixelsPerEm_;
    design.winAscent = static_cast<std::int32_t>(face_->size->metrics.ascender >> 6);
    design.winDescent = static_cast<std::int32_t>(-(face_->size->metrics.descender >> 6));
  }
  design.winAscent = std::max(design.winAscent, 0);
  design.winDescent = std::max(design.winDescent, 0);
  return design;
}

std::string FontFace::FamilyName() const {
  return face_->family_name != nullptr ? face_->family_name : "";
}

std::uint32_t FontFace::GlyphIndex(char32_t codePoint) const {
  return FT_Get_Char_Index(face_, codePoint);
}

const Glyph& FontFace::GetGlyph(std::uint32_t glyphIndex) {
  if (const auto found = cache_.find(glyphIndex); found != cache_.end()) return found->second;
  Glyph glyph;
  Render(glyphIndex, &glyph);
  if (cachedBytes_ + glyph.ink.size() > kGlyphCacheBytes) {
    scratch_ = std::move(glyph);
    return scratch_;
  }
  cachedBytes_ += glyph.ink.size();
  return cache_.emplace(glyphIndex, std::move(glyph)).first->second;
}

void FontFace::Render(std::uint32_t glyphIndex, Glyph* out) const {
  *out = Glyph{};
  const bool grey = rendering_ == GlyphRendering::kGrey;
  FT_Int32 loadFlags = grey ? FT_LOAD_TARGET_LIGHT : FT_LOAD_TARGET_MONO;
  // Synthesised bold thickens outlines, so embedded bitmaps are not used for it; smooth
  // text draws outlines too, where the face has them. A face of bitmap strikes only
  // keeps its bitmaps.
  if ((embolden_ == Embolden::kYes || grey) && FT_IS_SCALABLE(face_)) loadFlags |= FT_LOAD_NO_BITMAP;
  if (FT_Load_Glyph(face_, glyphIndex, loadFlags) != 0) return;
  FT_GlyphSlot slot = face_->glyph;
  if (embolden_ == Embolden::kYes && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    // ppem / 24 pixels, in 26.6 units.
    FT_Outline_Embolden(&slot->outline, static_cast<FT_Pos>(pixelsPerEm_) * 64 / 24);
  }
  out->advance = WholePixels(slot->advance.x);
  if (embolden_ == Embolden::kYes && out->advance < std::numeric_limits<std::int32_t>::max()) {
    ++out->advance;
  }
  if (slot->format != FT_GLYPH_FORMAT_BITMAP &&
      FT_Render_Glyph(slot, grey ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) {
    return;
  }

  const FT_Bitmap& bitmap = slot->bitmap;
  const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
  if (!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;  // no other mode is asked for
  if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.buffer == nullptr) return;
  out->left = slot->bitmap_left;
  out->top = slot->bitmap_top;
  out->width = static_cast<std::int32_t>(bitmap.width);
  out->rows = static_cast<std::int32_t>(bitmap.rows);
  out->format = grey ? GlyphInk::kCoverage : GlyphInk::kBits;
  const std::size_t bytesPerRow = static_cast<std::size_t>(out->BytesPerRow());
  out->ink.assign(bytesPerRow * static_cast<std::size_t>(out->rows), 0);

  // Grey levels above 255 (FreeType's bitmaps may declare fewer) are scaled to 255.
  const std::uint32_t levels = bitmap.num_grays > 1 ? bitmap.num_grays - 1u : 255u;
  const std::size_t stride = static_cast<std::size_t>(std::abs(bitmap.pitch));
  for (std::int32_t row = 0; row < out->rows; ++row) {
    // A negative pitch stores the rows bottom-up.
    const std::size_t sourceRow = bitmap.pitch >= 0 ? static_cast<std::size_t>(row)
                                                    : static_cast<std::size_t>(out->rows - 1 - row);
    const unsigned char* source = bitmap.buffer + sourceRow * stride;
    std::uint8_t* target = out->ink.data() + static_cast<std::size_t>(row) * bytesPerRow;
    if (mono == !grey) {
      std::copy(source, source + bytesPerRow, target);
      if (grey && levels != 255) {
        for (std::size_t x = 0; x < bytesPerRow; ++x) {
          target[x] = static_cast<std::uint8_t>(std::min<std::uint32_t>(target[x], levels) * 255 / levels);
        }
      }
      continue;
    }
    for (std::int32_t x = 0; x < out->width; ++x) {
      if (grey) {
        // A monochrome bitmap strike in a smooth font: whole coverage or none.
        if ((source[x / 8] & (0x80u >> (x % 8))) != 0) target[x] = 0xFF;
      } else if (source[x] >= 0x80) {
        // A grey bitmap (an embedded one) is cut at half coverage, so no grey ever
        // reaches a monochrome surface.
        target[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
      }
    }
  }
  // Bits past the width in the last byte of a row are not ink.
  if (!grey && out->width % 8 != 0) {
    const auto mask = static_cast<std::uint8_t>(0xFFu << (8 - out->width % 8));
    for (std::int32_t row = 0; row < out->rows; ++row) {
      out->ink[static_cast<std::size_t>(row) * bytesPerRow + bytesPerRow - 1] &= mask;
    }
  }
}

}  // namespace orvendale::platform
