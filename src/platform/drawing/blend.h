#pragma once
// Inside the platform only: one colour laid over one pixel at a strength, the way text
// coverage and image alpha reach a bitmap.

#include <cstdint>

namespace orvendale::platform {

enum class PixelAlpha : bool { kNone, kStraight };

// `color` (0x00RRGGBB) at strength `alpha` (0 none .. 255 whole) over the pixel `under`.
// Without pixel alpha (0x00RRGGBB words) each colour channel is blended and the top byte
// stays 0. With straight alpha (0xAARRGGBB) the colour is composited "over" the pixel:
// over a transparent pixel the result is the colour itself with `alpha` as its alpha,
// over an opaque one it is opaque. Channels are rounded to nearest.
constexpr std::uint32_t BlendOver(std::uint32_t under, std::uint32_t color, std::uint32_t alpha,
                                  PixelAlpha mode) {
  color &= 0xFFFFFFu;
  if (alpha == 0) return under;
  if (mode == PixelAlpha::kNone) {
    std::uint32_t blended = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const std::uint32_t top = color >> shift & 0xFFu;
      const std::uint32_t bottom = under >> shift & 0xFFu;
      blended |= (top * alpha + bottom * (255 - alpha) + 127) / 255 << shift;
    }
    return blended;
  }
  const std::uint32_t underAlpha = under >> 24;
  if (alpha >= 255 || underAlpha == 0) return (alpha >= 255 ? 0xFFu : alpha) << 24 | color;
  // Weights in 255ths of 255ths: the colour's share and what is left of the pixel's.
  const std::uint32_t over = alpha * 255;                // [255, 64770]
  const std::uint32_t kept = underAlpha * (255 - alpha);  // [1, 64770]
  const std::uint32_t total = over + kept;               // [256, 65025]
  std::uint32_t blended = (total + 127) / 255 << 24;
  for (int shift = 0; shift <= 16; shift += 8) {
    const std::uint32_t top = color >> shift & 0xFFu;
    const std::uint32_t bottom = under >> shift & 0xFFu;
    blended |= (top * over + bottom * kept + total / 2) / total << shift;
  }
  return blended;
}

}  // namespace orvendale::platform
