#include "platform/drawing/graphics.h"

#include <algorithm>
#include <new>
#include <utility>

#include "platform/fault_injection.h"
#include "platform/drawing/gdi_objects.h"

namespace orvendale::platform {
namespace {

constexpr std::uint16_t kSupportedBitCount = 32;

DrawingContext screenContext{ContextKind::kScreen};

}  // namespace

DrawingContext* GetScreenContext() { return &screenContext; }

void ReleaseScreenContext(DrawingContext*) {}

DrawingContext* CreateCompatibleContext(DrawingContext* reference) {
  if (reference == nullptr) return nullptr;
  return new (std::nothrow) DrawingContext{ContextKind::kMemory};
}

void DeleteContext(DrawingContext* context) {
  if (context == nullptr || context->kind == ContextKind::kScreen) return;
  delete context;
}

Font* SelectFont(DrawingContext* context, Font* font) {
  if (context == nullptr) return nullptr;
  return std::exchange(context->font, font);
}

Bitmap* SelectBitmap(DrawingContext* context, Bitmap* bitmap) {
  if (context == nullptr) return nullptr;
  return std::exchange(context->bitmap, bitmap);
}

void DeleteBitmap(Bitmap* bitmap) { delete bitmap; }

void DeleteBrush(Brush* brush) { delete brush; }

Bitmap* CreateDibSection(DrawingContext* reference, const BitmapInfo* info, std::uint32_t,
                         void* section, std::uint32_t, void** bits) {
  if (bits != nullptr) *bits = nullptr;
  if (reference == nullptr || info == nullptr || section != nullptr) return nullptr;
  const BitmapInfoHeader& header = info->header;
  if (header.bitCount != kSupportedBitCount ||
      (header.compression != kUncompressedRgb && header.compression != kAlphaBitFields)) {
    return nullptr;
  }
  if (header.width <= 0 || header.height <= 0) return nullptr;
  // Both factors are below 2^31, so the product fits 64 bits exactly.
  const std::uint64_t pixelCount =
      static_cast<std::uint64_t>(header.width) * static_cast<std::uint64_t>(header.height);
  if (pixelCount * 4 > kMaxBitmapBytes) return nullptr;
  if (ShouldFail(FaultPoint::kCreateBitmapSection)) return nullptr;

  auto* bitmap = new (std::nothrow) Bitmap{header.width, header.height, nullptr, header};
  if (bitmap == nullptr) return nullptr;
  bitmap->header.sizeImage = static_cast<std::uint32_t>(pixelCount * 4);
  bitmap->pixels.reset(new (std::nothrow) std::uint32_t[pixelCount]());
  if (!bitmap->pixels) {
    delete bitmap;
    return nullptr;
  }
  if (bits != nullptr) *bits = bitmap->pixels.get();
  return bitmap;
}

bool GetBitmapDescription(const Bitmap* bitmap, BitmapDescription* out) {
  if (bitmap == nullptr || out == nullptr) return false;
  *out = BitmapDescription{};
  out->width = bitmap->width;
  out->height = bitmap->height;
  out->widthBytes = bitmap->width * 4;
  out->bits = bitmap->pixels.get();
  return true;
}

bool GetDibDescription(const Bitmap* bitmap, DibDescription* out) {
  if (bitmap == nullptr || out == nullptr) return false;
  *out = DibDescription{};
  GetBitmapDescription(bitmap, &out->bitmap);
  out->header = bitmap->header;
  return true;
}

Brush* CreateSolidBrush(ColorRef color) { return new (std::nothrow) Brush{color}; }

Rect ClipToBitmap(const DrawingContext& context, const Rect& rect) {
  if (context.bitmap == nullptr) return Rect{};
  return Rect{std::max(rect.left, 0), std::max(rect.top, 0),
              std::min(rect.right, context.bitmap->width),
              std::min(rect.bottom, context.bitmap->height)};
}

int FillRect(DrawingContext* context, const Rect* rect, const Brush* brush) {
  if (context == nullptr || rect == nullptr || brush == nullptr) return 0;
  const Rect clipped = ClipToBitmap(*context, *rect);
  if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) return 1;
  const std::uint32_t pixel = SolidPixel(*context->bitmap, brush->color);
  for (std::int32_t y = clipped.top; y < clipped.bottom; ++y) {
    std::uint32_t* row = context->bitmap->Row(y);
    std::fill(row + clipped.left, row + clipped.right, pixel);
  }
  return 1;
}

int TransparentBlt(DrawingContext* destination, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height, DrawingContext* source, std::int32_t sourceX,
                   std::int32_t sourceY, std::int32_t sourceWidth, std::int32_t sourceHeight,
                   ColorRef transparent) {
  if (destination == nullptr || source == nullptr || destination->bitmap == nullptr ||
      source->bitmap == nullptr || width != sourceWidth || height != sourceHeight) {
    return 0;
  }
  // The part of the rectangle that lies inside both bitmaps, in destination coordinates;
  // every sum is taken in 64 bits.
  const Bitmap& from = *source->bitmap;
  Bitmap& to = *destination->bitmap;
  const std::int64_t dx = std::int64_t{sourceX} - x;
  const std::int64_t dy = std::int64_t{sourceY} - y;
  const std::int64_t left = std::max({std::int64_t{x}, std::int64_t{0}, -dx});
  const std::int64_t top = std::max({std::int64_t{y}, std::int64_t{0}, -dy});
  const std::int64_t right = std::min({std::int64_t{x} + width, std::int64_t{to.width}, from.width - dx});
  const std::int64_t bottom = std::min({std::int64_t{y} + height, std::int64_t{to.height}, from.height - dy});
  const std::uint32_t key = PixelFromColorRef(transparent);
  const std::uint32_t opaque = to.HasAlpha() ? 0xFF000000u : 0u;
  for (std::int64_t row = top; row < bottom; ++row) {
    const std::uint32_t* in = const_cast<Bitmap&>(from).Row(static_cast<std::int32_t>(row + dy));
    std::uint32_t* out = to.Row(static_cast<std::int32_t>(row));
    for (std::int64_t column = left; column < right; ++column) {
      const std::uint32_t pixel = in[column + dx];
      if (pixel != key) out[column] = pixel | opaque;
    }
  }
  return 1;
}

int SetBackgroundMode(DrawingContext* context, int mode) {
  if (context == nullptr) return 0;
  return std::exchange(context->backgroundMode, mode);
}

ColorRef SetTextColor(DrawingContext* context, ColorRef color) {
  if (context == nullptr) return 0;
  return std::exchange(context->textColor, color);
}

}  // namespace orvendale::platform
