// Opaque pictures written with the fewest bits: the choice of colour type and depth, and
// pictures that read back as exactly the pixels given.

#include "platform/imaging/png_reduction.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/imaging/imaging.h"
#include "support/test_images.h"

namespace orvendale::platform {
namespace {

OpaqueRows RowsOf(const std::vector<std::uint32_t>& pixels, std::uint32_t width) {
  return OpaqueRows{width, static_cast<std::uint32_t>(pixels.size() / width),
                    reinterpret_cast<const unsigned char*>(pixels.data()),
                    static_cast<std::ptrdiff_t>(width * 4)};
}

// `count` colours: greys `step` apart from black when `grey`, else reds with some green.
std::vector<std::uint32_t> Colors(std::uint32_t count, bool grey, std::uint32_t step = 1) {
  std::vector<std::uint32_t> pixels;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t level = std::min<std::uint32_t>(i * step, 255);
    pixels.push_back(grey ? level * 0x010101u : (i & 0xFF) << 16 | (i >> 8) << 8 | 0x01);
  }
  return pixels;
}

TEST(PngReduction, ChoosesTheFewestBitsThatHoldTheColours) {
  const struct {
    std::vector<std::uint32_t> pixels;
    ReducedKind kind;
    int depth;
    const char* why;
  } cases[] = {
      {{0x000000, 0xFFFFFF, 0xFFFFFF, 0x000000}, ReducedKind::kGrey, 1, "black and white"},
      {{0xFF000000, 0xFFFFFFFF}, ReducedKind::kGrey, 1, "the top byte is ignored"},
      {{0xFFFFFF, 0xFFFFFF}, ReducedKind::kGrey, 1, "one colour"},
      {Colors(4, true, 85), ReducedKind::kGrey, 2, "four greys a third apart"},
      {Colors(16, true, 17), ReducedKind::kGrey, 4, "sixteen greys"},
      {{0x000000, 0x111111}, ReducedKind::kPalette, 1, "two greys 4-bit grey needs: a 1-bit palette"},
      {{0xFFFFFF, 0xCC2222}, ReducedKind::kPalette, 1, "white and red"},
      {{0xFFFFFF, 0xCC2222, 0x2255CC}, ReducedKind::kPalette, 2, "three colours"},
      {Colors(16, false), ReducedKind::kPalette, 4, "sixteen colours"},
      {Colors(17, false), ReducedKind::kPalette, 8, "seventeen colours"},
      {Colors(256, true), ReducedKind::kGrey, 8, "every grey"},
      {Colors(256, false), ReducedKind::kPalette, 8, "256 colours"},
      {Colors(257, false), ReducedKind::kRgb, 8, "257 colours"},
  };
  for (const auto& c : cases) {
    const PngReduction reduction = PngReduction::Choose(RowsOf(c.pixels, static_cast<std::uint32_t>(c.pixels.size())));
    EXPECT_EQ(reduction.kind(), c.kind) << c.why;
    EXPECT_EQ(reduction.bitDepth(), c.depth) << c.why;
  }
}

// Encodes the pixels through the sink as an opaque RGB picture and reads the file back.
testing::ArgbImage EncodeOpaque(const std::vector<std::uint32_t>& pixels, std::uint32_t width) {
  testing::TemporaryFolder folder;
  const auto path = folder.path() / "out.png";
  CoInitializeEx(nullptr, kMultithreaded);
  void* made = nullptr;
  CoCreateInstance(kImagingFactoryClass, nullptr, kInProcessServer, kImagingFactoryInterface, &made);
  auto* factory = static_cast<ImagingFactory*>(made);
  ImageEncoder* encoder = nullptr;
  ImageSink* sink = nullptr;
  const std::u16string platformPath = testing::PlatformPath(path);
  EXPECT_EQ(factory->CreateImageEncoderToFile(&kPngEncoderClass, platformPath.c_str(), &encoder), S_OK);
  EXPECT_EQ(encoder->GetEncodeSink(&sink), S_OK);
  const std::uint32_t height = static_cast<std::uint32_t>(pixels.size()) / width;
  ImageInfoRecord info;
  info.rawDataFormat = kImageFormatMemoryBitmap;
  info.pixelFormat = kPixelFormat32bppRgb;
  info.width = width;
  info.height = height;
  EXPECT_EQ(sink->BeginSink(&info, nullptr), S_OK);
  PixelBufferRecord buffer;
  buffer.width = width;
  buffer.height = height;
  buffer.stride = static_cast<std::int32_t>(width * 4);
  buffer.pixelFormat = kPixelFormat32bppRgb;
  buffer.firstRow = const_cast<std::uint32_t*>(pixels.data());
  const Rect whole{0, 0, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
  EXPECT_EQ(sink->PushPixelData(&whole, &buffer, true), S_OK);
  EXPECT_EQ(sink->EndSink(S_OK), S_OK);
  sink->Release();
  EXPECT_EQ(encoder->TerminateEncoder(), S_OK);
  encoder->Release();
  factory->Release();
  CoUninitialize();
  testing::ArgbImage image;
  EXPECT_TRUE(testing::ReadPng(path, &image));
  return image;
}

TEST(PngReduction, OpaquePicturesReadBackAsTheirPixels) {
  // Widths that end rows inside a byte at every depth, colours for every kind.
  const struct {
    std::vector<std::uint32_t> colors;
    int colorType;  // as the PNG header says: 0 grey, 2 RGB, 3 palette
    int depth;
  } cases[] = {
      {{0x00000000, 0x00FFFFFF}, 0, 1},
      {Colors(4, true, 85), 0, 2},
      {{0x00FFFFFF, 0x00CC2222, 0x002255CC}, 3, 2},
      {Colors(40, false), 3, 8},
      {Colors(300, false), 2, 8},
  };
  for (const auto& c : cases) {
    for (const std::uint32_t width : {1u, 5u, 13u}) {
      std::vector<std::uint32_t> pixels;
      for (std::uint32_t i = 0; i < width * 7 || i < c.colors.size(); ++i) {
        // Every colour first, then a pattern of them.
        const std::size_t index = i < c.colors.size() ? i : (i * 7 + i / 3) % c.colors.size();
        pixels.push_back(0x7F000000u | c.colors[index]);
      }
      pixels.resize((pixels.size() + width - 1) / width * width, 0x7F000000u | c.colors[0]);
      const testing::ArgbImage image = EncodeOpaque(pixels, width);
      EXPECT_EQ(image.colorType, c.colorType) << width;
      EXPECT_EQ(image.bitDepth, c.depth) << width;
      std::vector<std::uint32_t> expected = pixels;
      for (std::uint32_t& pixel : expected) pixel |= 0xFF000000u;
      EXPECT_EQ(image.pixels, expected) << "width " << width << ", depth " << c.depth;
    }
  }
}

}  // namespace
}  // namespace orvendale::platform
