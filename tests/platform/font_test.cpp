#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "platform/drawing_support.h"
#include "platform/fault_injection.h"
#include "platform/fonts/font.h"

namespace orvendale::platform {
namespace {

using testing::MakeFont;

constexpr DesignMetrics kIpaGothicDesign{2048, 1802, 401};
constexpr DesignMetrics kDejaVuSansDesign{2048, 1901, 483};

struct MetricsCase {
  const char16_t* face;
  const char* family;
  DesignMetrics design;
  std::int32_t height;
  FontMetrics expected;  // pixels per em, ascent, descent
};

// Negative heights are the character height, positive ones the cell height (the pixel
// size steps down when rounding would make the cell taller), 0 is a 16-pixel cell.
const MetricsCase kMetricsTable[] = {
    {u"IPAGothic", "IPAGothic", kIpaGothicDesign, -12, {12, 11, 2}},
    {u"IPAGothic", "IPAGothic", kIpaGothicDesign, 12, {11, 10, 2}},
    {u"IPAGothic", "IPAGothic", kIpaGothicDesign, 16, {15, 13, 3}},
    {u"IPAGothic", "IPAGothic", kIpaGothicDesign, 0, {15, 13, 3}},
    {u"IPAGothic", "IPAGothic", kIpaGothicDesign, -16, {16, 14, 3}},
    {u"DejaVu Sans", "DejaVu Sans", kDejaVuSansDesign, -12, {12, 11, 3}},
    {u"DejaVu Sans", "DejaVu Sans", kDejaVuSansDesign, 12, {10, 9, 2}},
    {u"DejaVu Sans", "DejaVu Sans", kDejaVuSansDesign, 16, {14, 13, 3}},
    {u"DejaVu Sans", "DejaVu Sans", kDejaVuSansDesign, 0, {14, 13, 3}},
};

TEST(FontMetrics, HeightRuleOnDesignValues) {
  for (const MetricsCase& c : kMetricsTable) {
    SCOPED_TRACE(std::string(c.family) + " " + std::to_string(c.height));
    const FontMetrics metrics = MetricsForHeight(c.height, c.design);
    EXPECT_EQ(metrics.pixelsPerEm, c.expected.pixelsPerEm);
    EXPECT_EQ(metrics.ascent, c.expected.ascent);
    EXPECT_EQ(metrics.descent, c.expected.descent);
  }
}

TEST(FontMetrics, InstalledFontsGiveTheSameMetrics) {
  for (const MetricsCase& c : kMetricsTable) {
    SCOPED_TRACE(std::string(c.family) + " " + std::to_string(c.height));
    auto font = MakeFont(c.face, c.height);
    FontInstance* instance = InstanceOf(font.get());
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->primary().FamilyName(), c.family);
    EXPECT_EQ(instance->metrics().pixelsPerEm, c.expected.pixelsPerEm);
    EXPECT_EQ(instance->metrics().ascent, c.expected.ascent);
    EXPECT_EQ(instance->metrics().descent, c.expected.descent);
  }
}

TEST(FontMetrics, ExtremeHeightsAreClampedWithoutOverflow) {
  const std::int32_t heights[] = {32767, -32768, std::numeric_limits<std::int32_t>::max(),
                                  std::numeric_limits<std::int32_t>::min()};
  for (const std::int32_t height : heights) {
    SCOPED_TRACE(height);
    const FontMetrics metrics = MetricsForHeight(height, kIpaGothicDesign);
    EXPECT_EQ(metrics.pixelsPerEm, kMaxPixelsPerEm);
    EXPECT_EQ(metrics.ascent, 1802);  // 1802 * 2048 / 2048
    EXPECT_EQ(metrics.descent, 401);
  }
  // A cell of 1 pixel still gives a drawable size.
  EXPECT_EQ(MetricsForHeight(1, kIpaGothicDesign).pixelsPerEm, 1);
  // Unusable design values give nothing rather than a division by zero.
  EXPECT_EQ(MetricsForHeight(-12, DesignMetrics{0, 1802, 401}).pixelsPerEm, 0);
  EXPECT_EQ(MetricsForHeight(12, DesignMetrics{2048, 0, 0}).pixelsPerEm, 0);
}

TEST(FontMatching, FaceNamesResolveToInstalledFamilies) {
  const struct {
    const char16_t* faceName;
    const char* family;
  } cases[] = {
      {u"ＭＳ ゴシック", "IPAGothic"},  {u"ms gothic", "IPAGothic"}, {u"ＭＳ Ｐゴシック", "IPAPGothic"},
      {u"Tahoma", "DejaVu Sans"}, {u"ARIAL", "DejaVu Sans"},  {u"IPAGothic", "IPAGothic"},
  };
  for (const auto& c : cases) {
    auto font = MakeFont(c.faceName, -12);
    FontInstance* instance = InstanceOf(font.get());
    ASSERT_NE(instance, nullptr) << c.family;
    EXPECT_EQ(instance->primary().FamilyName(), c.family);
  }
}

TEST(FontMatching, DefaultFontIsIpaGothicAtTheDefaultHeight) {
  FontInstance* instance = DefaultFontInstance();
  ASSERT_NE(instance, nullptr);
  EXPECT_EQ(instance->primary().FamilyName(), "IPAGothic");
  EXPECT_EQ(instance->metrics().pixelsPerEm, 15);
  EXPECT_EQ(instance->metrics().LineHeight(), 16);
}

TEST(FontMatching, OddFaceNamesStillGiveAFont) {
  LogicalFont unterminated;
  unterminated.charSet = kShiftJisCharSet;
  for (char16_t& unit : unterminated.faceName) unit = u'W';  // no terminator in 32 units
  const char16_t unpaired[] = {u'A', 0xD800, u'B', 0xDC00, 0};
  const char16_t* names[] = {u"", u"NoSuchFaceAnywhere", u"0123456789012345678901234567890", unpaired};
  for (const char16_t* name : names) {
    auto font = MakeFont(name, -12);
    EXPECT_NE(InstanceOf(font.get()), nullptr);
  }
  Font* font = CreateFontIndirect(&unterminated);
  EXPECT_NE(InstanceOf(font), nullptr);
  DeleteFont(font);
}

TEST(FontMatching, BoldUsesTheBoldFileOrEmboldens) {
  auto dejaVuBold = MakeFont(u"DejaVu Sans", -12, kWeightBold);
  FontInstance* dejaVu = InstanceOf(dejaVuBold.get());
  ASSERT_NE(dejaVu, nullptr);
  EXPECT_NE(dejaVu->primary().file().find("DejaVuSans-Bold"), std::string::npos);

  // IPAGothic has no bold file: the same glyph is thicker and one pixel wider.
  auto regular = MakeFont(u"IPAGothic", -16);
  auto bold = MakeFont(u"IPAGothic", -16, kWeightBold);
  FontInstance* regularInstance = InstanceOf(regular.get());
  FontInstance* boldInstance = InstanceOf(bold.get());
  ASSERT_NE(regularInstance, nullptr);
  ASSERT_NE(boldInstance, nullptr);
  EXPECT_EQ(boldInstance->primary().file(), regularInstance->primary().file());
  const auto inkCount = [](const Glyph& glyph) {
    int count = 0;
    for (int y = 0; y < glyph.rows; ++y)
      for (int x = 0; x < glyph.width; ++x) count += glyph.HasInk(x, y) ? 1 : 0;
    return count;
  };
  const GlyphSource regularH = regularInstance->Find(U'H');
  const GlyphSource boldH = boldInstance->Find(U'H');
  const Glyph regularGlyph = regularH.face->GetGlyph(regularH.glyphIndex);
  const Glyph boldGlyph = boldH.face->GetGlyph(boldH.glyphIndex);
  EXPECT_EQ(boldGlyph.advance, regularGlyph.advance + 1);
  EXPECT_GT(inkCount(boldGlyph), inkCount(regularGlyph));
}

TEST(FontMatching, MissingCharactersComeFromAnotherFont) {
  auto font = MakeFont(u"DejaVu Sans", -12);
  FontInstance* instance = InstanceOf(font.get());
  ASSERT_NE(instance, nullptr);
  const GlyphSource latin = instance->Find(U'S');
  EXPECT_EQ(latin.face, &instance->primary());
  const GlyphSource kanji = instance->Find(U'曜');
  ASSERT_NE(kanji.face, nullptr);
  EXPECT_NE(kanji.face, &instance->primary());
  EXPECT_NE(kanji.glyphIndex, 0u);
  EXPECT_EQ(kanji.face->pixelsPerEm(), instance->metrics().pixelsPerEm);
  // A character no font has falls back to the main face's missing-character glyph.
  const GlyphSource none = instance->Find(0x10FFFD);
  EXPECT_EQ(none.face, &instance->primary());
  EXPECT_EQ(none.glyphIndex, 0u);
}

TEST(FontCreation, FailsOnlyForNoRecordOrAnInjectedFault) {
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
  ArmFault(FaultPoint::kCreateFont);
  LogicalFont record;
  EXPECT_EQ(CreateFontIndirect(&record), nullptr);
  Font* font = CreateFontIndirect(&record);
  EXPECT_NE(font, nullptr);
  DeleteFont(font);
  DeleteFont(nullptr);
  ClearFaults();
}

}  // namespace
}  // namespace orvendale::platform
