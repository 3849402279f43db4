#pragma once
// The encodings a settings file may be saved in, told apart by a byte-order mark at its
// start, and the conversion of UTF-16 text to the system code page (UTF-8) that lets a
// file saved as UTF-16 read as its UTF-8 twin.

#include <cstdint>

namespace orvendale {

enum class TextEncoding : std::uint8_t {
  kSystemCodePage,     // no mark: bytes as they stand
  kUtf16LittleEndian,  // FF FE
  kUtf16BigEndian,     // FE FF
};

inline constexpr int kUtf8MarkBytes = 3;  // EF BB BF
inline constexpr char kUtf8Mark[kUtf8MarkBytes] = {'\xEF', '\xBB', '\xBF'};

struct ByteOrderMark {
  TextEncoding encoding = TextEncoding::kSystemCodePage;
  int length = 0;  // bytes of the mark: 0, 2 or kUtf8MarkBytes
};

// The mark at the start of the `count` bytes at `bytes`. A UTF-8 mark names the system
// code page, which is UTF-8. No mark gives kSystemCodePage and length 0, also when
// `count` is too short to hold one.
ByteOrderMark FindByteOrderMark(const char* bytes, int count);

// Converts UTF-16 (in the byte order of `encoding`, which must be one of the UTF-16
// encodings) from the `inCount` bytes at `in` into UTF-8 at `out`, whole characters only:
// the conversion stops before a character whose bytes do not fit the `room` bytes left,
// and, unless `inputEnds`, before a character whose bytes are not all in the input yet
// (an odd last byte, a leading surrogate at the end). An unpaired surrogate, and with
// `inputEnds` an odd last byte or a leading surrogate at the end, becomes U+FFFD.
// Returns the bytes written (at most `room`); `*consumed` is the input bytes used and
// `*roomShort` tells whether the conversion stopped for want of room.
int ConvertUtf16ToUtf8(const unsigned char* in, int inCount, TextEncoding encoding,
                       bool inputEnds, char* out, int room, int* consumed, bool* roomShort);

}  // namespace orvendale
