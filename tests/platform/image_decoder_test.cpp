#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "platform/drawing/gdi_objects.h"
#include "platform/imaging/imaging.h"
#include "support/test_images.h"

namespace orvendale::platform {
namespace {

using testing::ArgbImage;
using testing::PlatformPath;
using testing::TemporaryFolder;

// A 4 x 2 picture with distinct colours; the alpha of the left column varies.
ArgbImage Sample() {
  ArgbImage image = testing::SolidImage(4, 2, 0);
  image.pixels = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF,
                  0x80000000, 0xFF808080, 0xFF102030, 0xFF000000};
  return image;
}

std::uint32_t Crc32(const unsigned char* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void PutBigEndian(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * (size - 1 - i)));
}

// The file's header claims 20000 x 20000 pixels; the data is that of the small picture.
std::vector<unsigned char> HugeHeader(std::vector<unsigned char> bytes, const std::string& format) {
  constexpr std::uint32_t kHuge = 20000;
  if (format == "png") {  // IHDR data at 16, its CRC at 29
    PutBigEndian(bytes, 16, kHuge, 4);
    PutBigEndian(bytes, 20, kHuge, 4);
    PutBigEndian(bytes, 29, Crc32(bytes.data() + 12, 17), 4);
  } else if (format == "bmp") {
    for (const std::size_t at : {18u, 22u}) {
      for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<unsigned char>(kHuge >> (8 * i));
    }
  } else {  // JPEG: the frame header after the marker FF C0
    for (std::size_t i = 0; i + 1 < bytes.size(); ++i) {
      if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
        PutBigEndian(bytes, i + 5, kHuge, 2);
        PutBigEndian(bytes, i + 7, kHuge, 2);
        break;
      }
    }
  }
  return bytes;
}

// The first Huffman table of a JPEG declares 16 x 32 = 512 codes, more than a table holds.
std::vector<unsigned char> OversizedHuffmanTable(std::vector<unsigned char> bytes) {
  for (std::size_t i = 0; i + 21 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC4) {
      std::fill_n(bytes.begin() + i + 5, 16, 32);
      break;
    }
  }
  return bytes;
}

class ImageDecoderTest : public ::testing::Test {
 protected:
  // Writes the sample in `format` and returns the file's bytes.
  std::vector<unsigned char> WriteSample(const std::string& format) {
    const auto path = folder_.path() / ("sample." + format);
    if (format == "png") testing::WritePng(path, Sample());
    if (format == "bmp") testing::WriteBytes(path, testing::BmpBytes(Sample(), 32));
    if (format == "bmp24") testing::WriteBytes(path, testing::BmpBytes(Sample(), 24));
    if (format == "jpg") testing::WriteJpeg(path, Sample());
    if (format == "gif") testing::WriteBytes(path, testing::TinyGifBytes());
    return testing::ReadBytes(path);
  }

  Bitmap* Load(const std::vector<unsigned char>& bytes) {
    const auto path = folder_.path() / "load";
    testing::WriteBytes(path, bytes);
    return LoadBitmapFile(PlatformPath(path).c_str());
  }

  TemporaryFolder folder_;
};

TEST_F(ImageDecoderTest, LoadsTheFourFormatsTopRowFirst) {
  const ArgbImage sample = Sample();
  for (const std::string format : {"png", "bmp", "bmp24", "jpg"}) {
    Bitmap* bitmap = Load(WriteSample(format));
    ASSERT_NE(bitmap, nullptr) << format;
    ASSERT_EQ(bitmap->width, 4);
    ASSERT_EQ(bitmap->height, 2);
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 4; ++x) {
        const std::uint32_t got = bitmap->Row(y)[x];
        const std::uint32_t want = sample.At(x, y) & 0x00FFFFFF;
        // JPEG is lossy: each channel within a margin; the others exact.
        const int tolerance = format == "jpg" ? 40 : 0;
        for (const int shift : {0, 8, 16, 24}) {
          EXPECT_NEAR(static_cast<int>(got >> shift & 0xFF), static_cast<int>(want >> shift & 0xFF),
                      tolerance)
              << format << " at " << x << "," << y;
        }
      }
    }
    DeleteBitmap(bitmap);
  }
  // The GIF also with a graphic control and a comment extension before its image.
  std::vector<unsigned char> extended = WriteSample("gif");
  extended.insert(extended.begin() + 19, {0x21, 0xF9, 4, 0, 0, 0, 0, 0, 0x21, 0xFE, 3, 'a', 'b', 'c', 0});
  for (const auto& bytes : {WriteSample("gif"), extended}) {
    Bitmap* gif = Load(bytes);
    ASSERT_NE(gif, nullptr);
    EXPECT_EQ(gif->Row(0)[0], 0x00FF0000u);
    EXPECT_EQ(gif->Row(0)[1], 0x000000FFu);
    DeleteBitmap(gif);
  }
}

