#pragma once
// Plain values shared by every layer: status results, colours, rectangles and the
// local-time record.

#include <cstdint>

namespace orvendale {

// Status of an operation: 0 for success, E_FAIL for failure. Imaging-service calls may
// also return other values; each caller says which ones it accepts.
using HResult = std::int32_t;
inline constexpr HResult S_OK = 0;
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);

// A colour as settings and drawing calls give it: red in bits 0-7, green in bits 8-15,
// blue in bits 16-23, bits 24-31 zero. Surface pixels store the reverse order.
using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  return static_cast<ColorRef>(red) | static_cast<ColorRef>(green) << 8 |
         static_cast<ColorRef>(blue) << 16;
}

// Magenta. Every picture is filled with it first; the PNG export makes exactly the pixels
// of this colour transparent. It reads the same as a ColorRef and as a surface pixel.
inline constexpr ColorRef KeyColor = 0x00FF00FF;

// A rectangle in pixels; right and bottom are exclusive.
struct Rect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// The platform's local-time record. Only year, month (1-12) and day (1-31) are read and
// changed by the system; dayOfWeek is filled by the clock but goes stale when a date is
// moved, so weekdays are always computed.
struct DateRecord {
  std::uint16_t year = 0;
  std::uint16_t month = 0;
  std::uint16_t dayOfWeek = 0;
  std::uint16_t day = 0;
  std::uint16_t hour = 0;
  std::uint16_t minute = 0;
  std::uint16_t second = 0;
  std::uint16_t milliseconds = 0;
};

// The low 16 bits of a value read as a two's-complement number: 70000 gives 4464,
// 40000 gives -25536, -1 stays -1. Defined for every input.
constexpr std::int16_t CutTo16Bits(std::int32_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(value)));
}

}  // namespace orvendale
