#pragma once
// Inside the platform only: what the graphics handles hold. Code above the platform
// sees the types of graphics.h as opaque.

#include <cstdint>
#include <memory>

#include "platform/drawing/graphics.h"

namespace orvendale::platform {

struct Bitmap {
  std::int32_t width = 0;
  std::int32_t height = 0;
  // width x height words, bottom-up: the first row is the picture's bottom. 0x00RRGGBB,
  // or 0xAARRGGBB when the header's compression is kAlphaBitFields.
  std::unique_ptr<std::uint32_t[]> pixels;
  // The header the bitmap was created from, its image size made exact.
  BitmapInfoHeader header;

  bool HasAlpha() const { return header.compression == kAlphaBitFields; }

  // Row y of the picture, counted from the top; y must lie in [0, height).
  std::uint32_t* Row(std::int32_t y) {
    return pixels.get() + static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(width);
  }
};

struct Brush {
  ColorRef color = 0;
};

enum class ContextKind : std::uint8_t { kScreen, kMemory };

struct DrawingContext {
  ContextKind kind = ContextKind::kMemory;
  Bitmap* bitmap = nullptr;
  Font* font = nullptr;
  ColorRef textColor = 0;  // black, as on a new context
  int backgroundMode = kOpaque;
};

// Converts a ColorRef (red low) to a pixel word (blue low), top byte 0.
constexpr std::uint32_t PixelFromColorRef(ColorRef color) {
  return (color & 0x0000FF00u) | (color & 0xFFu) << 16 | (color >> 16 & 0xFFu);
}

// The word a bitmap stores for `color` drawn at full strength: opaque where the bitmap
// has alpha.
inline std::uint32_t SolidPixel(const Bitmap& bitmap, ColorRef color) {
  return PixelFromColorRef(color) | (bitmap.HasAlpha() ? 0xFF000000u : 0u);
}

// The intersection of `rect` with the selected bitmap's area; empty (right <= left or
// bottom <= top) when there is no bitmap.
Rect ClipToBitmap(const DrawingContext& context, const Rect& rect);

}  // namespace orvendale::platform
