#include "platform/fonts/font.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/fault_injection.h"
#include "platform/fonts/font_runtime.h"
#include "platform/drawing/graphics.h"

namespace orvendale::platform {
namespace {

constexpr char16_t kDefaultFontFace[] = u"ＭＳ ゴシック";

// The size fontconfig is told before the face's design values are known; it only matters
// for the choice among bitmap strikes.
std::int32_t PixelSizeHint(std::int32_t logicalHeight) {
  if (logicalHeight == 0) return kDefaultCellHeight;
  const std::int64_t magnitude = logicalHeight < 0 ? -static_cast<std::int64_t>(logicalHeight)
                                                   : static_cast<std::int64_t>(logicalHeight);
  return static_cast<std::int32_t>(std::min<std::int64_t>(magnitude, kMaxPixelsPerEm));
}

GlyphRendering RenderingOf(const LogicalFont& record) {
  return record.quality == kAntialiasedQuality ? GlyphRendering::kGrey : GlyphRendering::kMonochrome;
}

}  // namespace

std::unique_ptr<FontInstance> FontInstance::Open(const LogicalFont& record) {
  auto matcher = FontMatcher::ForRecord(&record, PixelSizeHint(record.height));
  if (matcher == nullptr) return nullptr;
  FontFileMatch match;
  if (!matcher->BestMatch(&match)) return nullptr;
  // The pixel size follows from the face's design values, so the face is opened first
  // at the hint and then set to its size.
  const GlyphRendering rendering = RenderingOf(record);
  auto primary = FontFace::Open(match.file, match.faceIndex, PixelSizeHint(record.height), match.embolden,
                                rendering);
  if (primary == nullptr) return nullptr;
  const FontMetrics metrics = MetricsForHeight(record.height, primary->Design());
  if (metrics.pixelsPerEm == 0 || !primary->SetPixelsPerEm(metrics.pixelsPerEm)) return nullptr;
  return std::unique_ptr<FontInstance>(
      new FontInstance(std::move(matcher), std::move(primary), metrics, rendering));
}

FontInstance::FontInstance(std::unique_ptr<FontMatcher> matcher, std::unique_ptr<FontFace> primary,
                           FontMetrics metrics, GlyphRendering rendering)
    : matcher_(std::move(matcher)), primary_(std::move(primary)), metrics_(metrics),
      rendering_(rendering) {}

GlyphSource FontInstance::Find(char32_t codePoint) {
  if (const std::uint32_t index = primary_->GlyphIndex(codePoint); index != 0) {
    return GlyphSource{primary_.get(), index};
  }
  if (const auto found = found_.find(codePoint); found != found_.end()) return found->second;

  GlyphSource source{primary_.get(), 0};  // the missing-character glyph
  matcher_->FindFallback(codePoint, [&](const FontFileMatch& match) {
    FontFace* face = OpenFallback(match);
    if (face == nullptr) return false;
    const std::uint32_t index = face->GlyphIndex(codePoint);
    if (index == 0) return false;  // the character set promised more than the face has
    source = GlyphSource{face, index};
    return true;
  });
  found_.emplace(codePoint, source);
  return source;
}

FontFace* FontInstance::OpenFallback(const FontFileMatch& match) {
  const auto same = [&](const FontFace* face) {
    return face->file() == match.file && face->faceIndex() == match.faceIndex;
  };
  if (same(primary_.get())) return nullptr;  // it lacks the character already
  for (const auto& face : fallbacks_) {
    if (same(face.get())) return face.get();
  }
  if (std::find(unusableFiles_.begin(), unusableFiles_.end(), match.file) != unusableFiles_.end()) {
    return nullptr;
  }
  // Characters from another font are drawn at the main face's pixel size and baseline.
  auto face = FontFace::Open(match.file, match.faceIndex, metrics_.pixelsPerEm, match.embolden, rendering_);
  if (face == nullptr) {
    unusableFiles_.push_back(match.file);
    return nullptr;
  }
  fallbacks_.push_back(std::move(face));
  return fallbacks_.back().get();
}

FontInstance* InstanceOf(Font* font) {
  if (font == nullptr) return nullptr;
  if (!font->openTried) {
    font->openTried = true;
    if (!ShouldFail(FaultPoint::kOpenFont)) font->instance = FontInstance::Open(font->record);
  }
  return font->instance.get();
}

FontInstance* DefaultFontInstance() {
  // The libraries are created before the holder, so they are released after it at exit.
  FreeTypeLibrary();
  FontConfiguration();
  static const std::unique_ptr<FontInstance> instance = [] {
    LogicalFont record;
    record.height = 0;
    record.charSet = kShiftJisCharSet;
    std::copy(std::begin(kDefaultFontFace), std::end(kDefaultFontFace), record.faceName);
    return FontInstance::Open(record);
  }();
  return instance.get();
}

Font* CreateFontIndirect(const LogicalFont* record) {
  if (record == nullptr || ShouldFail(FaultPoint::kCreateFont)) return nullptr;
  return new (std::nothrow) Font{*record, false, nullptr};
}

void DeleteFont(Font* font) { delete font; }

}  // namespace orvendale::platform
