#pragma once
// Helpers for drawing tests: a surface selected into a memory context, pixel reads by
// picture coordinates, and the bounding box of everything that is not background.

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/drawing/graphics.h"

namespace orvendale::testing {

using platform::Bitmap;
using platform::DrawingContext;
using platform::Font;

struct ContextDeleter {
  void operator()(DrawingContext* context) const { platform::DeleteContext(context); }
};
struct BitmapDeleter {
  void operator()(Bitmap* bitmap) const { platform::DeleteBitmap(bitmap); }
};
struct FontDeleter {
  void operator()(Font* font) const { platform::DeleteFont(font); }
};
using ContextPtr = std::unique_ptr<DrawingContext, ContextDeleter>;
using BitmapPtr = std::unique_ptr<Bitmap, BitmapDeleter>;
using FontPtr = std::unique_ptr<Font, FontDeleter>;

inline BitmapPtr MakeBitmap(std::int32_t width, std::int32_t height) {
  platform::BitmapInfo info{};
  info.header.width = width;
  info.header.height = height;
  info.header.sizeImage = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(height) * 4u;
  return BitmapPtr(platform::CreateDibSection(platform::GetScreenContext(), &info, 0, nullptr, 0, nullptr));
}

// A font for the face at the height, Shift JIS character set, weight as given.
inline FontPtr MakeFont(const char16_t* face, std::int32_t height, std::int32_t weight = 0) {
  platform::LogicalFont record;
  record.height = height;
  record.weight = weight;
  record.charSet = platform::kShiftJisCharSet;
  for (int i = 0; i < platform::kFaceNameCapacity - 1 && face[i] != 0; ++i) record.faceName[i] = face[i];
  return FontPtr(platform::CreateFontIndirect(&record));
}

// A surface of width x height filled with `background`, selected into a fresh memory
// context with transparent background mode.
class Canvas {
 public:
  Canvas(std::int32_t width, std::int32_t height, ColorRef background = KeyColor)
      : context_(platform::CreateCompatibleContext(platform::GetScreenContext())),
        bitmap_(MakeBitmap(width, height)) {
    platform::SelectBitmap(context_.get(), bitmap_.get());
    Fill(background);
    platform::SetBackgroundMode(context_.get(), platform::kTransparent);
  }
  ~Canvas() {
    platform::SelectFont(context_.get(), nullptr);
    platform::SelectBitmap(context_.get(), nullptr);
  }

  void Fill(ColorRef color) {
    Brush* brush = platform::CreateSolidBrush(color);
    const Rect all{0, 0, width(), height()};
    platform::FillRect(context_.get(), &all, brush);
    platform::DeleteBrush(brush);
  }

  DrawingContext* context() const { return context_.get(); }
  Bitmap* bitmap() const { return bitmap_.get(); }
  std::int32_t width() const { return Description().width; }
  std::int32_t height() const { return Description().height; }

  // The pixel word at (x, y), y counted from the top of the picture.
  std::uint32_t Pixel(std::int32_t x, std::int32_t y) const {
    const platform::BitmapDescription description = Description();
    const auto* bits = static_cast<const std::uint32_t*>(description.bits);
    return bits[static_cast<std::size_t>(description.height - 1 - y) * static_cast<std::size_t>(description.width) +
                static_cast<std::size_t>(x)];
  }

  // Smallest rectangle holding every pixel that differs from `background`; all zero when
  // there is none.
  Rect InkBox(std::uint32_t background = KeyColor) const {
    Rect box{width(), height(), 0, 0};
    for (std::int32_t y = 0; y < height(); ++y) {
      for (std::int32_t x = 0; x < width(); ++x) {
        if (Pixel(x, y) == background) continue;
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
    }
    return box.right == 0 ? Rect{} : box;
  }

  int CountPixels(std::uint32_t word) const {
    int count = 0;
    for (std::int32_t y = 0; y < height(); ++y) {
      for (std::int32_t x = 0; x < width(); ++x) count += Pixel(x, y) == word ? 1 : 0;
    }
    return count;
  }

 private:
  using Brush = platform::Brush;
  platform::BitmapDescription Description() const {
    platform::BitmapDescription description;
    platform::GetBitmapDescription(bitmap_.get(), &description);
    return description;
  }

  ContextPtr context_;
  BitmapPtr bitmap_;
};

}  // namespace orvendale::testing
