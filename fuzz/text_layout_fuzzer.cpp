// The layout of one line of arbitrary text, through the platform's text drawing: the
// input's first byte picks the face and the drawing flags, the rest is UTF-16 (lone
// surrogates, marks, joiners, direction controls and all). The text is measured and
// drawn into a small surface; the measured width must stay within what the glyphs of the
// text can advance, and the drawing must not write outside the surface (the sanitizers
// watch that).

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/drawing/gdi_objects.h"
#include "platform/drawing/graphics.h"

namespace orvendale {
namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Faces with the scripts the layout handles, and one without most of them.
constexpr const char16_t* kFaces[] = {u"DejaVu Sans", u"Noto Sans Arabic", u"Noto Sans Hebrew",
                                      u"Noto Sans Devanagari", u"Noto Sans Thai", u"IPAGothic"};
constexpr std::int32_t kHeights[] = {-12, -20, 16, -1};
// Longer inputs reach no new code and only slow the search down.
constexpr std::size_t kMaxUnits = 600;
// More than the widest advance a character can have at the largest height tried (about 20
// pixels an em): the widest, U+FDFD, a whole phrase in one Arabic glyph, is about 8 em.
constexpr std::int64_t kMostAdvance = 400;

struct Surface {
  platform::DrawingContext* context = nullptr;
  platform::Bitmap* bitmap = nullptr;
  platform::Font* fonts[std::size(kFaces)][std::size(kHeights)] = {};

  Surface() {
    context = platform::CreateCompatibleContext(platform::GetScreenContext());
    platform::BitmapInfo info{};
    info.header.width = 160;
    info.header.height = 32;
    bitmap = platform::CreateDibSection(platform::GetScreenContext(), &info, 0, nullptr, 0, nullptr);
    Check(context != nullptr && bitmap != nullptr);
    platform::SelectBitmap(context, bitmap);
    platform::SetBackgroundMode(context, platform::kTransparent);
    for (std::size_t face = 0; face < std::size(kFaces); ++face) {
      for (std::size_t height = 0; height < std::size(kHeights); ++height) {
        platform::LogicalFont record;
        record.height = kHeights[height];
        record.charSet = platform::kShiftJisCharSet;
        for (int i = 0; i < platform::kFaceNameCapacity - 1 && kFaces[face][i] != 0; ++i) {
          record.faceName[i] = kFaces[face][i];
        }
        fonts[face][height] = platform::CreateFontIndirect(&record);
        // Opened now, so that the font libraries, made on first use, outlive the fonts.
        platform::SelectFont(context, fonts[face][height]);
        Rect measured{0, 0, 0, 0};
        platform::DrawText(context, u"a", 1, &measured, platform::TextFlags::kCalculateRect);
      }
    }
  }
  ~Surface() {
    platform::SelectFont(context, nullptr);
    platform::SelectBitmap(context, nullptr);
    for (auto& sizes : fonts) {
      for (platform::Font* font : sizes) platform::DeleteFont(font);
    }
    platform::DeleteBitmap(bitmap);
    platform::DeleteContext(context);
  }
  Surface(const Surface&) = delete;
  Surface& operator=(const Surface&) = delete;
};

}  // namespace
}  // namespace orvendale

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (::setenv("ORVENDALE_PLUGIN_DIR", ORVENDALE_PLUGIN_BUILD_DIR, 1) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvendale;
  static Surface surface;
  if (size < 2) return 0;
  const std::uint8_t choice = data[0];
  const std::size_t face = (choice & 0x07) % std::size(kFaces);
  const std::size_t height = (choice >> 3 & 0x03) % std::size(kHeights);
  std::uint32_t flags = 0;
  if ((choice & 0x20) != 0) flags |= platform::TextFlags::kSingleLine;
  if ((choice & 0x40) != 0) flags |= platform::TextFlags::kRight;
  if ((choice & 0x80) != 0) flags |= platform::TextFlags::kNoPrefix;

  std::u16string text;
  for (std::size_t i = 1; i + 1 < size && text.size() < kMaxUnits; i += 2) {
    text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  }
  platform::SelectFont(surface.context, surface.fonts[face][height]);
  Rect measured{0, 0, 0, 0};
  platform::DrawText(surface.context, text.data(), static_cast<int>(text.size()), &measured,
                     flags | platform::TextFlags::kCalculateRect);
  Check(measured.right >= 0);
  Check(measured.right <= kMostAdvance * static_cast<std::int64_t>(text.size() + 1));
  Rect area{-7, 0, 150, 32};
  platform::DrawText(surface.context, text.data(), static_cast<int>(text.size()), &area, flags);
  return 0;
}
