// Lines that need the text layout plugin, drawn and measured through the platform's text
// drawing with the plugin loaded from the build folder: which characters take that road,
// visual order, joining, widths that alignment uses, the underlined cluster, and input
// that must stay bounded.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/drawing/gdi_objects.h"
#include "platform/drawing/graphics.h"
#include "platform/drawing/text_layout.h"
#include "platform/drawing_support.h"
#include "platform/fonts/font.h"

namespace orvendale::platform {
namespace {

using testing::Canvas;
using testing::MakeFont;

constexpr ColorRef kTextColor = MakeColorRef(0x10, 0x20, 0x30);
constexpr std::uint32_t kTextPixel = PixelFromColorRef(kTextColor);
constexpr std::uint32_t kLine = TextFlags::kSingleLine | TextFlags::kNoClip;

TEST(ComplexLayout, OnlyCharactersThatNeedItTakeTheLayoutRoad) {
  const struct {
    char32_t codePoint;
    bool needs;
  } cases[] = {
      {U'A', false},    {U'0', false},    {0x00E9, false},  {0x02FF, false},  // Latin, precomposed
      {0x0300, true},   {0x036F, true},   {0x0370, false},  {0x0416, false},  // marks; Greek, Cyrillic
      {0x0483, true},   {0x058F, false},  {0x0590, true},   {0x05D0, true},   // Cyrillic marks; Hebrew
      {0x0645, true},   {0x08FF, true},   {0x0915, true},   {0x0B95, true},   // Arabic; Devanagari, Tamil
      {0x0E01, true},   {0x0F00, true},   {0x1000, true},   {0x10A0, false},  // Thai, Tibetan, Myanmar; Georgian
      {0x17A0, true},   {0x200B, false},  {0x200C, true},   {0x200D, true},   // Khmer; joiners
      {0x200F, true},   {0x2010, false},  {0x202E, true},   {0x2066, true},   // controls
      {0x2069, true},   {0x206A, false},  {0x3042, false},  {0x3099, true},   // kana, voicing mark
      {0x6708, false},  {0xAC00, false},  {0xFB1D, true},   {0xFEFF, false},  // Han, Hangul; forms
      {0xFE70, true},   {0xFF21, false},  {0x10900, true},  {0x1F600, false}, // historic RTL; emoji
      {0x1E900, true},  {0xE0100, true},  {0xE01F0, false}, {0x10FFFF, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NeedsComplexLayout(c.codePoint), c.needs) << std::hex << static_cast<std::uint32_t>(c.codePoint);
  }
}

class LaidOutText : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(setenv("ORVENDALE_PLUGIN_DIR", ORVENDALE_PLUGIN_BUILD_DIR, 1), 0); }

  void Use(const char16_t* face, std::int32_t height) {
    font_ = MakeFont(face, height);
    SelectFont(canvas_.context(), font_.get());
    SetTextColor(canvas_.context(), kTextColor);
    ASSERT_NE(InstanceOf(font_.get()), nullptr);
  }
  std::int32_t Width(const std::u16string& text, std::uint32_t flags = 0) {
    Rect rect{};
    DrawText(canvas_.context(), text.c_str(), -1, &rect, TextFlags::kCalculateRect | TextFlags::kSingleLine | flags);
    return rect.right;
  }
  // Draws `text` with its left end at x; returns the ink box.
  Rect Draw(const std::u16string& text, std::int32_t x, std::uint32_t flags = 0) {
    Rect rect{x, 0, canvas_.width(), canvas_.height()};
    DrawText(canvas_.context(), text.c_str(), -1, &rect, kLine | flags);
    return canvas_.InkBox();
  }
  // The columns of ink, left to right, as a string of '#' and '.'.
  std::string InkColumns() const {
    std::string columns;
    for (std::int32_t x = 0; x < canvas_.width(); ++x) {
      bool ink = false;
      for (std::int32_t y = 0; y < canvas_.height() && !ink; ++y) ink = canvas_.Pixel(x, y) == kTextPixel;
      columns += ink ? '#' : '.';
    }
    return columns;
  }
  std::string Picture() const {
    std::string rows;
    for (std::int32_t y = 0; y < canvas_.height(); ++y) {
      for (std::int32_t x = 0; x < canvas_.width(); ++x) rows += canvas_.Pixel(x, y) == kTextPixel ? '#' : '.';
    }
    return rows;
  }

