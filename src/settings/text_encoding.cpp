#include "settings/text_encoding.h"

namespace orvendale {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;
constexpr int kUnitBytes = 2;

bool IsLeadingSurrogate(char32_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsTrailingSurrogate(char32_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

char32_t UnitAt(const unsigned char* bytes, TextEncoding encoding) {
  return encoding == TextEncoding::kUtf16BigEndian ? char32_t{bytes[0]} << 8 | bytes[1]
                                                   : char32_t{bytes[1]} << 8 | bytes[0];
}

// Bytes of the UTF-8 form of `codePoint`, which is at most 0x10FFFF and no surrogate.
int Utf8Length(char32_t codePoint) {
  if (codePoint < 0x80) return 1;
  if (codePoint < 0x800) return 2;
  if (codePoint < 0x10000) return 3;
  return 4;
}

void PutUtf8(char32_t codePoint, int length, char* out) {
  if (length == 1) {
    out[0] = static_cast<char>(codePoint);
    return;
  }
  // The lead byte carries the length in its high bits; each following byte six bits.
  static constexpr unsigned char kLeadBits[5] = {0, 0, 0xC0, 0xE0, 0xF0};
  for (int i = length - 1; i > 0; --i) {
    out[i] = static_cast<char>(0x80 | (codePoint & 0x3F));
    codePoint >>= 6;
  }
  out[0] = static_cast<char>(kLeadBits[length] | codePoint);
}

}  // namespace

ByteOrderMark FindByteOrderMark(const char* bytes, int count) {
  const auto byte = [&](int i) { return static_cast<unsigned char>(bytes[i]); };
  if (count >= kUtf8MarkBytes && byte(0) == 0xEF && byte(1) == 0xBB && byte(2) == 0xBF) {
    return {TextEncoding::kSystemCodePage, kUtf8MarkBytes};
  }
  if (count >= kUnitBytes && byte(0) == 0xFF && byte(1) == 0xFE) {
    return {TextEncoding::kUtf16LittleEndian, kUnitBytes};
  }
  if (count >= kUnitBytes && byte(0) == 0xFE && byte(1) == 0xFF) {
    return {TextEncoding::kUtf16BigEndian, kUnitBytes};
  }
  return {};
}

int ConvertUtf16ToUtf8(const unsigned char* in, int inCount, TextEncoding encoding,
                       bool inputEnds, char* out, int room, int* consumed, bool* roomShort) {
  int read = 0;
  int written = 0;
  *roomShort = false;
  while (read < inCount) {
    const int left = inCount - read;
    char32_t codePoint = kReplacementCharacter;
    int used = left;  // an odd last byte, when the input ends
    if (left >= kUnitBytes) {
      const char32_t unit = UnitAt(in + read, encoding);
      used = kUnitBytes;
      if (IsLeadingSurrogate(unit)) {
        if (left >= 2 * kUnitBytes) {
          const char32_t next = UnitAt(in + read + kUnitBytes, encoding);
          if (IsTrailingSurrogate(next)) {
            codePoint = 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00);
            used = 2 * kUnitBytes;
          }
        } else if (!inputEnds) {
          break;  // its partner may still come
        }
      } else if (!IsTrailingSurrogate(unit)) {
        codePoint = unit;
      }
    } else if (!inputEnds) {
      break;  // the other byte of the unit may still come
    }
    const int length = Utf8Length(codePoint);
    if (length > room - written) {
      *roomShort = true;
      break;
    }
    PutUtf8(codePoint, length, out + written);
    written += length;
    read += used;
  }
  *consumed = read;
  return written;
}

}  // namespace orvendale