// The frame of a JPEG claims 8000 x 8000 pixels, and its compressed data ends at once:
// the decoder would make up every block from zeros.
std::vector<unsigned char> HugeFrameEndingEarly(std::vector<unsigned char> bytes) {
  for (std::size_t i = 0; i + 3 < bytes.size(); ++i) {
    if (bytes[i] != 0xFF) continue;
    if (bytes[i + 1] == 0xC0) {  // the frame header: height, then width
      PutBigEndian(bytes, i + 5, 8000, 2);
      PutBigEndian(bytes, i + 7, 8000, 2);
    } else if (bytes[i + 1] == 0xDA) {  // the start of the scan: keep its header only
      bytes.resize(i + 2 + (bytes[i + 2] << 8 | bytes[i + 3]));
      break;
    }
  }
  bytes.insert(bytes.end(), {0x3F, 0xFF, 0xD9});
  return bytes;
}

// The file with two more fill bytes 0xFF before its first marker, which the decoder skips.
std::vector<unsigned char> WithFillBytes(std::vector<unsigned char> bytes) {
  bytes.insert(bytes.begin(), 2, 0xFF);
  return bytes;
}

// A PNG whose first image-data chunk is empty, followed by garbage: the decoder then
// copies zero bytes into a buffer it has not allocated yet.
const std::vector<unsigned char> kEmptyFirstImageData = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D,
    0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02,
    0x10, 0x00, 0x00, 0x00, 0x00, 0x07, 0x4D, 0x8E, 0xBB, 0x00, 0x00, 0x00,
    0x00, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x60, 0x60, 0xF8, 0xFF,
    0x9F, 0x01, 0x44, 0x00, 0x00, 0x0F, 0xFA, 0x03, 0xFD, 0x8C, 0xDD, 0x47,
    0x49, 0x46, 0x38, 0x37, 0x61, 0x6A, 0x94, 0x00, 0x00, 0x00, 0x00, 0x49,
    0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
};

// A PNG whose second image-data chunk claims about 2 GiB, more than the whole file.
const std::vector<unsigned char> kChunkClaimingGigabytes = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D,
    0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x02,
    0x10, 0x00, 0x00, 0x00, 0x00, 0x07, 0x4D, 0x8E, 0xBB, 0x00, 0x00, 0x00,
    0x10, 0x49, 0x44, 0x41, 0x54, 0x78, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
    0x9C, 0x63, 0x60, 0x60, 0x10, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63,
    0x60, 0x60, 0xF8, 0xFF, 0x9F, 0x6A, 0x94, 0x00, 0x00, 0x00, 0x00, 0x49,
    0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
};