  Canvas canvas_{240, 40};
  testing::FontPtr font_;
};

TEST_F(LaidOutText, PluginLoads) { EXPECT_TRUE(TextLayoutLoads()); }

// Where the ink of `part` (a picture as Picture() gives it) lies inside `whole`: the
// horizontal shift that puts every ink pixel of part on ink of whole; -1000 for none.
int ShiftInside(const std::string& whole, const std::string& part, int width) {
  for (int shift = -60; shift <= 60; ++shift) {
    bool inside = true;
    for (std::size_t i = 0; i < part.size() && inside; ++i) {
      if (part[i] != '#') continue;
      const int x = static_cast<int>(i) % width + shift;
      inside = x >= 0 && x < width && whole[i + static_cast<std::size_t>(shift)] == '#';
    }
    if (inside) return shift;
  }
  return -1000;
}

// Hebrew letters do not join: the pair holds both letters' ink, the first letter right of
// the second, and is as wide as the two (give or take the rounding of their advances).
TEST_F(LaidOutText, RightToLeftTextRunsFromTheRight) {
  Use(u"Noto Sans Hebrew", -24);
  const std::u16string alef = u"\u05D0";
  const std::u16string shin = u"\u05E9";
  const std::int32_t alefWidth = Width(alef);
  const std::int32_t shinWidth = Width(shin);
  ASSERT_GT(alefWidth, 4);
  EXPECT_NEAR(Width(alef + shin), alefWidth + shinWidth, 1);

  Draw(alef + shin, 10);
  const std::string pair = Picture();
  canvas_.Fill(KeyColor);
  Draw(alef, 10);
  const std::string alone = Picture();
  canvas_.Fill(KeyColor);
  Draw(shin, 10);
  const int alefShift = ShiftInside(pair, alone, canvas_.width());
  const int shinShift = ShiftInside(pair, Picture(), canvas_.width());
  EXPECT_NEAR(alefShift, shinWidth, 2) << "alef (first) stands right of shin";
  EXPECT_NEAR(shinShift, 0, 2);
}

// Arabic letters join: beh beside beh draws other glyphs than two isolated behs.
TEST_F(LaidOutText, ArabicLettersJoin) {
  Use(u"Noto Sans Arabic", -24);
  const std::u16string beh = u"\u0628";
  const std::int32_t isolated = Width(beh);
  Draw(beh + beh + beh, 10);
  const std::string joined = Picture();
  // Joined letters leave no blank column inside the word.
  const Rect ink = canvas_.InkBox();
  EXPECT_EQ(InkColumns().substr(static_cast<std::size_t>(ink.left), static_cast<std::size_t>(ink.right - ink.left))
                .find('.'),
            std::string::npos);
  canvas_.Fill(KeyColor);
  for (int i = 0; i < 3; ++i) Draw(beh, 10 + i * isolated);
  EXPECT_NE(joined, Picture());
}

// Measuring, alignment and drawing agree for laid-out lines as for others: right-aligned
// text ends at the rectangle's right edge, centred text has equal room on both sides.
TEST_F(LaidOutText, AlignmentUsesTheShapedWidth) {
  Use(u"Noto Sans Arabic", -20);
  const std::u16string month = u"\u0645\u0627\u0631\u0633 2026";  // "مارس 2026"
  const std::int32_t width = Width(month);
  ASSERT_GT(width, 20);
  for (const std::uint32_t flags : {0u, TextFlags::kRight, TextFlags::kCenter}) {
    SCOPED_TRACE(flags);
    canvas_.Fill(KeyColor);
    Rect rect{20, 0, 220, 40};
    DrawText(canvas_.context(), month.c_str(), -1, &rect, TextFlags::kSingleLine | flags);
    const Rect ink = canvas_.InkBox();
    const std::int32_t x = flags == TextFlags::kRight ? 220 - width : flags == TextFlags::kCenter ? (240 - width) / 2 : 20;
    // The ink stays within a pixel or two of the advances' box.
    EXPECT_GE(ink.left, x - 2);
    EXPECT_LE(ink.left, x + 3);
    EXPECT_LE(ink.right, x + width + 2);
    EXPECT_GE(ink.right, x + width - 3);
  }
}

