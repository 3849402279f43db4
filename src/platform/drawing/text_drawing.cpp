// Single-line text drawing and measuring: prefix processing, placement in the rectangle
// by the flags, and glyphs (monochrome, or grey coverage blended) clipped to the
// rectangle and the bitmap. A line whose characters need it is laid out by the text
// layout engine (text_layout.h); every other line places its glyphs one by one, left to right.

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "platform/drawing/blend.h"
#include "platform/fonts/font.h"
#include "platform/drawing/gdi_objects.h"
#include "platform/drawing/graphics.h"
#include "platform/drawing/text_layout.h"
#include "platform/system/text.h"

namespace orvendale::platform {
namespace {

constexpr char16_t kPrefix = u'&';
constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr std::size_t kNoUnderline = std::numeric_limits<std::size_t>::max();
// The background of opaque text: a new context's background colour, white.
constexpr ColorRef kOpaqueBackground = 0x00FFFFFF;

// The text as it is drawn: code points after prefix processing, and which of them (if
// any) is underlined.
struct ProcessedText {
  std::vector<char32_t> characters;
  std::size_t underlined = kNoUnderline;
};

bool IsLineBreak(char32_t c) { return c == U'\r' || c == U'\n'; }

// Decodes `count` UTF-16 units into code points (an unpaired surrogate becomes U+FFFD).
// With prefix processing, "&&" gives "&", "&c" drops the "&" and marks the first such
// character as underlined, and a lone "&" at the very end stays.
ProcessedText ProcessText(const char16_t* text, std::size_t count, bool prefixes) {
  ProcessedText processed;
  processed.characters.reserve(count);
  std::size_t i = 0;
  while (i < count) {
    bool underline = false;
    if (prefixes && text[i] == kPrefix && i + 1 < count) {
      ++i;  // the "&" itself is never drawn
      underline = text[i] != kPrefix && processed.underlined == kNoUnderline;
      if (text[i] == kPrefix) {
        processed.characters.push_back(U'&');
        ++i;
        continue;
      }
    }
    char32_t codePoint = text[i++];
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) {
      if (codePoint <= 0xDBFF && i < count && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
        codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[i++] - 0xDC00);
      } else {
        codePoint = kReplacementCharacter;
      }
    }
    if (underline) processed.underlined = processed.characters.size();
    processed.characters.push_back(codePoint);
  }
  return processed;
}

// One laid-out line: a range of the processed characters and their glyphs.
struct Line {
  std::size_t first = 0;
  std::size_t end = 0;
  std::int64_t width = 0;  // the sum of the advances, in pixels
  bool laidOut = false;    // drawn from `complex` rather than glyph by glyph
  ComplexLine complex;
};

// Hands the lines that need it to the layout engine, which then gives their width too.
void LayOutComplexLines(FontInstance& font, const ProcessedText& text, std::vector<Line>& lines) {
  for (Line& line : lines) {
    const auto begin = text.characters.begin() + static_cast<std::ptrdiff_t>(line.first);
    const auto end = text.characters.begin() + static_cast<std::ptrdiff_t>(line.end);
    if (std::none_of(begin, end, NeedsComplexLayout)) continue;
    if (LayOutComplexLine(font, text.characters.data() + line.first, line.end - line.first, &line.complex)) {
      line.laidOut = true;
      line.width = line.complex.width;
    }
  }
}

// Splits at CR LF, LF or CR unless the text is a single line; measures each line.
std::vector<Line> LayOutLines(const ProcessedText& text, const std::vector<GlyphSource>& glyphs,
                              bool singleLine) {
  std::vector<Line> lines;
  Line line;
  for (std::size_t i = 0; i < text.characters.size(); ++i) {
    const char32_t c = text.characters[i];
    if (!singleLine && IsLineBreak(c)) {
      line.end = i;
      lines.push_back(std::move(line));
      if (c == U'\r' && i + 1 < text.characters.size() && text.characters[i + 1] == U'\n') ++i;
      line = Line{};
      line.first = line.end = i + 1;
      continue;
    }
    line.width += glyphs[i].face->GetGlyph(glyphs[i].glyphIndex).advance;
  }
  line.end = text.characters.size();
  lines.push_back(line);
  return lines;
}

