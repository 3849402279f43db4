#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/drawing_support.h"
#include "platform/fault_injection.h"
#include "platform/fonts/font.h"
#include "platform/drawing/gdi_objects.h"
#include "platform/drawing/graphics.h"

namespace orvendale::platform {
namespace {

using testing::Canvas;
using testing::MakeFont;

constexpr ColorRef kTextColor = MakeColorRef(0x12, 0x34, 0x56);
constexpr std::uint32_t kTextPixel = PixelFromColorRef(kTextColor);
constexpr std::uint32_t kCalculate = TextFlags::kCalculateRect | TextFlags::kSingleLine;

// Width and height that measuring gives for the text with the context's font.
Rect Measure(DrawingContext* context, const char16_t* text, std::uint32_t extraFlags = 0) {
  Rect rect{};
  DrawText(context, text, -1, &rect, kCalculate | extraFlags);
  return rect;
}

class TextDrawing : public ::testing::Test {
 protected:
  void Use(const char16_t* face, std::int32_t height) {
    font_ = MakeFont(face, height);
    SelectFont(canvas_.context(), font_.get());
    SetTextColor(canvas_.context(), kTextColor);
    instance_ = InstanceOf(font_.get());
    ASSERT_NE(instance_, nullptr);
  }
  std::int32_t LineHeight() const { return instance_->metrics().LineHeight(); }
  std::int32_t Ascent() const { return instance_->metrics().ascent; }