// In a right-to-left paragraph ("20 مارس": the first strong character is Arabic) the
// number stands left of the word; in a left-to-right one ("March مارس") the Latin word
// stays left.
TEST_F(LaidOutText, ParagraphDirectionComesFromTheFirstStrongCharacter) {
  Use(u"Noto Sans Arabic", -20);
  const std::u16string word = u"\u0645\u0627\u0631\u0633";
  const std::int32_t wordWidth = Width(word);
  const std::int32_t numberWidth = Width(u"20");
  const std::int32_t spaceWidth = Width(u"20 " + word) - wordWidth - numberWidth;
  Draw(word + u" 20", 10);
  const std::string rightToLeft = Picture();
  canvas_.Fill(KeyColor);
  Draw(u"20", 10);
  Draw(word, 10 + numberWidth + spaceWidth);
  EXPECT_EQ(rightToLeft, Picture());
}

// Noto Sans Hebrew has no digits: they come from a fallback font, but a space after them,
// which the main face has, stays the main face's space (a Japanese fallback's space is
// twice as wide).
TEST_F(LaidOutText, CharactersTheMainFaceHasStayInIt) {
  Use(u"Noto Sans Hebrew", -24);
  const std::int32_t mainSpace = Width(u"\u05D0 \u05D1") - Width(u"\u05D0\u05D1");
  ASSERT_GT(mainSpace, 0);
  EXPECT_NEAR(Width(u"\u05D0 8 \u05D1") - Width(u"\u05D08\u05D1"), 2 * mainSpace, 1);
}

// "&" underlines the cluster of the character after it: a Hebrew letter with its point is
// one cluster, and the line under it spans that letter only.
TEST_F(LaidOutText, PrefixUnderlinesTheWholeCluster) {
  Use(u"Noto Sans Hebrew", -24);
  const std::u16string letter = u"\u05E9\u05C1";  // shin with its dot
  const std::u16string other = u"\u05D0";
  const std::int32_t letterWidth = Width(letter);
  const std::int32_t otherWidth = Width(other);
  Draw(u"&" + letter + other, 10);
  const std::string underlined = Picture();
  canvas_.Fill(KeyColor);
  Draw(letter + other, 10, TextFlags::kNoPrefix);
  const std::string plain = Picture();
  // The first letter stands at the right: its underline runs from otherWidth on.
  int added = 0;
  int row = -1;
  for (std::size_t i = 0; i < underlined.size(); ++i) {
    if (underlined[i] == plain[i]) continue;
    const int x = static_cast<int>(i % 240);
    row = static_cast<int>(i / 240);
    EXPECT_GE(x, 10 + otherWidth);
    EXPECT_LT(x, 10 + otherWidth + letterWidth);
    ++added;
  }
  EXPECT_GE(added, letterWidth - 3);
  EXPECT_GE(row, 0);
}

// Input that is no sensible text still draws, in bounded time, within bounded width.
TEST_F(LaidOutText, BadInputStaysBounded) {
  Use(u"DejaVu Sans", -12);
  std::u16string manyMarks = u"a";
  for (int i = 0; i < 63; ++i) manyMarks += u'\u0301';
  std::u16string tenScripts = u"A\u0391\u0416\u05D0\u0627\u0915\u0B95\u0E01\u3042\uAC00";
  std::u16string longLine;
  for (int i = 0; i < 5000; ++i) longLine += u"\u0628";  // more than the engine takes
  const std::u16string loneSurrogate = u"\u0628" + std::u16string(1, char16_t{0xD800}) + u"\u0628\u0301";
  const std::u16string cases[] = {
      u"\u0301",  u"\u200D",  u"\u200C",       u"\u202E",      u"\u2066\u2069", u"\u2067abc",
      u"\u202Eabc\u202C",     u"\u0378\u0BFF", u"\u0628\u200D", manyMarks,      tenScripts,
      u"\U000E0100", u"\u05D0\r\n\u05D1", longLine,       loneSurrogate,
  };
  for (const std::u16string& text : cases) {
    SCOPED_TRACE(text.size());
    const auto start = std::chrono::steady_clock::now();
    const std::int32_t width = Width(text);
    canvas_.Fill(KeyColor);
    Draw(text, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    // No glyph advances more than an em or so.
    EXPECT_LE(width, 40 * static_cast<std::int32_t>(text.size()) + 40);
    EXPECT_GE(width, 0);
  }
}

}  // namespace
}  // namespace orvendale::platform