TEST_F(ImageDecoderTest, RefusesBadFilesWithoutDecodingThem) {
  const std::vector<unsigned char> png = WriteSample("png");
  const std::vector<unsigned char> bmp = WriteSample("bmp");
  const std::vector<unsigned char> jpg = WriteSample("jpg");
  std::vector<unsigned char> corrupt = png;
  std::fill(corrupt.begin() + 41, corrupt.end() - 12, 0x5A);  // the compressed data
  const struct {
    const char* what;
    std::vector<unsigned char> bytes;
  } cases[] = {
      {"empty file", {}},
      {"another format", {'P', '6', ' ', '1', ' ', '1', ' ', '2', '5', '5', '\n', 1, 2, 3}},
      {"png cut in the data", {png.begin(), png.end() - 20}},
      {"png cut in the header", {png.begin(), png.begin() + 20}},
      {"png with corrupt data", corrupt},
      {"bmp cut in the pixels", {bmp.begin(), bmp.end() - 5}},
      {"jpeg cut in the scan", {jpg.begin(), jpg.end() - 30}},
      {"png 20000 x 20000", HugeHeader(png, "png")},
      {"bmp 20000 x 20000", HugeHeader(bmp, "bmp")},
      {"jpeg 20000 x 20000", HugeHeader(jpg, "jpg")},
      {"jpeg with an oversized code table", OversizedHuffmanTable(jpg)},
      {"the same after fill bytes before its start", WithFillBytes(OversizedHuffmanTable(jpg))},
      {"png whose first image data is empty", kEmptyFirstImageData},
      {"png with a chunk claiming gigabytes", kChunkClaimingGigabytes},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Load(c.bytes), nullptr) << c.what;
  }
  EXPECT_EQ(LoadBitmapFile(PlatformPath(folder_.path()).c_str()), nullptr) << "a folder";
  EXPECT_EQ(LoadBitmapFile(PlatformPath(folder_.path() / "missing.png").c_str()), nullptr);
  const auto pipe = folder_.path() / "pipe.png";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(LoadBitmapFile(PlatformPath(pipe).c_str()), nullptr) << "a pipe, without waiting";
}

// A BMP holding every row but the last row's padding loads, bottom or top row first; one
// row byte fewer and it is refused.
TEST_F(ImageDecoderTest, LoadsABmpOnlyWhenItsRowsAreInTheFile) {
  // 1 x 2 pixels at 24 bits: rows of 3 bytes padded to 4, the last padding at the end.
  const std::vector<unsigned char> bmp = testing::BmpBytes(testing::SolidImage(1, 2, 0xFF102030), 24);
  Bitmap* unpadded = Load({bmp.begin(), bmp.end() - 1});
  ASSERT_NE(unpadded, nullptr);
  EXPECT_EQ(unpadded->Row(1)[0], 0x00102030u);
  DeleteBitmap(unpadded);
  EXPECT_EQ(Load({bmp.begin(), bmp.end() - 2}), nullptr);
  // The same rows stored top first (a negative height) are the same size.
  std::vector<unsigned char> topFirst(bmp.begin(), bmp.end() - 1);
  for (int i = 0; i < 4; ++i) topFirst[22 + i] = static_cast<unsigned char>(-2 >> (8 * i));
  Bitmap* flipped = Load(topFirst);
  ASSERT_NE(flipped, nullptr);
  EXPECT_EQ(flipped->height, 2);
  DeleteBitmap(flipped);
  EXPECT_EQ(Load({topFirst.begin(), topFirst.end() - 1}), nullptr);
}

// A BMP of 3 x 14,000,000 pixels of 8 bits, which fit the bitmap limit, holding one row.
std::vector<unsigned char> TallBmp() {
  std::vector<unsigned char> bytes(14 + 40 + 8 + 4, 0);
  const auto put = [&bytes](std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
  };
  put(0, 0x4D42, 2);                             // "BM"
  put(2, static_cast<std::uint32_t>(bytes.size()), 4);
  put(10, 14 + 40 + 8, 4);                       // offset of the pixels
  put(14, 40, 4);                                // header size
  put(18, 3, 4);                                 // width
  put(22, 14'000'000, 4);                        // height
  put(26, 1, 2);                                 // planes
  put(28, 8, 2);                                 // bits per pixel
  put(46, 2, 4);                                 // colours in the palette
  return bytes;
}

// A GIF whose canvas is 1273 x 49919 pixels and whose first image's data runs past the
// end of the file (a fuzzer's find: it took two seconds).
const std::vector<unsigned char> kHugeCanvasGifCutShort = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0xF9, 0x04, 0xFF, 0xC2, 0x00, 0xF6,
    0x00, 0x2C, 0x01, 0x00, 0x00, 0x00, 0xFE, 0x00, 0x01, 0x00, 0x99, 0xFF,
    0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x01, 0x01, 0x01, 0x2A, 0x00,
    0x99, 0x47, 0xDB, 0x00, 0xFF, 0x36, 0x36, 0x36, 0x36, 0x36, 0x36, 0x36,
    0x36, 0x36, 0x36, 0x47, 0x49, 0x46, 0x38, 0x39, 0x69, 0x01, 0x00, 0x01,
    0x00, 0x80, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFB, 0x21, 0xF9, 0x04,
    0x01, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00, 0x34, 0x32,
};

