// The colour text over arbitrary UTF-16 text, with components carried over from one
// text to the next. The colour is always the low 8 bits of the components afterwards,
// and a text that does not start with "RGB(" changes nothing.

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <string>

#include "fuzz_support.h"
#include "render/text_settings_loader.h"

namespace orvendale {
namespace {

using fuzzing::Check;

ColorRef Expected(const ColorComponents& components) {
  return (components.red & 0xFF) | (components.green & 0xFF) << 8 | (components.blue & 0xFF) << 16;
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
    const std::u16string text = units.substr(start, end - start);
    const ColorComponents before = components;
    const ColorRef color = ParseColorText(text.c_str(), components);
    Check(color == Expected(components));
    if (text.compare(0, 4, u"RGB(") != 0) {
      Check(components.red == before.red && components.green == before.green &&
            components.blue == before.blue);
    }
    start = end + 1;
  } while (start < units.size());
  ParseColorText(nullptr, components);
  return 0;
}
