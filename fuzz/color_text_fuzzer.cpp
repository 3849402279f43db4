// The colour text, two ways over each input.
//
// As UTF-16 texts separated by NUL units, read one after another with the components
// carried over: no component leaves 0..255, a text that does not start with "RGB(" changes
// nothing, reading a text again changes nothing more, and the colour written back as
// "RGB(r, g, b)" reads as itself.
//
// As the recipe of a well-formed "RGB(%d, %d, %d)" text (signs, white space, digits of any
// length), perhaps cut short: the components agree with a simple model that reads the
// digits as decimal text and clamps them to the signed 32-bit range.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "render/text_settings_loader.h"

namespace orvendale {
namespace {

using fuzzing::Check;

bool SameComponents(const ColorComponents& a, const ColorComponents& b) {
  return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The properties of one text read after `components`.
void CheckText(const std::u16string& text, ColorComponents& components) {
  const ColorComponents before = components;
  const ColorRef color = ParseColorText(text.c_str(), components);
  Check((color >> 24) == 0);
  if (text.compare(0, 4, u"RGB(") != 0) Check(SameComponents(components, before));

  ColorComponents again = components;
  Check(ParseColorText(text.c_str(), again) == color);
  Check(SameComponents(again, components));

  const std::string written = "RGB(" + std::to_string(color & 0xFF) + ", " + std::to_string(color >> 8 & 0xFF) +
                              ", " + std::to_string(color >> 16 & 0xFF) + ")";
  ColorComponents fresh;
  Check(ParseColorText(Widen(written).c_str(), fresh) == color);
  Check(fresh.red == (color & 0xFF) && fresh.green == (color >> 8 & 0xFF) && fresh.blue == (color >> 16 & 0xFF));
}

// Takes bytes from the input, and zeros once it is used up.
class Recipe {
 public:
  Recipe(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::uint8_t Next() { return next_ < size_ ? data_[next_++] : 0; }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t next_ = 0;
};

// The value a number's sign and decimal digits stand for, clamped to the signed 32-bit
// range, as its two's-complement bit pattern: decimal text compared as text, no arithmetic
// that could overflow.
std::uint32_t ModelNumber(bool negative, const std::string& digits) {
  const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
  const std::string significant = digits.substr(first);
  const std::string limit = negative ? "2147483648" : "2147483647";
  const bool beyond = significant.size() > limit.size() || (significant.size() == limit.size() && significant > limit);
  const std::int64_t magnitude = beyond ? std::stoll(limit) : significant.empty() ? 0 : std::stoll(significant);
  return static_cast<std::uint32_t>(static_cast<std::int64_t>(negative ? -magnitude : magnitude) & 0xFFFFFFFF);
}

// Builds "RGB(<ws><sign><digits>,<ws><ws><sign><digits>,<ws><ws><sign><digits>)" from the
// recipe, cuts it where the recipe says, and checks each component against the model: a
// component is read when at least one of its digits is left, and then from the digits left.
void CheckWellFormed(const std::uint8_t* data, std::size_t size) {
  static constexpr char kWhiteSpace[] = " \t\n\v\f\r";
  Recipe recipe(data, size);
  std::string text = "RGB(";
  std::array<std::size_t, 3> digitsStart{};
  std::array<std::string, 3> digits;
  std::array<bool, 3> negative{};
  for (int i = 0; i < 3; ++i) {
    if (i > 0) {
      text += ',';
      for (int blanks = recipe.Next() % 3; blanks > 0; --blanks) text += kWhiteSpace[recipe.Next() % 6];
    }
    for (int blanks = recipe.Next() % 3; blanks > 0; --blanks) text += kWhiteSpace[recipe.Next() % 6];
    const std::uint8_t sign = recipe.Next() % 3;
    negative[i] = sign == 2;
    if (sign != 0) text += sign == 1 ? '+' : '-';
    const int count = 1 + recipe.Next() % 24;
    for (int k = 0; k < count; ++k) digits[i] += static_cast<char>('0' + recipe.Next() % 10);
    digitsStart[i] = text.size();
    text += digits[i];
  }
  text += ')';
  const std::size_t cut = std::min<std::size_t>(text.size(), recipe.Next() * 2u);
  const std::size_t kept = cut == 0 ? text.size() : cut;

  ColorComponents initial;
  initial.red = 0xA1B2C3D4u;  // components a cut text does not reach keep these
  initial.green = 0x7Fu;
  initial.blue = 0xFFFFFF00u;
  const std::array<std::uint32_t, 3> previous = {initial.red, initial.green, initial.blue};
  ColorComponents components = initial;
  const ColorRef color = ParseColorText(Widen(text.substr(0, kept)).c_str(), components);
  const std::array<std::uint32_t, 3> read = {components.red, components.green, components.blue};
  for (std::size_t i = 0; i < 3; ++i) {
    const bool reached = kept > digitsStart[i];
    const std::size_t left = std::min(digits[i].size(), kept - std::min(kept, digitsStart[i]));
    Check(read[i] == (reached ? ModelNumber(negative[i], digits[i].substr(0, left)) : previous[i]));
  }
  Check(color == ((read[0] & 0xFF) | (read[1] & 0xFF) << 8 | (read[2] & 0xFF) << 16));
}

}  // namespace
}  // namespace orvendale

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvendale;
  // Units up to each NUL are one text: several colours in a row, as the loader reads them.
  std::u16string units(size / 2, u'\0');
  std::memcpy(units.data(), data, units.size() * 2);
  ColorComponents components;
  std::size_t start = 0;
  do {
    const std::size_t end = std::min(units.find(u'\0', start), units.size());
    CheckText(units.substr(start, end - start), components);
    start = end + 1;
  } while (start < units.size());
  ParseColorText(nullptr, components);

  CheckWellFormed(data, size);
  return 0;
}
