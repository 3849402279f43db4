#include "imagefile/image_placement.h"

#include <array>
#include <cstdint>
#include <limits>

#include "imagefile/image_folder.h"
#include "platform/imaging/imaging.h"
#include "platform/system/text.h"

namespace orvendale {
namespace {

using PathBuffer = std::array<char16_t, kPathCapacity>;

// The path of an image name, in `path`; false when there is none (see ResolveInImageFolder).
bool ResolveImagePath(const char16_t* name, PathBuffer& path) { return ResolveInImageFolder(name, path.data()); }

// x + length, held at the 32-bit range: a rectangle that far out shows nothing anyway.
std::int32_t SaturatingAdd(std::int32_t x, std::int64_t length) {
  const std::int64_t sum = std::int64_t{x} + length;  // length below 2^34
  if (sum > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (sum < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(sum);
}

// The imaging service counts a negative status as failure; positive ones are successes.
bool Failed(HResult status) { return status < 0; }

}  // namespace

void GetImageFileSize(const char16_t* name, std::int32_t* width, std::int32_t* height) {
  PathBuffer path;
  if (!ResolveImagePath(name, path)) return;
  platform::Bitmap* bitmap = platform::LoadBitmapFile(path.data());
  if (bitmap == nullptr) return;
  platform::BitmapDescription description;
  if (platform::GetBitmapDescription(bitmap, &description)) {
    if (width != nullptr) *width = description.width;
    if (height != nullptr) *height = description.height;
  }
  platform::DeleteBitmap(bitmap);
}

void DrawImageFile(platform::DrawingContext* context, std::int32_t x, std::int32_t y,
                   const char16_t* name) {
  DrawImageFileScaled(context, x, y, name, 1);
}

void DrawImageFileScaled(platform::DrawingContext* context, std::int32_t x, std::int32_t y,
                         const char16_t* name, std::int32_t scale) {
  PathBuffer path;
  if (!ResolveImagePath(name, path)) return;
  std::int32_t width = 0;
  std::int32_t height = 0;
  GetImageFileSize(name, &width, &height);
  const std::int64_t factor = scale > 1 ? scale : 1;
  const Rect destination{x, y, SaturatingAdd(x, width * factor), SaturatingAdd(y, height * factor)};

  // Only an initialisation that succeeded is balanced: uninitialising after a refused
  // one would end the caller's own initialisation of this thread.
  const HResult initialized = platform::CoInitializeEx(nullptr, platform::kMultithreaded);
  void* made = nullptr;
  if (!Failed(platform::CoCreateInstance(platform::kImagingFactoryClass, nullptr,
                                         platform::kInProcessServer,
                                         platform::kImagingFactoryInterface, &made)) &&
      made != nullptr) {
    auto* factory = static_cast<platform::ImagingFactory*>(made);
    platform::Image* image = nullptr;
    if (!Failed(factory->CreateImageFromFile(path.data(), &image)) && image != nullptr) {
      image->Draw(context, &destination, nullptr);
      image->Release();
    }
    factory->Release();
  }
  if (!Failed(initialized)) platform::CoUninitialize();
}

}  // namespace orvendale
