#pragma once
// Text as Windows editors save it: valid UTF-8 turned into UTF-16 bytes, little or big
// endian, with the byte-order mark in front.

#include <cstdint>
#include <string>

namespace orvendale::testing {

enum class ByteOrder { kLittleEndian, kBigEndian };

inline std::string Utf16Bytes(const std::string& utf8, ByteOrder order) {
  std::string bytes;
  const auto put = [&](std::uint32_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += order == ByteOrder::kBigEndian ? std::string{high, low} : std::string{low, high};
  };
  put(0xFEFF);
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    std::uint32_t codePoint = length == 1 ? lead : lead & (0x3F >> (length - 1));
    for (int k = 1; k < length; ++k) codePoint = codePoint << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += static_cast<std::size_t>(length);
    if (codePoint >= 0x10000) {
      put(0xD800 + ((codePoint - 0x10000) >> 10));
      put(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else {
      put(codePoint);
    }
  }
  return bytes;
}

inline const std::string kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace orvendale::testing
