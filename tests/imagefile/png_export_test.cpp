#include "imagefile/png_export.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <span>

#include "platform/drawing/gdi_objects.h"
#include "platform/fault_injection.h"
#include "platform/imaging/imaging.h"
#include "support/test_images.h"

namespace orvendale {
namespace {

using platform::FaultPoint;
using testing::ArgbImage;
using testing::PlatformPath;

// A surface as the renderers make it: 32 bits, bottom-up, pixels given top row first.
class TestSurface {
 public:
  TestSurface(std::int32_t width, std::int32_t height, std::vector<std::uint32_t> topDown) {
    platform::BitmapInfo info{};
    info.header.width = width;
    info.header.height = height;
    void* bits = nullptr;
    bitmap_ = platform::CreateDibSection(platform::GetScreenContext(), &info, 0, nullptr, 0, &bits);
    memory_ = std::span(static_cast<std::uint32_t*>(bits), topDown.size());
    for (std::int32_t y = 0; y < height; ++y) {
      std::copy_n(topDown.begin() + y * width, width, memory_.begin() + (height - 1 - y) * width);
    }
    width_ = width;
    height_ = height;
  }
  ~TestSurface() { platform::DeleteBitmap(bitmap_); }

  platform::Bitmap* bitmap() const { return bitmap_; }
  // The pixels, top row first.
  std::vector<std::uint32_t> TopDown() const {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = height_ - 1; y >= 0; --y) {
      pixels.insert(pixels.end(), memory_.begin() + y * width_, memory_.begin() + (y + 1) * width_);
    }
    return pixels;
  }

 private:
  platform::Bitmap* bitmap_ = nullptr;
  std::span<std::uint32_t> memory_;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};

class PngExportTest : public ::testing::Test {
 protected:
  void TearDown() override {
    platform::ClearFaults();
    platform::SetEncoderInstalled(platform::kPngEncoderClass, true);
    EXPECT_EQ(platform::ComInitializationDepth(), 0);
  }

  ArgbImage Export(const TestSurface& surface) {
    SaveBitmapAsPng(surface.bitmap(), PlatformPath(output_).c_str());
    ArgbImage image;
    EXPECT_TRUE(testing::ReadPng(output_, &image));
    return image;
  }

