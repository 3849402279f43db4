// Pixels with alpha: one colour laid over a pixel, grey glyphs, and rectangle fills on a
// bitmap that carries its own alpha.

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "platform/drawing/blend.h"
#include "platform/drawing/gdi_objects.h"
#include "platform/drawing/graphics.h"
#include "platform/drawing_support.h"
#include "platform/fonts/font.h"

namespace orvendale::platform {
namespace {

TEST(BlendOver, CompositesStraightAlphaOrBlendsColourChannels) {
  const struct {
    std::uint32_t under;
    std::uint32_t color;
    std::uint32_t alpha;
    PixelAlpha mode;
    std::uint32_t expected;
    const char* why;
  } cases[] = {
      {0x00000000, 0x123456, 0, PixelAlpha::kStraight, 0x00000000, "no coverage leaves the pixel"},
      {0x00000000, 0x123456, 77, PixelAlpha::kStraight, 0x4D123456, "over transparency: the colour, alpha = coverage"},
      {0x00FFFFFF, 0x123456, 255, PixelAlpha::kStraight, 0xFF123456, "whole coverage is opaque"},
      {0xFFFFFFFF, 0x000000, 128, PixelAlpha::kStraight, 0xFF7F7F7F, "over opaque white: opaque grey"},
      {0x80FF0000, 0x0000FF, 128, PixelAlpha::kStraight, 0xC05500AA, "half over half: alpha 3/4, blue weighs 2/3"},
      {0x40FFFFFF, 0xFFFFFF, 64, PixelAlpha::kStraight, 0x70FFFFFF, "one colour over itself keeps it"},
      {0x00FF00FF, 0x000000, 128, PixelAlpha::kNone, 0x007F007F, "no alpha: channels blended, top byte 0"},
      {0x00FFFFFF, 0x123456, 255, PixelAlpha::kNone, 0x00123456, "no alpha, whole coverage"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BlendOver(c.under, c.color, c.alpha, c.mode), c.expected) << c.why;
  }
}

TEST(BlendOver, AlphaNeverFallsAndColourStaysBetweenItsInputs) {
  for (std::uint32_t under = 0; under <= 255; under += 15) {
    for (std::uint32_t alpha = 1; alpha <= 255; alpha += 2) {
      const std::uint32_t result = BlendOver(under << 24 | 0x0000FF, 0xFF0000, alpha, PixelAlpha::kStraight);
      EXPECT_GE(result >> 24, std::max(under, alpha)) << under << " " << alpha;
      EXPECT_EQ(result >> 8 & 0xFF, 0u);
      EXPECT_NEAR(static_cast<double>((result >> 16 & 0xFF) + (result & 0xFF)), 255.0, 1.0) << "red and blue share the pixel";
    }
  }
}

BitmapInfo AlphaInfo(std::int32_t width, std::int32_t height) {
  BitmapInfo info{};
  info.header.width = width;
  info.header.height = height;
  info.header.compression = kAlphaBitFields;
  return info;
}

TEST(AlphaBitmap, StartsTransparentAndFillsOpaque) {
  const BitmapInfo info = AlphaInfo(4, 3);
  testing::BitmapPtr bitmap(CreateDibSection(GetScreenContext(), &info, 0, nullptr, 0, nullptr));
  ASSERT_NE(bitmap, nullptr);
  EXPECT_TRUE(bitmap->HasAlpha());
  DrawingContext* context = CreateCompatibleContext(GetScreenContext());
  SelectBitmap(context, bitmap.get());
  Brush* brush = CreateSolidBrush(MakeColorRef(1, 2, 3));
  const Rect part{1, 1, 3, 2};
  FillRect(context, &part, brush);
  DeleteBrush(brush);
  for (std::int32_t y = 0; y < 3; ++y) {
    for (std::int32_t x = 0; x < 4; ++x) {
      const bool filled = x >= 1 && x < 3 && y == 1;
      EXPECT_EQ(bitmap->Row(y)[x], filled ? 0xFF010203u : 0u) << x << "," << y;
    }
  }
  SelectBitmap(context, nullptr);
  DeleteContext(context);

  BitmapInfo other = AlphaInfo(4, 3);
  other.header.compression = 3;  // plain bit fields: not a layout the platform makes
  EXPECT_EQ(CreateDibSection(GetScreenContext(), &other, 0, nullptr, 0, nullptr), nullptr);
}

// Text drawn into a bitmap with alpha with a smooth font, and the same text monochrome.
class SmoothText : public ::testing::Test {
 protected:
  static constexpr std::int32_t kWidth = 120;
  static constexpr std::int32_t kHeight = 40;
  static constexpr ColorRef kColor = MakeColorRef(200, 40, 10);

