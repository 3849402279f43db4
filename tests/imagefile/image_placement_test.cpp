#include "imagefile/image_placement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include "imagefile/image_folder.h"
#include "platform/drawing/gdi_objects.h"
#include "platform/fault_injection.h"
#include "platform/imaging/imaging.h"
#include "platform/system/text.h"
#include "support/test_images.h"

namespace orvendale {
namespace {

using testing::ArgbImage;
using testing::PlatformPath;

constexpr std::int32_t kSide = 64;
constexpr std::uint32_t kKey = 0x00FF00FF;

// A 64 x 64 key-filled surface selected into a memory context, and a folder of images
// that ImageFolder points to.
class ImagePlacementTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::BitmapInfo info{};
    info.header.width = kSide;
    info.header.height = kSide;
    void* bits = nullptr;
    bitmap_ = platform::CreateDibSection(platform::GetScreenContext(), &info, 0, nullptr, 0, &bits);
    pixels_ = std::span(static_cast<std::uint32_t*>(bits), kSide * kSide);
    std::fill(pixels_.begin(), pixels_.end(), kKey);
    context_ = platform::CreateCompatibleContext(platform::GetScreenContext());
    platform::SelectBitmap(context_, bitmap_);
    SetImageFolder(PlatformPath(folder_.path()) + u"\\");

    // 32 x 24, opaque blue, with a transparent top left pixel and a half-transparent
    // bottom right one.
    ArgbImage image = testing::SolidImage(32, 24, 0xFF0000FF);
    image.pixels.front() = 0x00FFFFFF;
    image.pixels.back() = 0x80000000;
    testing::WritePng(folder_.path() / "today.png", image);
  }
  void TearDown() override {
    platform::SelectBitmap(context_, nullptr);
    platform::DeleteContext(context_);
    platform::DeleteBitmap(bitmap_);
    platform::ClearFaults();
    SetImageFolder(u"");
    EXPECT_EQ(platform::ComInitializationDepth(), 0);
  }

  static void SetImageFolder(const std::u16string& folder) {
    platform::WideCopy(ImageFolder, kPathCapacity, folder.c_str());
  }

  // The smallest rectangle holding every pixel that is no longer the key.
  Rect Changed() const {
    Rect box{kSide, kSide, 0, 0};
    for (std::int32_t y = 0; y < kSide; ++y) {
      for (std::int32_t x = 0; x < kSide; ++x) {
        if (pixels_[(kSide - 1 - y) * kSide + x] == kKey) continue;
        box = Rect{std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
      }
    }
    return box;
  }
  std::uint32_t At(std::int32_t x, std::int32_t y) const {
    return pixels_[(kSide - 1 - y) * kSide + x];
  }
  bool Untouched() const {
    return std::all_of(pixels_.begin(), pixels_.end(), [](std::uint32_t p) { return p == kKey; });
  }

  testing::TemporaryFolder folder_;
  platform::Bitmap* bitmap_ = nullptr;
  std::span<std::uint32_t> pixels_;
  platform::DrawingContext* context_ = nullptr;
};

bool operator==(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(ImagePlacementTest, DrawsAtNaturalSizeWithItsAlpha) {
  DrawImageFile(context_, 10, 20, u"today.png");
  EXPECT_TRUE(Changed() == (Rect{10, 20, 42, 44}));
  EXPECT_EQ(At(10, 20), kKey);           // transparent: the picture shows through
  EXPECT_EQ(At(11, 20), 0x000000FFu);    // opaque blue, top byte 0
  EXPECT_EQ(At(41, 43), 0x00000000u);    // half black over the key: drawn whole, not pink
}

TEST_F(ImagePlacementTest, ResolvesFullPathsAndFolderRelativeNames) {
  const std::u16string slashed = PlatformPath(folder_.path() / "today.png");
  std::u16string backslashed = slashed;
  std::replace(backslashed.begin(), backslashed.end(), u'/', u'\\');
  const struct {
    std::u16string folder;
    std::u16string name;
    bool found;
  } cases[] = {
      {PlatformPath(folder_.path()) + u"\\", u"today.png", true},
      {PlatformPath(folder_.path()) + u"/", u"today.png", true},
      {PlatformPath(folder_.path()), u"today.png", false},  // nothing inserted between
      {u"\\nowhere\\", backslashed, true},
      {u"\\nowhere\\", slashed, true},
      {PlatformPath(folder_.path()) + u"\\", u"missing.png", false},
  };
  for (const auto& c : cases) {
    SetImageFolder(c.folder);
    std::int32_t width = 7;
    std::int32_t height = 9;
    GetImageFileSize(c.name.c_str(), &width, &height);
    EXPECT_EQ(width, c.found ? 32 : 7);
    EXPECT_EQ(height, c.found ? 24 : 9);
    DrawImageFile(context_, 0, 0, c.name.c_str());
    EXPECT_EQ(Untouched(), !c.found);
    std::fill(pixels_.begin(), pixels_.end(), kKey);
  }
}

TEST_F(ImagePlacementTest, StoresOnlyTheSizesAskedFor) {
  std::int32_t width = -1;
  std::int32_t height = -1;
  GetImageFileSize(u"today.png", nullptr, &height);
  GetImageFileSize(u"today.png", &width, nullptr);
  EXPECT_EQ(width, 32);
  EXPECT_EQ(height, 24);
  GetImageFileSize(u"today.png", nullptr, nullptr);
  GetImageFileSize(nullptr, &width, &height);
}

TEST_F(ImagePlacementTest, RefusesAJoinedPathLongerThan255) {
  // Folders nested until the path of the image is exactly 255 characters.
  const std::size_t base = folder_.path().string().size() + 1;
  std::filesystem::path nested = folder_.path();
  const std::string name = "today.png";
  std::size_t length = base + name.size();
  while (length + 11 <= 255 - 11) {
    nested /= "0123456789";
    length += 11;
  }
  nested /= std::string(255 - length - 1, 'x');
  std::filesystem::create_directories(nested);
  std::filesystem::copy_file(folder_.path() / name, nested / name);
  std::filesystem::copy_file(folder_.path() / name, nested / ("a" + name));
  ASSERT_EQ((nested / name).string().size(), 255u);
  SetImageFolder(PlatformPath(nested) + u"/");

  std::int32_t width = 0;
  std::int32_t height = 0;
  GetImageFileSize(u"today.png", &width, &height);
  EXPECT_EQ(width, 32) << "255 characters fit";
  width = 0;
  GetImageFileSize(u"atoday.png", &width, &height);
  DrawImageFile(context_, 0, 0, u"atoday.png");
  EXPECT_EQ(width, 0) << "256 characters are refused, not cut";
  EXPECT_TRUE(Untouched());
}

TEST_F(ImagePlacementTest, UnreadableFilesDrawNothing) {
  const std::vector<unsigned char> png = testing::ReadBytes(folder_.path() / "today.png");
  testing::WriteBytes(folder_.path() / "empty.png", {});
  testing::WriteBytes(folder_.path() / "cut.png", {png.begin(), png.begin() + png.size() / 2});
  std::filesystem::create_directory(folder_.path() / "folder.png");
  for (const char16_t* name : {u"empty.png", u"cut.png", u"folder.png", u""}) {
    std::int32_t width = 3;
    GetImageFileSize(name, &width, nullptr);
    EXPECT_EQ(width, 3);
    DrawImageFile(context_, 0, 0, name);
    EXPECT_TRUE(Untouched());
  }
}

TEST_F(ImagePlacementTest, AFailingImagingServiceDrawsNothingAndBalancesCom) {
  for (const platform::FaultPoint point :
       {platform::FaultPoint::kCreateImagingFactory, platform::FaultPoint::kCreateImageFromFile,
        platform::FaultPoint::kLoadBitmapFile}) {
    platform::ArmFault(point);
    DrawImageFile(context_, 0, 0, u"today.png");
    platform::ClearFaults();
    EXPECT_TRUE(Untouched()) << static_cast<int>(point);
  }
  // A thread in the other model keeps its own initialisation.
  ASSERT_EQ(platform::CoInitializeEx(nullptr, platform::kApartmentThreaded), S_OK);
  DrawImageFile(context_, 0, 0, u"today.png");
  EXPECT_EQ(platform::ComInitializationDepth(), 1);
  platform::CoUninitialize();
  EXPECT_FALSE(Untouched()) << "the service still draws";
  std::fill(pixels_.begin(), pixels_.end(), kKey);
  // Far outside the picture, where x + width passes the 32-bit range.
  DrawImageFile(context_, INT32_MAX - 5, INT32_MIN, u"today.png");
  EXPECT_TRUE(Untouched());
}

}  // namespace
}  // namespace orvendale

