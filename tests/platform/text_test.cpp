#include "platform/system/text.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace orvendale::platform {
namespace {

constexpr char16_t kCanary = 0x5A5A;

TEST(WideFromNarrow, ConvertsAndReplacesInvalidBytes) {
  struct Case {
    const char* narrow;
    std::u16string wide;
  } const cases[] = {
      {"abc", u"abc"},
      {"Gr\xC3\xBC\xC3\x9F" "e", u"Gr\u00FC\u00DFe"},
      {"\xEF\xBD\x8D", u"\uFF4D"},
      {"\xF0\x9F\x98\x80", u"\xD83D\xDE00"},  // outside the BMP: a surrogate pair
      {"a\xFF" "b", u"a\uFFFDb"},
      {"\xE3\x81" "a", u"\uFFFDa"},                  // cut sequence: one U+FFFD, 'a' kept
      {"\xC0\xAF", u"\uFFFD\uFFFD"},                 // overlong form
      {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},       // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      {"\x80", u"\uFFFD"},
  };
  for (const Case& c : cases) {
    char16_t out[16];
    const int written = WideFromNarrow(c.narrow, out, 16);
    EXPECT_EQ(std::u16string(out), c.wide) << c.narrow;
    EXPECT_EQ(written, static_cast<int>(c.wide.size()) + 1) << c.narrow;
  }
}

TEST(WideFromNarrow, RefusesTextThatDoesNotFitAndNeverWritesPastCapacity) {
  struct Case {
    const char* narrow;
    int capacity;
    int result;
  } const cases[] = {
      {"abc", 4, 4},
      {"abc", 3, 0},
      {"\xF0\x9F\x98\x80", 3, 3},
      {"\xF0\x9F\x98\x80", 2, 0},  // the pair needs both units
      {"", 1, 1},
      {"a", 1, 0},
      {"a", 0, 0},
  };
  for (const Case& c : cases) {
    char16_t out[8];
    std::fill(std::begin(out), std::end(out), kCanary);
    EXPECT_EQ(WideFromNarrow(c.narrow, out, c.capacity), c.result) << c.narrow << " " << c.capacity;
    if (c.capacity > 0 && c.result == 0) {
      EXPECT_EQ(out[0], 0);
    }
    for (int i = c.capacity; i < 8; ++i) EXPECT_EQ(out[i], kCanary) << "written past capacity";
  }
}

TEST(NarrowFromWide, ConvertsReplacesUnpairedSurrogatesAndBoundsOutput) {
  struct Case {
    std::u16string wide;
    int capacity;
    bool fits;
    std::string whole;  // NarrowFromWide: the whole text, or empty when it does not fit
    std::string cut;    // NarrowFromWideCut: the whole characters that fit
  } const cases[] = {
      {u"abc", 8, true, "abc", "abc"},
      {u"\u00E9", 8, true, "\xC3\xA9", "\xC3\xA9"},
      {u"\xD83D\xDE00", 8, true, "\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {u"\xD800" u"a", 8, true, "\xEF\xBF\xBD" "a", "\xEF\xBF\xBD" "a"},
      {u"\xDC00", 8, true, "\xEF\xBF\xBD", "\xEF\xBF\xBD"},
      {u"a\u00E9", 3, false, "", "a"},  // the second character needs two bytes, one is left
      {u"ab", 3, true, "ab", "ab"},
      {u"abc", 3, false, "", "ab"},
      {u"\xD83D\xDE00", 4, false, "", ""},
  };
  for (const Case& c : cases) {
    char out[12];
    std::fill(std::begin(out), std::end(out), '#');
    const int whole = NarrowFromWide(c.wide.c_str(), out, c.capacity);
    EXPECT_EQ(std::string(out), c.whole);
    EXPECT_EQ(whole, c.fits ? static_cast<int>(c.whole.size()) + 1 : 0);
    for (int i = c.capacity; i < 12; ++i) EXPECT_EQ(out[i], '#');
    const int cut = NarrowFromWideCut(c.wide.c_str(), out, c.capacity);
    EXPECT_EQ(std::string(out), c.cut);
    EXPECT_EQ(cut, static_cast<int>(c.cut.size()) + 1);
    for (int i = c.capacity; i < 12; ++i) EXPECT_EQ(out[i], '#');
  }
}

TEST(TextConversion, EveryCodePointRoundTrips) {
  for (char32_t codePoint = 1; codePoint <= 0x10FFFF; ++codePoint) {
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) continue;
    char16_t wide[3] = {};
    if (codePoint < 0x10000) {
      wide[0] = static_cast<char16_t>(codePoint);
    } else {
      wide[0] = static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
      wide[1] = static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    }
    char narrow[8];
    ASSERT_GT(NarrowFromWide(wide, narrow, 8), 0) << static_cast<std::uint32_t>(codePoint);
    char16_t back[4];
    ASSERT_GT(WideFromNarrow(narrow, back, 4), 0) << static_cast<std::uint32_t>(codePoint);
    ASSERT_EQ(std::u16string(back), std::u16string(wide)) << static_cast<std::uint32_t>(codePoint);
  }
}

TEST(DecimalToInt, ReadsLikeTheRuntimeAndSaturates) {
  struct Case {
    const char* text;
    std::int32_t value;
  } const cases[] = {
      {nullptr, 0},        {"", 0},           {"abc", 0},        {"-", 0},
      {"42", 42},          {"  \t\n42", 42},  {"+5", 5},         {"-7x", -7},
      {"12px", 12},        {"1 2", 1},        {"- 1", 0},        {"007", 7},
      {"2147483647", INT_MAX},   {"2147483648", INT_MAX},      {"-2147483648", INT_MIN},
      {"-2147483649", INT_MIN},  {"99999999999999999999999", INT_MAX},
      {"-99999999999999999999999", INT_MIN},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecimalToInt(c.text), c.value) << (c.text ? c.text : "(null)");
  }
}