  testing::BitmapPtr Draw(std::uint8_t quality, std::uint32_t compression) {
    BitmapInfo info = AlphaInfo(kWidth, kHeight);
    info.header.compression = compression;
    testing::BitmapPtr bitmap(CreateDibSection(GetScreenContext(), &info, 0, nullptr, 0, nullptr));
    LogicalFont record;
    record.height = -20;
    record.quality = quality;
    const char16_t face[] = u"DejaVu Sans";
    std::copy(std::begin(face), std::end(face), record.faceName);
    testing::FontPtr font(CreateFontIndirect(&record));
    DrawingContext* context = CreateCompatibleContext(GetScreenContext());
    SelectBitmap(context, bitmap.get());
    SelectFont(context, font.get());
    SetBackgroundMode(context, kTransparent);
    SetTextColor(context, kColor);
    Rect area{2, 2, kWidth, kHeight};
    DrawText(context, u"Sag 20", -1, &area, TextFlags::kSingleLine);
    SelectFont(context, nullptr);
    SelectBitmap(context, nullptr);
    DeleteContext(context);
    return bitmap;
  }
};

TEST_F(SmoothText, CoverageBecomesAlphaInTheTextColour) {
  const testing::BitmapPtr smooth = Draw(kAntialiasedQuality, kAlphaBitFields);
  std::set<std::uint32_t> alphas;
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
      const std::uint32_t pixel = smooth->Row(y)[x];
      if (pixel == 0) continue;
      alphas.insert(pixel >> 24);
      EXPECT_EQ(pixel & 0xFFFFFF, PixelFromColorRef(kColor)) << "edges keep the text colour";
    }
  }
  EXPECT_TRUE(alphas.count(255) == 1) << "inside a glyph the colour is at full strength";
  EXPECT_GT(alphas.size(), 20u) << "edges are partly transparent";
}

TEST_F(SmoothText, InkLiesWhereTheMonochromeInkLies) {
  const testing::BitmapPtr smooth = Draw(kAntialiasedQuality, kAlphaBitFields);
  const testing::BitmapPtr mono = Draw(0, kAlphaBitFields);
  int monoInk = 0;
  int shared = 0;
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
      const std::uint32_t monoPixel = mono->Row(y)[x];
      EXPECT_TRUE(monoPixel == 0 || monoPixel == (0xFF000000u | PixelFromColorRef(kColor)))
          << "monochrome text on alpha is opaque or nothing";
      if (monoPixel == 0) continue;
      ++monoInk;
      shared += smooth->Row(y)[x] >> 24 >= 64 ? 1 : 0;
    }
  }
  ASSERT_GT(monoInk, 100);
  // Light hinting moves some stems by a pixel against monochrome hinting.
  EXPECT_GT(shared * 100, monoInk * 85) << "most monochrome pixels are well covered";
}

TEST_F(SmoothText, WithoutAlphaTheColourChannelsBlendAndTheTopByteStaysZero) {
  const testing::BitmapPtr smooth = Draw(kAntialiasedQuality, kUncompressedRgb);
  int blended = 0;
  for (std::int32_t y = 0; y < kHeight; ++y) {
    for (std::int32_t x = 0; x < kWidth; ++x) {
      const std::uint32_t pixel = smooth->Row(y)[x];
      EXPECT_EQ(pixel >> 24, 0u);
      blended += pixel != 0 && pixel != PixelFromColorRef(kColor) ? 1 : 0;
    }
  }
  EXPECT_GT(blended, 20);
}

}  // namespace
}  // namespace orvendale::platform

namespace orvendale::platform {
namespace {

TEST(TransparentBlt, CopiesAllButTheKeyOpaqueAndClipsToBothBitmaps) {
  testing::Canvas source(3, 2);  // KeyColor everywhere
  source.context()->bitmap->Row(0)[1] = 0x00123456;
  source.context()->bitmap->Row(1)[2] = 0x00000000;
  const BitmapInfo info = AlphaInfo(4, 3);
  testing::BitmapPtr target(CreateDibSection(GetScreenContext(), &info, 0, nullptr, 0, nullptr));
  DrawingContext* context = CreateCompatibleContext(GetScreenContext());
  SelectBitmap(context, target.get());
  EXPECT_EQ(TransparentBlt(context, 1, 1, 3, 2, source.context(), 0, 0, 3, 2, KeyColor), 1);
  EXPECT_EQ(target->Row(1)[2], 0xFF123456u);
  EXPECT_EQ(target->Row(2)[3], 0xFF000000u) << "black is not the key";
  int untouched = 0;
  for (std::int32_t y = 0; y < 3; ++y) {
    for (std::int32_t x = 0; x < 4; ++x) untouched += target->Row(y)[x] == 0 ? 1 : 0;
  }
  EXPECT_EQ(untouched, 10) << "the key pixels leave the target as it was";

  // Partly outside both bitmaps: only the overlap is copied, nothing past an edge.
  EXPECT_EQ(TransparentBlt(context, -1, 2, 3, 2, source.context(), 0, 0, 3, 2, KeyColor), 1);
  EXPECT_EQ(target->Row(2)[0], 0xFF123456u);
  EXPECT_EQ(TransparentBlt(context, 0, 0, 3, 2, source.context(), 0, 0, 2, 2, KeyColor), 0)
      << "no stretching";
  EXPECT_EQ(TransparentBlt(context, 0, 0, 3, 2, nullptr, 0, 0, 3, 2, KeyColor), 0);
  SelectBitmap(context, nullptr);
  DeleteContext(context);
}

}  // namespace
}  // namespace orvendale::platform