std::int32_t SaturateToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Where drawing may write: the intersection of the clip rectangle and the bitmap.
struct ClipBox {
  std::int64_t left = 0;
  std::int64_t top = 0;
  std::int64_t right = 0;
  std::int64_t bottom = 0;
  bool Empty() const { return right <= left || bottom <= top; }
};

// Paints [left, right) x [top, bottom), clipped, with `pixel`.
void FillClipped(Bitmap& bitmap, const ClipBox& clip, std::int64_t left, std::int64_t top,
                 std::int64_t right, std::int64_t bottom, std::uint32_t pixel) {
  const std::int64_t x0 = std::max(left, clip.left);
  const std::int64_t x1 = std::min(right, clip.right);
  const std::int64_t y0 = std::max(top, clip.top);
  const std::int64_t y1 = std::min(bottom, clip.bottom);
  if (x1 <= x0 || y1 <= y0) return;
  for (std::int64_t y = y0; y < y1; ++y) {
    std::uint32_t* row = bitmap.Row(static_cast<std::int32_t>(y));
    std::fill(row + x0, row + x1, pixel);
  }
}

// Paints the ink of `glyph` whose origin (the pen on the baseline) is at (penX, baseline).
// `pixel` is the word the bitmap stores where the ink covers a pixel whole (SolidPixel);
// grey coverage lays its colour over the pixel at the coverage's strength.
void DrawGlyph(Bitmap& bitmap, const ClipBox& clip, const Glyph& glyph, std::int64_t penX,
               std::int64_t baseline, std::uint32_t pixel) {
  const std::int64_t glyphLeft = penX + glyph.left;
  const std::int64_t glyphTop = baseline - glyph.top;
  // Only the part of the glyph inside the clip box is walked.
  const std::int64_t firstColumn = std::max<std::int64_t>(0, clip.left - glyphLeft);
  const std::int64_t endColumn = std::min<std::int64_t>(glyph.width, clip.right - glyphLeft);
  const std::int64_t firstRow = std::max<std::int64_t>(0, clip.top - glyphTop);
  const std::int64_t endRow = std::min<std::int64_t>(glyph.rows, clip.bottom - glyphTop);
  const PixelAlpha alpha = bitmap.HasAlpha() ? PixelAlpha::kStraight : PixelAlpha::kNone;
  for (std::int64_t row = firstRow; row < endRow; ++row) {
    std::uint32_t* target = bitmap.Row(static_cast<std::int32_t>(glyphTop + row));
    for (std::int64_t column = firstColumn; column < endColumn; ++column) {
      const std::uint32_t coverage =
          glyph.Coverage(static_cast<std::int32_t>(column), static_cast<std::int32_t>(row));
      if (coverage == 0) continue;
      std::uint32_t& out = target[glyphLeft + column];
      out = coverage == 255 ? pixel : BlendOver(out, pixel, coverage, alpha);
    }
  }
}

}  // namespace