// Files whose headers claim a picture the file cannot hold are refused before the
// decoder spends a picture-sized block and seconds making the picture up from zeros.
TEST_F(ImageDecoderTest, RefusesAtOnceFilesTooShortForTheirPicture) {
  const struct {
    const char* what;
    std::vector<unsigned char> bytes;
  } cases[] = {
      {"bmp of 14 million rows holding one", TallBmp()},
      {"gif of 1273 x 49919 cut in its data", kHugeCanvasGifCutShort},
      {"jpeg of 8000 x 8000 whose data ends at once", HugeFrameEndingEarly(WriteSample("jpg"))},
  };
  for (const auto& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Load(c.bytes), nullptr) << c.what;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250)) << c.what;
  }
}

// The tiny GIF's 2 x 1 image on a canvas of `width` x `height`: the decoder makes the
// whole canvas, so the canvas is what counts against the limit.
std::vector<unsigned char> GifOnCanvas(std::uint16_t width, std::uint16_t height) {
  std::vector<unsigned char> bytes = testing::TinyGifBytes();
  bytes[6] = static_cast<unsigned char>(width & 0xFF);
  bytes[7] = static_cast<unsigned char>(width >> 8);
  bytes[8] = static_cast<unsigned char>(height & 0xFF);
  bytes[9] = static_cast<unsigned char>(height >> 8);
  return bytes;
}

// A whole, valid file that declares more than 4 megapixels is refused before decoding
// (a GIF of 1273 x 49919 took seconds and 250 MB); 2048 x 2048 still loads, and the
// declared size is told without decoding.
TEST_F(ImageDecoderTest, RefusesImagesDeclaringMoreThanFourMegapixels) {
  const struct {
    std::uint16_t width;
    std::uint16_t height;
    bool loads;
  } cases[] = {
      {1273, 49919, false}, {1273, 11775, false}, {2049, 2048, false},
      {65535, 65, false},   {65535, 64, true},    {2048, 2048, true},
  };
  for (const auto& c : cases) {
    const std::vector<unsigned char> bytes = GifOnCanvas(c.width, c.height);
    const auto start = std::chrono::steady_clock::now();
    Bitmap* bitmap = Load(bytes);
    EXPECT_EQ(bitmap != nullptr, c.loads) << c.width << " x " << c.height;
    if (!c.loads) {
      EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(250)) << c.width;
    }
    if (bitmap != nullptr) {
      EXPECT_EQ(bitmap->width, c.width);
      EXPECT_EQ(bitmap->height, c.height);
      DeleteBitmap(bitmap);
    }
    std::int32_t width = 0;
    std::int32_t height = 0;
    EXPECT_TRUE(ReadImageFileSize(PlatformPath(folder_.path() / "load").c_str(), &width, &height));
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
  }
  std::int32_t width = 7;
  EXPECT_FALSE(ReadImageFileSize(PlatformPath(folder_.path() / "missing.gif").c_str(), &width, nullptr));
  EXPECT_EQ(width, 7);
}

// Every image the fuzzer keeps as a seed, past findings among them, loads or is refused
// without undefined behaviour (which the sanitizer build turns into a failure).
TEST_F(ImageDecoderTest, LoadsOrRefusesEveryFuzzingSeed) {
  const std::filesystem::path seeds = std::filesystem::path(ORVENDALE_SOURCE_DIR) / "fuzz/corpus/image_file";
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(seeds)) {
    Bitmap* bitmap = Load(testing::ReadBytes(entry.path()));
    if (bitmap != nullptr) DeleteBitmap(bitmap);
    ++count;
  }
  EXPECT_GE(count, 15);
}