  Canvas canvas_{120, 60};
  testing::FontPtr font_;
  FontInstance* instance_ = nullptr;
};

TEST_F(TextDrawing, MeasuringGivesWidthAndLineHeightAndDrawsNothing) {
  Use(u"IPAGothic", -12);
  Rect rect{7, 9, 0, 0};
  const int height = DrawText(canvas_.context(), u"HHHH", -1, &rect, kCalculate);
  // IPAGothic is monospaced: each Latin letter advances half an em.
  EXPECT_EQ(rect.left, 7);
  EXPECT_EQ(rect.top, 9);
  EXPECT_EQ(rect.right, 7 + 4 * 6);
  EXPECT_EQ(rect.bottom, 9 + 13);
  EXPECT_EQ(height, 13);
  EXPECT_EQ(canvas_.CountPixels(KeyColor), 120 * 60);

  const Rect empty = Measure(canvas_.context(), u"");
  EXPECT_EQ(empty.right, 0);
  EXPECT_EQ(empty.bottom, 13);
}

TEST_F(TextDrawing, WidthIsTheSumOfAdvancesAndCountedLengthIsHonoured) {
  Use(u"DejaVu Sans", 16);
  const Rect a = Measure(canvas_.context(), u"Sun");
  const Rect b = Measure(canvas_.context(), u"day");
  const Rect ab = Measure(canvas_.context(), u"Sunday");
  EXPECT_EQ(ab.right, a.right + b.right);
  EXPECT_EQ(ab.bottom, 16);
  Rect counted{};
  DrawText(canvas_.context(), u"Sunday", 3, &counted, kCalculate);
  EXPECT_EQ(counted.right, a.right);
  Rect bad{};
  EXPECT_EQ(DrawText(canvas_.context(), u"Sunday", -2, &bad, kCalculate), 0);
}

TEST_F(TextDrawing, PrefixCharactersMeasureAsTheyAreDrawn) {
  Use(u"DejaVu Sans", -12);
  const struct {
    const char16_t* withPrefixes;
    const char16_t* asDrawn;
  } cases[] = {
      {u"A&B", u"AB"}, {u"&&", u"&"}, {u"A&&B", u"A&B"}, {u"AB&", u"AB&"}, {u"&A&B", u"AB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Measure(canvas_.context(), c.withPrefixes).right,
              Measure(canvas_.context(), c.asDrawn, TextFlags::kNoPrefix).right);
  }
}

TEST_F(TextDrawing, EachAlignmentPlacesTheLineWhereTheFlagsSay) {
  Use(u"IPAGothic", -12);
  const Rect area{10, 5, 110, 45};
  const std::int32_t width = Measure(canvas_.context(), u"HH").right;
  const std::int32_t height = LineHeight();
  const struct {
    std::uint32_t flags;
    std::int32_t x;
    std::int32_t y;
  } cases[] = {
      {0x20, 10, 5},
      {0x21, (10 + 110 - width) / 2, 5},
      {0x22, 110 - width, 5},
      {0x24, 10, 5 + (40 - height) / 2},
      {0x28, 10, 45 - height},
      {0x29, (10 + 110 - width) / 2, 45 - height},
      {0x2A, 110 - width, 45 - height},
      {0x26, 110 - width, 5 + (40 - height) / 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.flags);
    canvas_.Fill(KeyColor);
    Rect rect = area;
    EXPECT_EQ(DrawText(canvas_.context(), u"HH", -1, &rect, c.flags), c.y + height - area.top);
    const Rect ink = canvas_.InkBox();
    // The ink of "HH" lies inside its cell and fills most of it.
    EXPECT_GE(ink.left, c.x);
    EXPECT_LE(ink.left, c.x + 2);
    EXPECT_LE(ink.right, c.x + width);
    EXPECT_GE(ink.right, c.x + width - 3);
    EXPECT_GE(ink.top, c.y);
    EXPECT_LE(ink.bottom, c.y + Ascent());  // capital letters sit on the baseline
    EXPECT_GE(ink.bottom, c.y + Ascent() - 1);
  }
}

TEST_F(TextDrawing, CentringTruncatesTowardZero) {
  Use(u"IPAGothic", -12);
  ASSERT_EQ(Measure(canvas_.context(), u"H").right, 6);
  // In a rectangle 5 wide, (0 + 5 - 6) / 2 is 0, so the text starts at the left edge as
  // if it were not centred; rounding down would start it at -1.
  Rect centred{0, 0, 5, 20};
  DrawText(canvas_.context(), u"H", -1, &centred, TextFlags::kCenter | TextFlags::kSingleLine);
  const Rect centredInk = canvas_.InkBox();
  canvas_.Fill(KeyColor);
  Rect left{0, 0, 5, 20};
  DrawText(canvas_.context(), u"H", -1, &left, TextFlags::kSingleLine);
  const Rect leftInk = canvas_.InkBox();
  EXPECT_GT(leftInk.right, 0);
  EXPECT_EQ(centredInk.left, leftInk.left);
  EXPECT_EQ(centredInk.right, leftInk.right);
}

TEST_F(TextDrawing, TextIsClippedToItsRectangleAndTheBitmap) {
  Use(u"IPAGothic", -16);
  const struct {
    Rect area;
    bool ink;  // the part of the text inside the area and the bitmap holds ink
  } cases[] = {
      {{20, 20, 30, 28}, true},     // smaller than the text
      {{-8, -8, 12, 12}, true},     // partly above and left of the bitmap
      {{110, 50, 200, 90}, true},   // partly beyond the right and bottom
      {{30, 30, 30, 40}, false},    // empty
      {{130, 10, 200, 40}, false},  // beside the bitmap
      {{10, -40, 100, 0}, false},   // above it
  };
  const auto draw = [&](Rect rect) {
    canvas_.Fill(KeyColor);
    DrawText(canvas_.context(), u"日曜日 Sunday", -1, &rect, TextFlags::kSingleLine);
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < 60; ++y) {
      for (std::int32_t x = 0; x < 120; ++x) pixels.push_back(canvas_.Pixel(x, y));
    }
    return pixels;
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.area.left) + "," + std::to_string(c.area.top));
    // The same text from the same corner in a rectangle that cuts nothing off.
    const std::vector<std::uint32_t> whole = draw(Rect{c.area.left, c.area.top, c.area.left + 1000, c.area.top + 200});
    const std::vector<std::uint32_t> clipped = draw(c.area);
    const int inkPixels = canvas_.CountPixels(kTextPixel);
    if (!c.ink) {
      EXPECT_EQ(inkPixels, 0);
      continue;
    }
    ASSERT_GT(inkPixels, 0);  // a drawing that leaves the area empty clips away too much
    // Inside the area every pixel is the whole drawing's; outside it nothing is drawn.
    int differing = 0;
    for (std::int32_t y = 0; y < 60; ++y) {
      for (std::int32_t x = 0; x < 120; ++x) {
        const bool inside = x >= c.area.left && x < c.area.right && y >= c.area.top && y < c.area.bottom;
        const std::size_t at = static_cast<std::size_t>(y * 120 + x);
        differing += clipped[at] != (inside ? whole[at] : KeyColor) ? 1 : 0;
      }
    }
    EXPECT_EQ(differing, 0);
  }
}

