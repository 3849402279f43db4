#include "render/surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/drawing_support.h"
#include "platform/fault_injection.h"
#include "platform/fonts/font.h"
#include "platform/drawing/gdi_objects.h"
#include "settings/ini_document.h"
#include "support/settings_text.h"

namespace orvendale {
namespace {

using platform::DibDescription;

struct SurfaceDeleter {
  void operator()(platform::Bitmap* surface) const { platform::DeleteBitmap(surface); }
};
using SurfacePtr = std::unique_ptr<platform::Bitmap, SurfaceDeleter>;

// The pixel words of a surface in memory order.
std::vector<std::uint32_t> MemoryWords(Surface surface) {
  DibDescription description;
  if (!platform::GetDibDescription(surface, &description)) return {};
  const auto* words = static_cast<const std::uint32_t*>(description.bitmap.bits);
  return std::vector<std::uint32_t>(words, words + description.header.sizeImage / 4);
}

using Settings = testing::SettingsText;

TEST(Surface, HeaderDescribesA32BitBottomUpBitmap) {
  SurfacePtr surface(CreateSurface(platform::GetScreenContext(), 3, 2));
  ASSERT_NE(surface, nullptr);
  DibDescription description;
  ASSERT_TRUE(platform::GetDibDescription(surface.get(), &description));
  EXPECT_EQ(description.header.size, 40u);
  EXPECT_EQ(description.header.width, 3);
  EXPECT_EQ(description.header.height, 2);
  EXPECT_EQ(description.header.planes, 1);
  EXPECT_EQ(description.header.bitCount, 32);
  EXPECT_EQ(description.header.compression, 0u);
  EXPECT_EQ(description.header.sizeImage, 24u);
  EXPECT_EQ(description.header.xPelsPerMeter, kPixelsPerMetre);
  EXPECT_EQ(description.header.yPelsPerMeter, kPixelsPerMetre);
  EXPECT_EQ(description.bitmap.widthBytes, 12);
}

TEST(Surface, KeyFillCoversEveryPixelAndMakesTextTransparent) {
  SurfacePtr surface(CreateSurface(platform::GetScreenContext(), 3, 2));
  testing::ContextPtr context(platform::CreateCompatibleContext(platform::GetScreenContext()));
  platform::SelectBitmap(context.get(), surface.get());
  FillKeyBackground(context.get(), Rect{0, 0, 3, 2});
  EXPECT_EQ(MemoryWords(surface.get()), std::vector<std::uint32_t>(6, 0x00FF00FFu));
  EXPECT_EQ(platform::SetBackgroundMode(context.get(), platform::kOpaque), platform::kTransparent);
  platform::SelectBitmap(context.get(), nullptr);
}

TEST(Surface, BottomRowOfThePictureIsFirstInMemoryAndFillsClip) {
  SurfacePtr surface(CreateSurface(platform::GetScreenContext(), 3, 2));
  testing::ContextPtr context(platform::CreateCompatibleContext(platform::GetScreenContext()));
  platform::SelectBitmap(context.get(), surface.get());
  constexpr std::uint32_t k = 0x00FF00FF;
  const struct {
    Rect rect;
    std::vector<std::uint32_t> memory;  // bottom row first
  } cases[] = {
      {{0, 1, 3, 2}, {k, k, k, 0, 0, 0}},     // the picture's bottom row
      {{0, 0, 3, 1}, {0, 0, 0, k, k, k}},     // the picture's top row
      {{2, 0, 10, 1}, {0, 0, 0, 0, 0, k}},    // beyond the right edge
      {{-5, -5, 1, 100}, {k, 0, 0, k, 0, 0}},  // beyond the left, top and bottom
      {{1, 0, 1, 2}, {0, 0, 0, 0, 0, 0}},     // empty
  };
  for (const auto& c : cases) {
    for (std::uint32_t& word : std::span(static_cast<std::uint32_t*>(surface->pixels.get()), 6)) word = 0;
    FillKeyBackground(context.get(), c.rect);
    EXPECT_EQ(MemoryWords(surface.get()), c.memory)
        << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
  }
  platform::SelectBitmap(context.get(), nullptr);
}

TEST(Surface, UnusableSizesGiveNone) {
  const struct {
    std::int32_t width;
    std::int32_t height;
  } cases[] = {{0, 2}, {3, 0}, {-1, 5}, {5, -1}, {-32768, -32768}, {8193, 8192}, {65535, 65535},
               {2147483647, 2147483647}};
  for (const auto& c : cases) {
    EXPECT_EQ(CreateSurface(platform::GetScreenContext(), c.width, c.height), nullptr)
        << c.width << " x " << c.height;
  }
  platform::ArmFault(platform::FaultPoint::kCreateBitmapSection);
  EXPECT_EQ(CreateSurface(platform::GetScreenContext(), 3, 2), nullptr);
  platform::ClearFaults();
  SurfacePtr one(CreateSurface(platform::GetScreenContext(), 1, 1));
  EXPECT_NE(one, nullptr);
}

struct FontCase {
  const char* settings;
  std::int32_t height;
  std::int32_t weight;
  std::u16string face;
};

const std::u16string kThirtyOne = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde";

const FontCase kFontCases[] = {
    {"", 0, 0, kDefaultFaceName},
    {"[Font]\r\nHeight=-12\r\n", -12, 0, kDefaultFaceName},
    {"[Font]\r\nHeight=0\r\nSize=10\r\n", 10, 0, kDefaultFaceName},
    {"[Font]\r\nSize=10\r\n", 10, 0, kDefaultFaceName},
    {"[Font]\r\nHeight=65536\r\nSize=14\r\n", 14, 0, kDefaultFaceName},
    {"[Font]\r\nHeight=70000\r\n", 4464, 0, kDefaultFaceName},
    {"[Font]\r\nHeight=40000\r\n", -25536, 0, kDefaultFaceName},
    {"[Font]\r\nHeight=-32768\r\n", -32768, 0, kDefaultFaceName},
    {"[Font]\r\nHeight=\r\nSize=9\r\n", 9, 0, kDefaultFaceName},
    {"[Font]\r\nWeight=bold\r\n", 0, 700, kDefaultFaceName},
    {"[Font]\r\nWeight=Bold\r\n", 0, 700, kDefaultFaceName},
    {"[Font]\r\nWeight=bolder\r\n", 0, 0, kDefaultFaceName},
    {"[Font]\r\nWeight=700\r\n", 0, 0, kDefaultFaceName},
    {"[Font]\r\nFace=Tahoma\r\nFont=Arial\r\n", 0, 0, u"Tahoma"},
    {"[Font]\r\nFont=Arial\r\n", 0, 0, u"Arial"},
    {"[Font]\r\nFace=\r\nFont=Arial\r\n", 0, 0, u"Arial"},
    {"[Font]\r\nFont=\r\n", 0, 0, u""},
    {"[Font]\r\nFace=ＭＳ Ｐゴシック\r\n", 0, 0, u"ＭＳ Ｐゴシック"},
    {"[Font]\r\nFace=ABCDEFGHIJKLMNOPQRSTUVWXYZabcde\r\n", 0, 0, kThirtyOne},
    {"[Font]\r\nFace=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef\r\nFont=Arial\r\n", 0, 0, u"Arial"},
    {"[Font]\r\nFace=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef\r\n", 0, 0, kDefaultFaceName},
    {"[Contents]\r\nHeight=20\r\nFace=Tahoma\r\n", 0, 0, kDefaultFaceName},
};

TEST(ConfiguredFont, RecordFieldsComeFromTheFontSection) {
  for (const FontCase& c : kFontCases) {
    SCOPED_TRACE(c.settings);
    Settings settings(c.settings);
    platform::Font* font = CreateConfiguredFont(settings.document(), "Font");
    ASSERT_NE(font, nullptr);
    const platform::LogicalFont& record = font->record;
    EXPECT_EQ(record.height, c.height);
    EXPECT_EQ(record.weight, c.weight);
    EXPECT_EQ(std::u16string(record.faceName), c.face);
    EXPECT_EQ(record.charSet, 128);
    EXPECT_EQ(record.width | record.escapement | record.orientation, 0);
    EXPECT_EQ(record.italic | record.underline | record.strikeOut | record.outPrecision |
                  record.clipPrecision | record.quality | record.pitchAndFamily,
              0);
    platform::DeleteFont(font);
  }
}

TEST(ConfiguredFont, NoneWhenThePlatformGivesNone) {
  Settings settings("[Font]\r\nHeight=12\r\n");
  platform::ArmFault(platform::FaultPoint::kCreateFont);
  EXPECT_EQ(CreateConfiguredFont(settings.document(), "Font"), nullptr);
  platform::ClearFaults();
}

TEST(DrawingSequence, DrawsOnAKeyBackgroundWithTheFontAndHandsOutTheSurface) {
  Settings settings("[Font]\r\nFace=IPAGothic\r\nHeight=-12\r\n");
  DrawingSequence sequence(platform::GetScreenContext(), settings.document());
  ASSERT_NE(sequence.context(), nullptr);
  ASSERT_NE(sequence.font(), nullptr);
  EXPECT_EQ(sequence.context()->font, sequence.font());
  ASSERT_TRUE(sequence.PrepareSurface(30, 20));
  EXPECT_EQ(sequence.context()->backgroundMode, platform::kTransparent);

  Rect rect{0, 0, 30, 20};
  platform::SetTextColor(sequence.context(), 0);
  EXPECT_EQ(platform::DrawText(sequence.context(), u"Hi", -1, &rect, 0x20), 13);  // 11 + 2
  SurfacePtr surface(sequence.Close());
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(sequence.context(), nullptr);
  EXPECT_EQ(sequence.Close(), nullptr);

  int ink = 0;
  for (const std::uint32_t word : MemoryWords(surface.get())) {
    ASSERT_TRUE(word == 0x00FF00FFu || word == 0u);
    ink += word == 0u;
  }
  EXPECT_GT(ink, 10);
}

TEST(DrawingSequence, NoSurfaceReleasesTheFontAndTheContext) {
  Settings settings("[Font]\r\nHeight=-12\r\n");
  for (const std::int32_t width : {0, -3, 100000}) {
    DrawingSequence sequence(platform::GetScreenContext(), settings.document());
    EXPECT_FALSE(sequence.PrepareSurface(width, 100000));
    EXPECT_EQ(sequence.context(), nullptr);
    EXPECT_EQ(sequence.font(), nullptr);
    EXPECT_EQ(sequence.Close(), nullptr);
  }
  platform::ArmFault(platform::FaultPoint::kCreateBitmapSection);
  DrawingSequence sequence(platform::GetScreenContext(), settings.document());
  EXPECT_FALSE(sequence.PrepareSurface(3, 2));
  platform::ClearFaults();
}

TEST(DrawingSequence, WithoutAFontTheDefaultFontDraws) {
  Settings settings("[Font]\r\nHeight=-30\r\n");
  platform::ArmFault(platform::FaultPoint::kCreateFont);
  DrawingSequence sequence(platform::GetScreenContext(), settings.document());
  platform::ClearFaults();
  EXPECT_EQ(sequence.font(), nullptr);
  ASSERT_TRUE(sequence.PrepareSurface(3, 2));
  Rect measured{};
  platform::DrawText(sequence.context(), u"", -1, &measured, 0x420);
  EXPECT_EQ(measured.bottom, 16);  // the default font's line, not a 30-pixel one
  SurfacePtr surface(sequence.Close());
  EXPECT_NE(surface, nullptr);
}

TEST(DrawingSequence, ASurfaceNeverHandedOutIsDeleted) {
  // Leaving the surface behind would show as a leak in the sanitizer build.
  Settings settings("");
  DrawingSequence sequence(platform::GetScreenContext(), settings.document());
  EXPECT_TRUE(sequence.PrepareSurface(4, 4));
  EXPECT_FALSE(sequence.PrepareSurface(4, 4));  // one surface per sequence
}

}  // namespace
}  // namespace orvendale
