#pragma once
// Text as Windows editors save it: valid UTF-8 turned into UTF-16 bytes, little or big
// endian, with the byte-order mark in front.

#include <cstdint>
#include <string>
#include <string_view>

namespace orvendale::testing {

enum class ByteOrder { kLittleEndian, kBigEndian };

// The UTF-16 bytes of `utf8` in `order`, the mark first, into `out`; false (with `out`
// holding what came before) when `utf8` is not valid UTF-8: a cut sequence, an overlong
// form, a surrogate or a value beyond U+10FFFF.
inline bool TryUtf16Bytes(std::string_view utf8, ByteOrder order, std::string* out) {
  const auto put = [&](std::uint32_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out->push_back(order == ByteOrder::kBigEndian ? high : low);
    out->push_back(order == ByteOrder::kBigEndian ? low : high);
  };
  out->clear();
  put(0xFEFF);
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<std::uint8_t>(utf8[i]);
    int length = 0;
    std::uint32_t c = 0;
    std::uint32_t least = 0;  // the smallest value of a sequence of this length
    if (lead < 0x80) {
      length = 1, c = lead;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      length = 2, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      length = 3, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      length = 4, c = lead & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (utf8.size() - i < static_cast<std::size_t>(length)) return false;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<std::uint8_t>(utf8[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) return false;
      c = c << 6 | (next & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(length);
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return true;
}

// The UTF-16 bytes of valid UTF-8 text, the mark first; empty for text that is not valid.
inline std::string Utf16Bytes(const std::string& utf8, ByteOrder order) {
  std::string bytes;
  if (!TryUtf16Bytes(utf8, order, &bytes)) bytes.clear();
  return bytes;
}

inline const std::string kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace orvendale::testing