TEST_F(TextDrawing, GlyphsAreMonochromeInTheTextColour) {
  Use(u"DejaVu Sans", 16);
  Rect rect{2, 2, 118, 58};
  DrawText(canvas_.context(), u"Sunday 12 日曜日 Wg&y", -1, &rect, TextFlags::kSingleLine);
  const int ink = canvas_.CountPixels(kTextPixel);
  EXPECT_GT(ink, 100);
  EXPECT_EQ(ink + canvas_.CountPixels(KeyColor), 120 * 60);
}

TEST_F(TextDrawing, TransparentModeKeepsTheBackgroundOpaqueModePaintsTheCell) {
  Use(u"IPAGothic", -12);
  Rect rect{0, 0, 120, 60};
  DrawText(canvas_.context(), u"A", -1, &rect, TextFlags::kSingleLine);
  EXPECT_EQ(canvas_.Pixel(0, 0), KeyColor);

  canvas_.Fill(KeyColor);
  SetBackgroundMode(canvas_.context(), kOpaque);
  DrawText(canvas_.context(), u"A", -1, &rect, TextFlags::kSingleLine);
  // The cell of one half-width letter, 6 x 13, is painted white where it is not ink.
  EXPECT_EQ(canvas_.Pixel(0, 0), 0x00FFFFFFu);
  EXPECT_EQ(canvas_.Pixel(5, 12), 0x00FFFFFFu);
  EXPECT_EQ(canvas_.Pixel(6, 0), KeyColor);
  EXPECT_EQ(canvas_.Pixel(0, 13), KeyColor);
}

TEST_F(TextDrawing, PrefixUnderlinesTheFirstMarkedCharacterOnly) {
  Use(u"IPAGothic", -12);
  const std::int32_t underlineRow = Ascent() + 1;
  const auto rowInk = [&](std::int32_t from, std::int32_t to) {
    int count = 0;
    for (std::int32_t x = from; x < to; ++x) count += canvas_.Pixel(x, underlineRow) == kTextPixel;
    return count;
  };
  Rect rect{0, 0, 120, 60};
  // "x" has no descender, so the underline row holds nothing but the underline.
  DrawText(canvas_.context(), u"x&x&x", -1, &rect, TextFlags::kSingleLine);
  EXPECT_EQ(rowInk(0, 6), 0);
  EXPECT_EQ(rowInk(6, 12), 5);  // the advance less one pixel
  EXPECT_EQ(rowInk(12, 120), 0);

  canvas_.Fill(KeyColor);
  DrawText(canvas_.context(), u"x&&x", -1, &rect, TextFlags::kSingleLine);
  EXPECT_EQ(rowInk(0, 120), 0);
  const Rect ampersand = canvas_.InkBox();
  canvas_.Fill(KeyColor);
  DrawText(canvas_.context(), u"x&x", -1, &rect, TextFlags::kSingleLine | TextFlags::kNoPrefix);
  EXPECT_EQ(canvas_.InkBox().right, ampersand.right);
}

TEST_F(TextDrawing, JapaneseInALatinFaceDrawsThroughFallback) {
  Use(u"DejaVu Sans", -12);
  Rect rect{0, 0, 120, 60};
  EXPECT_GT(Measure(canvas_.context(), u"日曜日").right, 20);
  DrawText(canvas_.context(), u"日曜日", -1, &rect, TextFlags::kSingleLine);
  EXPECT_GT(canvas_.CountPixels(kTextPixel), 60);
}

TEST_F(TextDrawing, HostileTextIsDrawnSafely) {
  Use(u"IPAGothic", -12);
  const char16_t unpaired[] = {u'A', 0xD800, u'B', 0xDC00, 0xDBFF, 0};
  const char16_t trailingHigh[] = {u'&', 0xD83D, 0};
  const std::u16string longText(200, u'W');
  const char16_t* texts[] = {unpaired, trailingHigh, longText.c_str(), u"\r\nline\rbreaks\n", u"&"};
  for (const char16_t* text : texts) {
    Rect rect{0, 0, 120, 60};
    EXPECT_EQ(DrawText(canvas_.context(), text, -1, &rect, 0x20), LineHeight());
    Rect measured{};
    DrawText(canvas_.context(), text, -1, &measured, kCalculate);
    EXPECT_GT(measured.right, 0);
  }
  EXPECT_EQ(Measure(canvas_.context(), longText.c_str()).right, 200 * 6);
  Rect rect{0, 0, 10, 10};
  EXPECT_EQ(DrawText(nullptr, u"A", -1, &rect, 0x20), 0);
  EXPECT_EQ(DrawText(canvas_.context(), nullptr, -1, &rect, 0x20), 0);
  EXPECT_EQ(DrawText(canvas_.context(), u"A", -1, nullptr, 0x20), 0);
}