TEST(WideCopy, CutsToCapacityAndAppendsWithinIt) {
  char16_t out[6];
  std::fill(std::begin(out), std::end(out), kCanary);
  EXPECT_EQ(WideCopy(out, 4, u"abcdef"), 3);
  EXPECT_EQ(std::u16string(out), u"abc");
  EXPECT_EQ(out[4], kCanary);
  EXPECT_EQ(WideCopy(out, 6, u"ab"), 2);
  EXPECT_EQ(WideAppend(out, 6, u"cdefgh"), 5);
  EXPECT_EQ(std::u16string(out), u"abcde");
  EXPECT_EQ(WideAppend(out, 6, u"x"), 5);  // full: nothing more fits
  EXPECT_EQ(std::u16string(out), u"abcde");
}

}  // namespace
}  // namespace orvendale::platform

namespace orvendale::platform {
namespace {

// Only the 26 ASCII capitals change; bytes of UTF-8 sequences and every other byte stay.
TEST(LowerAscii, LowersTheAsciiCapitalsOnly) {
  const std::string capitals = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
  const std::string small = "abcdefghijklmnopqrstuvwxyz";
  for (int byte = 0; byte < 256; ++byte) {
    const char c = static_cast<char>(byte);
    const std::size_t at = capitals.find(c);
    EXPECT_EQ(LowerAscii(c), at == std::string::npos || c == 0 ? c : small[at]) << byte;
  }
}

TEST(KeywordEquals, IgnoresTheCaseOfAsciiLettersOnly) {
  const struct {
    const char* a;
    const char* b;
    bool equal;
  } table[] = {
      {"locale", "LoCaLe", true},    {"center", "centre", false}, {"bold", "bol", false},
      {"bol", "bold", false},        {"", "", true},              {nullptr, "", true},
      {nullptr, nullptr, true},      {nullptr, "none", false},    {"JP", nullptr, false},
      {"\xC3\x84", "\xC3\xA4", false},  // letters outside ASCII compare exactly
      {"a[", "A{", false},              // '[' and '{' are 32 apart, yet no letters
      {"Mon", "MON", true},
  };
  for (const auto& row : table) {
    EXPECT_EQ(KeywordEquals(row.a, row.b), row.equal) << (row.a ? row.a : "(null)") << " " << (row.b ? row.b : "(null)");
    EXPECT_EQ(KeywordEquals(row.b, row.a), row.equal);
  }
}

}  // namespace
}  // namespace orvendale::platform