namespace orvendale {
namespace {

TEST_F(ImagePlacementTest, ScaledImagesRepeatEachPixelAsASquare) {
  // 2 x 2: red, green / blue, white, drawn three times its size at (5, 7).
  ArgbImage image = testing::SolidImage(2, 2, 0xFFFF0000);
  image.pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  testing::WritePng(folder_.path() / "four.png", image);
  DrawImageFileScaled(context_, 5, 7, u"four.png", 3);
  EXPECT_TRUE(Changed() == (Rect{5, 7, 11, 13}));
  for (std::int32_t y = 0; y < 6; ++y) {
    for (std::int32_t x = 0; x < 6; ++x) {
      EXPECT_EQ(At(5 + x, 7 + y), image.pixels[(y / 3) * 2 + x / 3] & 0xFFFFFF) << x << "," << y;
    }
  }
  // A scale below 1 draws at the natural size.
  std::fill(pixels_.begin(), pixels_.end(), kKey);
  DrawImageFileScaled(context_, 0, 0, u"four.png", 0);
  EXPECT_TRUE(Changed() == (Rect{0, 0, 2, 2}));
}

TEST_F(ImagePlacementTest, OnABitmapWithAlphaTheImagesAlphaIsUsedWhole) {
  platform::BitmapInfo info{};
  info.header.width = 4;
  info.header.height = 1;
  info.header.compression = platform::kAlphaBitFields;
  platform::Bitmap* alpha = platform::CreateDibSection(platform::GetScreenContext(), &info, 0, nullptr, 0, nullptr);
  ASSERT_NE(alpha, nullptr);
  alpha->Row(0)[2] = 0xFF00FF00;  // opaque green "text" under the third pixel
  alpha->Row(0)[3] = 0x80FFFFFF;  // half white under the fourth
  ArgbImage image = testing::SolidImage(4, 1, 0);
  image.pixels = {0x40FF0000, 0x00000000, 0x80FF0000, 0x80FF0000};
  testing::WritePng(folder_.path() / "row.png", image);
  platform::SelectBitmap(context_, alpha);
  DrawImageFile(context_, 0, 0, u"row.png");
  platform::SelectBitmap(context_, bitmap_);
  EXPECT_EQ(alpha->Row(0)[0], 0x40FF0000u) << "a quarter opaque over transparency stays a quarter";
  EXPECT_EQ(alpha->Row(0)[1], 0x00000000u);
  EXPECT_EQ(alpha->Row(0)[2], 0xFF807F00u) << "half red over green, composited";
  EXPECT_EQ(alpha->Row(0)[3], 0xC0FF5555u) << "half red over half white";
  platform::DeleteBitmap(alpha);
}

}  // namespace
}  // namespace orvendale
