#pragma once
// Text services of the platform: the system code page (UTF-8 on this host) to and from
// UTF-16, decimal conversion, bounded wide-string helpers and the keyword comparison.

#include <cstdint>

namespace orvendale::platform {

// Converts the terminated narrow text `narrow` (UTF-8; an invalid byte becomes U+FFFD)
// to UTF-16 in `out`, terminator included. Returns the number of UTF-16 units written,
// terminator included; 0 when `narrow` or `out` is null, `capacity` < 1, or the text
// does not fit (then `out` holds an empty string, if capacity >= 1).
// Writes at most `capacity` units.
int WideFromNarrow(const char* narrow, char16_t* out, int capacity);

// Converts the terminated UTF-16 text `wide` to UTF-8 in `out`, terminator included.
// An unpaired surrogate becomes U+FFFD. Returns the number of bytes written, terminator
// included; 0 when an argument is null, `capacity` < 1, or the text does not fit (then
// `out` holds an empty string). Writes at most `capacity` bytes.
int NarrowFromWide(const char16_t* wide, char* out, int capacity);

// As NarrowFromWide, except that text which does not fit is cut after its last whole
// character that fits, never inside one. Returns the bytes written, terminator included
// (1 for a cut to empty text); 0 only for a null argument or `capacity` < 1.
int NarrowFromWideCut(const char16_t* wide, char* out, int capacity);

// The C runtime's decimal conversion: leading white space skipped, an optional sign,
// decimal digits up to the first other byte; no digits gives 0. Saturates at the 32-bit
// range instead of overflowing. Null gives 0.
std::int32_t DecimalToInt(const char* text);

// Length of terminated wide text in UTF-16 units; 0 for null.
int WideLength(const char16_t* text);

// Copies terminated `source` into `out`, cut to `capacity` - 1 units and terminated.
// Returns the number of units copied, terminator not counted. Writes at most `capacity`
// units; nothing when `capacity` < 1. Null `source` copies an empty string.
int WideCopy(char16_t* out, int capacity, const char16_t* source);

// Appends `source` to the terminated text in `out`, cut so that the result fits
// `capacity` units with its terminator. Returns the new length.
int WideAppend(char16_t* out, int capacity, const char16_t* source);

// Exact, case-sensitive comparison of two terminated wide texts; null equals only null
// or empty.
bool WideEquals(const char16_t* a, const char16_t* b);

// `c` in lower case when it is an ASCII capital; every other byte as it is.
char LowerAscii(char c);

// The platform's keyword comparison: ASCII letters compare without regard to case,
// every other byte exactly. Null equals only null or empty.
bool KeywordEquals(const char* a, const char* b);

}  // namespace orvendale::platform