  testing::TemporaryFolder folder_;
  std::filesystem::path output_ = folder_.path() / "out.png";
};

constexpr std::uint32_t kKey = 0x00FF00FF;

TEST_F(PngExportTest, KeyBecomesTransparentWhiteAndEverythingElseOpaque) {
  // Top row: the key, one bit off the key, the key with a top byte; bottom row: others.
  TestSurface surface(3, 2, {kKey, 0x00FF00FE, 0x01FF00FF,
                             0x00123456, kKey, 0x00000000});
  const std::vector<std::uint32_t> keyed{0x00FFFFFF, 0xFFFF00FE, 0xFFFF00FF,
                                         0xFF123456, 0x00FFFFFF, 0xFF000000};
  const ArgbImage first = Export(surface);
  EXPECT_EQ(first.width, 3u);
  EXPECT_EQ(first.height, 2u);
  EXPECT_EQ(first.pixels, keyed) << "the top row comes first";
  EXPECT_EQ(surface.TopDown(), keyed) << "the pass runs over the surface's own pixels";

  // No pixel is the key any more: a second export makes every pixel opaque.
  std::vector<std::uint32_t> opaque = keyed;
  for (std::uint32_t& pixel : opaque) pixel |= 0xFF000000;
  EXPECT_EQ(Export(surface).pixels, opaque);
}

TEST_F(PngExportTest, AllKeyAndSinglePixelPictures) {
  const struct {
    std::int32_t width;
    std::int32_t height;
    std::uint32_t fill;
    std::uint32_t expected;
  } cases[] = {
      {5, 3, kKey, 0x00FFFFFF},
      {1, 1, kKey, 0x00FFFFFF},
      {1, 1, 0x00ABCDEF, 0xFFABCDEF},
      {1, 7, 0x00000001, 0xFF000001},
  };
  for (const auto& c : cases) {
    TestSurface surface(c.width, c.height,
                        std::vector<std::uint32_t>(c.width * c.height, c.fill));
    const ArgbImage image = Export(surface);
    EXPECT_EQ(image.width, static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(image.pixels, std::vector<std::uint32_t>(c.width * c.height, c.expected));
  }
}

TEST_F(PngExportTest, BalancesComWhateverStateTheThreadIsIn) {
  TestSurface surface(2, 1, {kKey, 0x00010203});
  ASSERT_EQ(platform::CoInitializeEx(nullptr, platform::kMultithreaded), S_OK);
  EXPECT_EQ(Export(surface).pixels, (std::vector<std::uint32_t>{0x00FFFFFF, 0xFF010203}));
  EXPECT_EQ(platform::ComInitializationDepth(), 1);
  platform::CoUninitialize();

  // Initialised in the other model: the export cannot run and must not end the caller's
  // initialisation.
  TestSurface untouched(2, 1, {kKey, 0x00010203});
  std::filesystem::remove(output_);
  ASSERT_EQ(platform::CoInitializeEx(nullptr, platform::kApartmentThreaded), S_OK);
  SaveBitmapAsPng(untouched.bitmap(), PlatformPath(output_).c_str());
  EXPECT_EQ(platform::ComInitializationDepth(), 1);
  platform::CoUninitialize();
  EXPECT_FALSE(std::filesystem::exists(output_));
  EXPECT_EQ(untouched.TopDown(), (std::vector<std::uint32_t>{kKey, 0x00010203}));
}

TEST_F(PngExportTest, WithoutAPngEncoderNoFileIsMade) {
  TestSurface surface(2, 1, {kKey, kKey});
  platform::SetEncoderInstalled(platform::kPngEncoderClass, false);
  SaveBitmapAsPng(surface.bitmap(), PlatformPath(output_).c_str());
  EXPECT_TRUE(testing::FolderEntries(folder_.path()).empty());
  EXPECT_EQ(surface.TopDown(), (std::vector<std::uint32_t>{kKey, kKey}));
}

TEST_F(PngExportTest, AFailingStepLeavesTheOldOutputAndNoTemporaryFile) {
  const std::vector<unsigned char> old{'o', 'l', 'd', '\n'};
  // Whether the colour key has run when the step fails.
  const struct {
    FaultPoint point;
    bool keyed;
  } steps[] = {
      {FaultPoint::kCreateImagingFactory, false}, {FaultPoint::kGetInstalledEncoders, false},
      {FaultPoint::kCreateImageEncoder, false},   {FaultPoint::kGetEncodeSink, false},
      {FaultPoint::kBeginSink, false},            {FaultPoint::kSetPalette, false},
      {FaultPoint::kPushPixelData, true},         {FaultPoint::kEndSink, true},
      {FaultPoint::kTerminateEncoder, true},
  };
  for (const auto& step : steps) {
    ASSERT_TRUE(testing::WriteBytes(output_, old));
    TestSurface surface(2, 2, {kKey, 1, 2, 3});
    platform::ArmFault(step.point);
    SaveBitmapAsPng(surface.bitmap(), PlatformPath(output_).c_str());
    platform::ClearFaults();
    const int point = static_cast<int>(step.point);
    EXPECT_EQ(testing::ReadBytes(output_), old) << "fault " << point;
    EXPECT_EQ(testing::FolderEntries(folder_.path()), std::vector<std::string>{"out.png"})
        << "fault " << point;
    EXPECT_EQ(platform::ComInitializationDepth(), 0) << "fault " << point;
    EXPECT_EQ(surface.TopDown()[0], step.keyed ? 0x00FFFFFFu : kKey) << "fault " << point;
  }
}

TEST_F(PngExportTest, AnUnwritableOutputWritesNothing) {
  TestSurface surface(1, 1, {kKey});
  SaveBitmapAsPng(surface.bitmap(), PlatformPath(folder_.path() / "missing" / "out.png").c_str());
  SaveBitmapAsPng(surface.bitmap(), PlatformPath(folder_.path()).c_str());  // a folder
  SaveBitmapAsPng(nullptr, PlatformPath(output_).c_str());
  EXPECT_TRUE(testing::FolderEntries(folder_.path()).empty());
  if (::geteuid() != 0) {  // root writes into read-only folders
    std::filesystem::create_directory(folder_.path() / "locked");
    std::filesystem::permissions(folder_.path() / "locked", std::filesystem::perms::owner_read |
                                                              std::filesystem::perms::owner_exec);
    SaveBitmapAsPng(surface.bitmap(), PlatformPath(folder_.path() / "locked" / "out.png").c_str());
    EXPECT_TRUE(testing::FolderEntries(folder_.path() / "locked").empty());
  }
}

}  // namespace
}  // namespace orvendale

namespace orvendale {
namespace {

// A surface with its own alpha, pixels given top row first.
platform::Bitmap* AlphaSurface(std::int32_t width, std::vector<std::uint32_t> topDown) {
  platform::BitmapInfo info{};
  info.header.width = width;
  info.header.height = static_cast<std::int32_t>(topDown.size()) / width;
  info.header.compression = platform::kAlphaBitFields;
  platform::Bitmap* bitmap = platform::CreateDibSection(platform::GetScreenContext(), &info, 0, nullptr, 0, nullptr);
  for (std::int32_t y = 0; y < info.header.height; ++y) {
    std::copy_n(topDown.begin() + y * width, width, bitmap->Row(y));
  }
  return bitmap;
}

TEST_F(PngExportTest, PicturesWithAlphaKeepItAndOpaqueOnesTakeTheFewestBits) {
  const struct {
    std::vector<std::uint32_t> pixels;
    int colorType;
    int depth;
    const char* why;
  } cases[] = {
      {{0x00000000, 0x80123456, 0xFF123456, 0x00FF00FF}, 6, 8, "alpha kept; the key colour is not a key here"},
      {{0xFFFFFFFF, 0xFF000000, 0xFF000000, 0xFFFFFFFF}, 0, 1, "black on white: one bit of grey"},
      {{0xFFFF00FF, 0xFFFF00FF, 0xFF123456, 0xFFFF00FF}, 3, 1, "a magenta background stays opaque"},
  };
  for (const auto& c : cases) {
    platform::Bitmap* surface = AlphaSurface(2, c.pixels);
    SaveBitmapAsPng(surface, PlatformPath(output_).c_str());
    ArgbImage image;
    ASSERT_TRUE(testing::ReadPng(output_, &image)) << c.why;
    EXPECT_EQ(image.colorType, c.colorType) << c.why;
    EXPECT_EQ(image.bitDepth, c.depth) << c.why;
    EXPECT_EQ(image.pixels, c.pixels) << c.why;
    EXPECT_EQ(surface->Row(0)[0], c.pixels[0]) << "the export leaves the pixels alone";
    platform::DeleteBitmap(surface);
  }
}

}  // namespace
}  // namespace orvendale