// Draws the image of `bytes` into a 6 x 4 bitmap filled with `background`.
class ImageDrawTest : public ImageDecoderTest {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, kMultithreaded);
    void* made = nullptr;
    CoCreateInstance(kImagingFactoryClass, nullptr, kInProcessServer, kImagingFactoryInterface,
                     &made);
    factory_ = static_cast<ImagingFactory*>(made);
    bitmap_.pixels.reset(new std::uint32_t[6 * 4]);
    std::fill_n(bitmap_.pixels.get(), 6 * 4, kBackground);
    context_.bitmap = &bitmap_;
  }
  void TearDown() override {
    factory_->Release();
    CoUninitialize();
  }

  HResult Draw(const ArgbImage& picture, Rect destination, const Rect* source = nullptr) {
    const auto path = folder_.path() / "draw.png";
    testing::WritePng(path, picture);
    Image* image = nullptr;
    const HResult created = factory_->CreateImageFromFile(PlatformPath(path).c_str(), &image);
    if (created != S_OK) return created;
    const HResult drawn = image->Draw(&context_, &destination, source);
    image->Release();
    return drawn;
  }

  static constexpr std::uint32_t kBackground = 0x00FF00FF;
  ImagingFactory* factory_ = nullptr;
  Bitmap bitmap_{6, 4, nullptr, {}};
  DrawingContext context_;
};

TEST_F(ImageDrawTest, BlendsByAlphaAndKeepsTheTopByteZero) {
  ArgbImage picture = testing::SolidImage(4, 1, 0);
  picture.pixels = {0x00123456, 0x80000000, 0xFF204060, 0x40FFFFFF};
  bitmap_.Row(2)[4] = 0x00000000;  // black, not the key
  ASSERT_EQ(Draw(picture, Rect{1, 2, 5, 3}), S_OK);
  const std::uint32_t* row = bitmap_.Row(2);
  EXPECT_EQ(row[0], kBackground);
  EXPECT_EQ(row[1], kBackground);  // alpha 0 leaves the picture
  EXPECT_EQ(row[3], 0x00204060u);  // opaque replaces
  EXPECT_EQ(row[4], 0x00404040u);  // a quarter white over black
  EXPECT_EQ(row[5], kBackground);
  EXPECT_EQ(bitmap_.Row(1)[2], kBackground);
  EXPECT_EQ(bitmap_.Row(3)[2], kBackground);
}

TEST_F(ImageDrawTest, OverTheKeyColourPixelsAreWholeOrLeftOut) {
  // Blending with the key would make pink pixels that the export keeps opaque.
  ArgbImage picture = testing::SolidImage(4, 1, 0);
  picture.pixels = {0x7F204060, 0x80204060, 0x01FFFFFF, 0xFE000000};
  ASSERT_EQ(Draw(picture, Rect{0, 0, 4, 1}), S_OK);
  const std::uint32_t* row = bitmap_.Row(0);
  EXPECT_EQ(row[0], kBackground);
  EXPECT_EQ(row[1], 0x00204060u);
  EXPECT_EQ(row[2], kBackground);
  EXPECT_EQ(row[3], 0x00000000u);
}

TEST_F(ImageDrawTest, ScalesToTheDestinationAndClipsToTheBitmap) {
  ArgbImage picture = testing::SolidImage(2, 1, 0);
  picture.pixels = {0xFF000001, 0xFF000002};
  // Doubled in both directions and hanging over the left and bottom edges.
  ASSERT_EQ(Draw(picture, Rect{-1, 2, 3, 4 + 2}), S_OK);
  constexpr std::uint32_t k = kBackground;
  const std::uint32_t expected[4][6] = {{k, k, k, k, k, k},
                                        {k, k, k, k, k, k},
                                        {1, 2, 2, k, k, k},
                                        {1, 2, 2, k, k, k}};
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) EXPECT_EQ(bitmap_.Row(y)[x], expected[y][x]) << x << "," << y;
  }
  // The right half of the picture only, into one pixel; an empty destination draws nothing.
  const Rect rightHalf{1, 0, 2, 1};
  ASSERT_EQ(Draw(picture, Rect{5, 0, 6, 1}, &rightHalf), S_OK);
  EXPECT_EQ(bitmap_.Row(0)[5], 2u);
  ASSERT_EQ(Draw(picture, Rect{4, 0, 4, 1}), S_OK);
  EXPECT_EQ(bitmap_.Row(0)[4], kBackground);
}

}  // namespace
}  // namespace orvendale::platform