TEST_F(TextDrawing, WithoutSingleLineTheTextBreaksIntoLines) {
  Use(u"IPAGothic", -12);
  Rect measured{};
  DrawText(canvas_.context(), u"AB\r\nC\nDEF", -1, &measured, TextFlags::kCalculateRect);
  EXPECT_EQ(measured.right, 18);
  EXPECT_EQ(measured.bottom, 3 * 13);
}

TEST(TextDrawingFonts, HugeHeightsAreDrawnAtTheLargestSize) {
  for (const std::int32_t height : {32767, -32768}) {
    Canvas canvas(64, 64);
    auto font = MakeFont(u"IPAGothic", height);
    SelectFont(canvas.context(), font.get());
    Rect measured{};
    DrawText(canvas.context(), u"Ag日", -1, &measured, kCalculate);
    EXPECT_LE(measured.right, 3 * kMaxPixelsPerEm);
    EXPECT_LE(measured.bottom, 2 * kMaxPixelsPerEm);
    Rect rect{-500, -500, 64, 64};
    DrawText(canvas.context(), u"Ag日", -1, &rect, 0x20);
    EXPECT_GT(canvas.CountPixels(0), 0);
  }
}

TEST(TextDrawingFonts, NoFontSelectedUsesTheDefaultFont) {
  Canvas canvas(8, 8);
  auto font = MakeFont(u"ＭＳ ゴシック", 0);
  const Rect byDefault = Measure(canvas.context(), u"Sunday 日曜日");
  SelectFont(canvas.context(), font.get());
  const Rect explicitFont = Measure(canvas.context(), u"Sunday 日曜日");
  EXPECT_EQ(byDefault.right, explicitFont.right);
  EXPECT_EQ(byDefault.bottom, 16);
}

// A selected font whose files cannot be opened draws, pixel for pixel, what a context
// with no font selected draws.
TEST(TextDrawingFonts, AFontThatCannotBeOpenedGivesWayToTheDefaultFont) {
  Canvas byDefault(160, 40);
  Canvas unopened(160, 40);
  SetTextColor(byDefault.context(), kTextColor);
  SetTextColor(unopened.context(), kTextColor);
  auto font = MakeFont(u"DejaVu Sans", -30, 700);
  SelectFont(unopened.context(), font.get());
  ArmFault(FaultPoint::kOpenFont);
  const Rect measured = Measure(unopened.context(), u"Sunday 日曜日");
  ClearFaults();
  EXPECT_EQ(measured.right, Measure(byDefault.context(), u"Sunday 日曜日").right);
  EXPECT_EQ(measured.bottom, 16);
  for (Canvas* canvas : {&byDefault, &unopened}) {
    Rect rect{2, 2, 158, 38};
    EXPECT_EQ(DrawText(canvas->context(), u"Sunday 日曜日", -1, &rect, TextFlags::kSingleLine), 16);
  }
  EXPECT_GT(unopened.CountPixels(kTextPixel), 0);
  for (std::int32_t y = 0; y < 40; ++y) {
    for (std::int32_t x = 0; x < 160; ++x) ASSERT_EQ(unopened.Pixel(x, y), byDefault.Pixel(x, y)) << x << "," << y;
  }
}

TEST(TextDrawingFonts, ContextsWithoutPixelsMeasureAndDrawNothing) {
  DrawingContext* memory = CreateCompatibleContext(GetScreenContext());
  Rect rect{0, 0, 50, 50};
  EXPECT_EQ(DrawText(memory, u"A", -1, &rect, 0x20), 16);
  EXPECT_EQ(DrawText(GetScreenContext(), u"A", -1, &rect, 0x20), 16);
  DeleteContext(memory);
}

}  // namespace
}  // namespace orvendale::platform