int DrawText(DrawingContext* context, const char16_t* text, int length, Rect* rect,
             std::uint32_t flags) {
  if (context == nullptr || text == nullptr || rect == nullptr || length < -1) return 0;
  // A selected font that cannot be opened (no font matches it, its file is broken, its
  // size comes to zero pixels) gives way to the context's default font, as when none is
  // selected: the text is drawn in some font rather than not at all.
  FontInstance* font = InstanceOf(context->font);
  if (font == nullptr) font = DefaultFontInstance();
  if (font == nullptr) return 0;

  const std::size_t count = length == -1 ? static_cast<std::size_t>(WideLength(text))
                                         : static_cast<std::size_t>(length);
  const ProcessedText processed = ProcessText(text, count, (flags & TextFlags::kNoPrefix) == 0);
  std::vector<GlyphSource> glyphs;
  glyphs.reserve(processed.characters.size());
  for (const char32_t c : processed.characters) glyphs.push_back(font->Find(c));

  const bool singleLine = (flags & TextFlags::kSingleLine) != 0;
  std::vector<Line> lines = LayOutLines(processed, glyphs, singleLine);
  LayOutComplexLines(*font, processed, lines);
  const FontMetrics& metrics = font->metrics();
  const std::int64_t lineHeight = metrics.LineHeight();
  const std::int64_t textHeight = lineHeight * static_cast<std::int64_t>(lines.size());

  if ((flags & TextFlags::kCalculateRect) != 0) {
    std::int64_t widest = 0;
    for (const Line& line : lines) widest = std::max(widest, line.width);
    rect->right = SaturateToInt32(rect->left + widest);
    rect->bottom = SaturateToInt32(rect->top + textHeight);
    return SaturateToInt32(textHeight);
  }

  // Vertical placement applies to a single line only, as on the platform.
  std::int64_t y = rect->top;
  if (singleLine && (flags & TextFlags::kVerticalCenter) != 0) {
    y = rect->top + (static_cast<std::int64_t>(rect->bottom) - rect->top - lineHeight) / 2;
  } else if (singleLine && (flags & TextFlags::kBottom) != 0) {
    y = rect->bottom - lineHeight;
  }
  const std::int64_t textBottom = y + textHeight;

  ClipBox clip;
  if (context->bitmap != nullptr) {
    const Rect area = (flags & TextFlags::kNoClip) != 0 ? Rect{0, 0, context->bitmap->width, context->bitmap->height}
                                                        : ClipToBitmap(*context, *rect);
    clip = ClipBox{area.left, area.top, area.right, area.bottom};
  }
  if (clip.Empty()) return SaturateToInt32(textBottom - rect->top);

  Bitmap& bitmap = *context->bitmap;
  const std::uint32_t textPixel = SolidPixel(bitmap, context->textColor);
  for (const Line& line : lines) {
    std::int64_t x = rect->left;
    if ((flags & TextFlags::kCenter) != 0) {
      x = (static_cast<std::int64_t>(rect->left) + rect->right - line.width) / 2;
    } else if ((flags & TextFlags::kRight) != 0) {
      x = rect->right - line.width;
    }
    if (context->backgroundMode == kOpaque) {
      FillClipped(bitmap, clip, x, y, x + line.width, y + lineHeight,
                  SolidPixel(bitmap, kOpaqueBackground));
    }
    const std::int64_t baseline = y + metrics.ascent;
    if (line.laidOut) {
      for (const PlacedGlyph& placed : line.complex.glyphs) {
        DrawGlyph(bitmap, clip, placed.face->GetGlyph(placed.glyphIndex), x + placed.x, baseline - placed.raise,
                  textPixel);
      }
      std::int64_t left = 0;
      std::int64_t width = 0;
      if (processed.underlined >= line.first && processed.underlined < line.end &&
          ClusterExtent(line.complex, processed.underlined - line.first, &left, &width)) {
        FillClipped(bitmap, clip, x + left, baseline + 1, x + left + width - 1, baseline + 2, textPixel);
      }
      y += lineHeight;
      continue;
    }
    std::int64_t pen = x;
    for (std::size_t i = line.first; i < line.end; ++i) {
      const Glyph& glyph = glyphs[i].face->GetGlyph(glyphs[i].glyphIndex);
      const std::int64_t advance = glyph.advance;
      DrawGlyph(bitmap, clip, glyph, pen, baseline, textPixel);
      if (i == processed.underlined) {
        FillClipped(bitmap, clip, pen, baseline + 1, pen + advance - 1, baseline + 2, textPixel);
      }
      pen += advance;
    }
    y += lineHeight;
  }
  return SaturateToInt32(textBottom - rect->top);
}

}  // namespace orvendale::platform
