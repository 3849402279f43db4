#pragma once
// Picture sizes and coordinates computed from settings values, which can be as large as
// 32-bit integers: the sums are taken in 64 bits and then brought back without overflow.

#include <cstdint>
#include <limits>

namespace orvendale {

// A picture width or height: the value, or 0 (which no surface accepts) when it leaves
// the 32-bit range.
constexpr std::int32_t PictureExtent(std::int64_t value) {
  return value < std::numeric_limits<std::int32_t>::min() ||
                 value > std::numeric_limits<std::int32_t>::max()
             ? 0
             : static_cast<std::int32_t>(value);
}

// A coordinate: the value saturated to the 32-bit range; anything that far out is
// outside every picture anyway.
constexpr std::int32_t SaturateToInt32(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(value);
}

}  // namespace orvendale
