// The image decoders over arbitrary file bytes, through the two ways a picture reaches
// them: the size of an image file and the image drawn onto a small picture, once by a
// name inside the image folder and once at a position that clips it. Every COM
// initialisation must be balanced, and a decoded image's size must be sane.

#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "imagefile/image_folder.h"
#include "imagefile/image_placement.h"
#include "platform/drawing/graphics.h"
#include "platform/imaging/imaging.h"
#include "platform/system/text.h"

namespace orvendale {
namespace {

using fuzzing::Check;

constexpr std::int32_t kPictureSide = 48;

}  // namespace
}  // namespace orvendale

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvendale;
  const std::string folder = fuzzing::Scratch().root().string() + "/";
  fuzzing::WriteHostFile(folder + "image", data, size);
  const std::u16string platformFolder = fuzzing::PlatformPath(folder);
  platform::WideCopy(ImageFolder, kPathCapacity, platformFolder.c_str());

  std::int32_t width = -1;
  std::int32_t height = -1;
  GetImageFileSize(u"image", &width, &height);
  Check((width == -1 && height == -1) ||
        (width > 0 && height > 0 &&
         static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4 <= platform::kMaxBitmapBytes));

  platform::DrawingContext* screen = platform::GetScreenContext();
  platform::DrawingContext* context = platform::CreateCompatibleContext(screen);
  platform::BitmapInfo info;
  info.header.width = kPictureSide;
  info.header.height = kPictureSide;
  platform::Bitmap* picture = platform::CreateDibSection(screen, &info, 0, nullptr, 0, nullptr);
  Check(context != nullptr && picture != nullptr);
  platform::Bitmap* previous = platform::SelectBitmap(context, picture);
  DrawImageFile(context, 3, -5, u"image");
  const std::u16string fullPath = fuzzing::PlatformPath(folder + "image");
  DrawImageFile(context, kPictureSide - 2, kPictureSide - 1, fullPath.c_str());
  Check(platform::ComInitializationDepth() == 0);
  platform::SelectBitmap(context, previous);
  platform::DeleteBitmap(picture);
  platform::DeleteContext(context);
  platform::ReleaseScreenContext(screen);
  return 0;
}
