#include "platform/system/text.h"

#include <cstdint>
#include <limits>

namespace orvendale::platform {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Decodes one code point of terminated UTF-8 at `text`, advancing it. An ill-formed
// sequence yields U+FFFD for its maximal well-formed prefix (at least one byte), so a
// bad byte never swallows the valid character after it.
char32_t DecodeUtf8(const unsigned char*& text) {
  const unsigned char lead = *text++;
  if (lead < 0x80) return lead;

  int length = 0;
  char32_t codePoint = 0;
  unsigned char low = 0x80;  // allowed range of the second byte
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
    if (lead == 0xE0) low = 0xA0;   // no overlong forms
    if (lead == 0xED) high = 0x9F;  // no surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
    if (lead == 0xF0) low = 0x90;   // no overlong forms
    if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return kReplacementCharacter;
  }

  for (int i = 1; i < length; ++i) {
    const unsigned char byte = *text;
    const bool fits = i == 1 ? (byte >= low && byte <= high) : IsContinuation(byte);
    if (!fits) return kReplacementCharacter;  // the terminator also stops here
    codePoint = codePoint << 6 | (byte & 0x3F);
    ++text;
  }
  return codePoint;
}

// Decodes one code point of terminated UTF-16, advancing `text`; an unpaired surrogate
// yields U+FFFD.
char32_t DecodeUtf16(const char16_t*& text) {
  const char16_t unit = *text++;
  if (unit < 0xD800 || unit > 0xDFFF) return unit;
  if (unit <= 0xDBFF && *text >= 0xDC00 && *text <= 0xDFFF) {
    const char16_t trail = *text++;
    return 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (trail - 0xDC00);
  }
  return kReplacementCharacter;
}

}  // namespace

int WideFromNarrow(const char* narrow, char16_t* out, int capacity) {
  if (narrow == nullptr || out == nullptr || capacity < 1) return 0;
  const auto* cursor = reinterpret_cast<const unsigned char*>(narrow);
  int written = 0;
  while (*cursor != 0) {
    const char32_t codePoint = DecodeUtf8(cursor);
    const int units = codePoint >= 0x10000 ? 2 : 1;
    if (written + units > capacity - 1) {
      out[0] = 0;
      return 0;
    }
    if (units == 2) {
      out[written++] = static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
      out[written++] = static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    } else {
      out[written++] = static_cast<char16_t>(codePoint);
    }
  }
  out[written] = 0;
  return written + 1;
}

namespace {

enum class Overflow { kRefuse, kCut };

// UTF-16 to UTF-8 into `out`; text that does not fit is refused (empty, 0) or cut after
// its last whole character that fits.
int EncodeNarrow(const char16_t* wide, char* out, int capacity, Overflow overflow) {
  if (wide == nullptr || out == nullptr || capacity < 1) return 0;
  int written = 0;
  while (*wide != 0) {
    const char32_t codePoint = DecodeUtf16(wide);
    unsigned char bytes[4];
    int length = 0;
    if (codePoint < 0x80) {
      bytes[length++] = static_cast<unsigned char>(codePoint);
    } else if (codePoint < 0x800) {
      bytes[length++] = static_cast<unsigned char>(0xC0 | codePoint >> 6);
      bytes[length++] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
      bytes[length++] = static_cast<unsigned char>(0xE0 | codePoint >> 12);
      bytes[length++] = static_cast<unsigned char>(0x80 | (codePoint >> 6 & 0x3F));
      bytes[length++] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    } else {
      bytes[length++] = static_cast<unsigned char>(0xF0 | codePoint >> 18);
      bytes[length++] = static_cast<unsigned char>(0x80 | (codePoint >> 12 & 0x3F));
      bytes[length++] = static_cast<unsigned char>(0x80 | (codePoint >> 6 & 0x3F));
      bytes[length++] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    }
    if (written + length > capacity - 1) {
      if (overflow == Overflow::kCut) break;
      out[0] = 0;
      return 0;
    }
    for (int i = 0; i < length; ++i) out[written++] = static_cast<char>(bytes[i]);
  }
  out[written] = 0;
  return written + 1;
}

}  // namespace

int NarrowFromWide(const char16_t* wide, char* out, int capacity) {
  return EncodeNarrow(wide, out, capacity, Overflow::kRefuse);
}

int NarrowFromWideCut(const char16_t* wide, char* out, int capacity) {
  return EncodeNarrow(wide, out, capacity, Overflow::kCut);
}

std::int32_t DecimalToInt(const char* text) {
  if (text == nullptr) return 0;
  const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
  while (isSpace(*text)) ++text;
  bool negative = false;
  if (*text == '+' || *text == '-') negative = *text++ == '-';
  // Accumulate the magnitude in 64 bits and stop growing it past the 32-bit range, so
  // any number of digits is read without overflow.
  constexpr std::int64_t kLimit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + 1;
  std::int64_t magnitude = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    if (magnitude <= kLimit) magnitude = magnitude * 10 + (*text - '0');
  }
  if (negative) return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::min()
                                           : static_cast<std::int32_t>(-magnitude);
  return magnitude >= kLimit ? std::numeric_limits<std::int32_t>::max()
                             : static_cast<std::int32_t>(magnitude);
}

int WideLength(const char16_t* text) {
  if (text == nullptr) return 0;
  int length = 0;
  while (text[length] != 0) ++length;
  return length;
}

int WideCopy(char16_t* out, int capacity, const char16_t* source) {
  if (out == nullptr || capacity < 1) return 0;
  int length = 0;
  if (source != nullptr) {
    while (length < capacity - 1 && source[length] != 0) {
      out[length] = source[length];
      ++length;
    }
  }
  out[length] = 0;
  return length;
}

int WideAppend(char16_t* out, int capacity, const char16_t* source) {
  if (out == nullptr || capacity < 1) return 0;
  int length = 0;
  while (length < capacity - 1 && out[length] != 0) ++length;
  return length + WideCopy(out + length, capacity - length, source);
}

bool WideEquals(const char16_t* a, const char16_t* b) {
  if (a == nullptr || b == nullptr) return WideLength(a) == 0 && WideLength(b) == 0;
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return *a == *b;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool KeywordEquals(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) {
    return (a == nullptr || *a == 0) && (b == nullptr || *b == 0);
  }
  while (*a != 0 && LowerAscii(*a) == LowerAscii(*b)) {
    ++a;
    ++b;
  }
  return LowerAscii(*a) == LowerAscii(*b);
}

}  // namespace orvendale::platform
