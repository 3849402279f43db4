#include "platform/imaging/imaging.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "platform/fault_injection.h"
#include "platform/drawing/gdi_objects.h"
#include "support/test_images.h"

namespace orvendale::platform {
namespace {

using testing::ArgbImage;
using testing::PlatformPath;
using testing::TemporaryFolder;

// Keeps COM initialised for a test and balanced afterwards.
class ComScope {
 public:
  ComScope() { CoInitializeEx(nullptr, kMultithreaded); }
  ~ComScope() { CoUninitialize(); }
};

ImagingFactory* NewFactory() {
  void* made = nullptr;
  EXPECT_EQ(CoCreateInstance(kImagingFactoryClass, nullptr, kInProcessServer,
                             kImagingFactoryInterface, &made),
            S_OK);
  return static_cast<ImagingFactory*>(made);
}

TEST(ComInitialization, CountsPerThreadAndRefusesTheOtherModel) {
  ASSERT_EQ(ComInitializationDepth(), 0);
  int dummy = 0;
  const struct {
    void* reserved;
    std::uint32_t flags;
    HResult expected;
    int depthAfter;
  } steps[] = {
      {nullptr, kMultithreaded, S_OK, 1},
      {nullptr, kMultithreaded, S_FALSE, 2},
      {nullptr, kApartmentThreaded, RPC_E_CHANGED_MODE, 2},
      {&dummy, kMultithreaded, E_INVALIDARG, 2},
      {nullptr, 0x40, E_INVALIDARG, 2},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(CoInitializeEx(step.reserved, step.flags), step.expected);
    EXPECT_EQ(ComInitializationDepth(), step.depthAfter);
  }
  int otherThreadDepth = -1;
  std::thread([&] { otherThreadDepth = ComInitializationDepth(); }).join();
  EXPECT_EQ(otherThreadDepth, 0);
  CoUninitialize();
  CoUninitialize();
  CoUninitialize();  // one too many does nothing
  EXPECT_EQ(ComInitializationDepth(), 0);
  EXPECT_EQ(CoInitializeEx(nullptr, kApartmentThreaded), S_OK);  // a fresh thread state
  CoUninitialize();
}

TEST(ImagingFactory, ListsInstalledEncodersInOneFreeableBlock) {
  ComScope com;
  ImagingFactory* factory = NewFactory();
  const auto listMimeTypes = [&] {
    std::uint32_t count = 0;
    EncoderDescription* list = nullptr;
    EXPECT_EQ(factory->GetInstalledEncoders(&count, &list), S_OK);
    std::vector<std::u16string> mimeTypes;
    for (std::uint32_t i = 0; i < count; ++i) {
      // The texts live in the same block, after the descriptions.
      EXPECT_GT(reinterpret_cast<const void*>(list[i].mimeType),
                reinterpret_cast<const void*>(list + count));
      mimeTypes.emplace_back(list[i].mimeType);
    }
    std::free(list);
    return mimeTypes;
  };
  EXPECT_EQ(listMimeTypes(), (std::vector<std::u16string>{u"image/png", u"image/bmp"}));

  SetEncoderInstalled(kPngEncoderClass, false);
  EXPECT_EQ(listMimeTypes(), (std::vector<std::u16string>{u"image/bmp"}));
  SetEncoderInstalled(kPngEncoderClass, true);
  factory->Release();
}

// A 3 x 2 picture held in memory either top-down or bottom-up; the encoder must write the
// top row first either way.
struct PushedPicture {
  std::uint32_t words[6] = {0xFF112233, 0x80445566, 0x00778899,   // top row
                            0xFFAABBCC, 0xFFDDEEFF, 0x01020304};  // bottom row
  std::uint32_t memory[6] = {};
  PixelBufferRecord record;

  explicit PushedPicture(bool bottomUp) {
    for (int i = 0; i < 3; ++i) {
      memory[i] = words[bottomUp ? 3 + i : i];
      memory[3 + i] = words[bottomUp ? i : 3 + i];
    }
    record = {3, 2, bottomUp ? -12 : 12, kPixelFormat32bppArgb, bottomUp ? memory + 3 : memory};
  }
};

ImageInfoRecord InfoFor(std::uint32_t width, std::uint32_t height) {
  ImageInfoRecord info;
  info.rawDataFormat = kImageFormatMemoryBitmap;
  info.pixelFormat = kPixelFormat32bppArgb;
  info.width = width;
  info.height = height;
  info.flags = kImageFlagBottomUp | kImageFlagFullWidth | kImageFlagHasAlpha;
  return info;
}

// Runs the encoder through the sink's calls; returns the status of the first call that
// fails, or of the termination.
HResult Encode(const Guid& encoderClass, const std::filesystem::path& output,
               const PixelBufferRecord& pixels, Rect* subarea = nullptr,
               std::uint32_t pictureHeight = 0) {
  ComScope com;
  ImagingFactory* factory = NewFactory();
  ImageEncoder* encoder = nullptr;
  HResult status = factory->CreateImageEncoderToFile(&encoderClass, PlatformPath(output).c_str(),
                                                     &encoder);
  ImageSink* sink = nullptr;
  if (status == S_OK) status = encoder->GetEncodeSink(&sink);
  ImageInfoRecord info = InfoFor(pixels.width, pictureHeight > 0 ? pictureHeight : pixels.height);
  const PaletteRecord palette{kPaletteHasAlpha, 0, {}};
  const Rect whole{0, 0, static_cast<std::int32_t>(pixels.width),
                   static_cast<std::int32_t>(pixels.height)};
  if (status == S_OK) status = sink->BeginSink(&info, subarea);
  if (status == S_OK) status = sink->SetPalette(&palette);
  if (status == S_OK) status = sink->PushPixelData(&whole, &pixels, true);
  if (status == S_OK) status = sink->EndSink(S_OK);
  if (sink != nullptr) sink->Release();
  if (status == S_OK) status = encoder->TerminateEncoder();
  if (encoder != nullptr) encoder->Release();
  factory->Release();
  return status;
}

TEST(PngEncoder, WritesTheTopRowFirstWhateverTheStride) {
  for (const bool bottomUp : {true, false}) {
    TemporaryFolder folder;
    const PushedPicture picture(bottomUp);
    ASSERT_EQ(Encode(kPngEncoderClass, folder.path() / "out.png", picture.record), S_OK);
    ArgbImage read;
    ASSERT_TRUE(testing::ReadPng(folder.path() / "out.png", &read));
    EXPECT_EQ(read.colorType, 6);  // RGBA
    EXPECT_EQ(read.bitDepth, 8);
    EXPECT_EQ(read.pixels, std::vector<std::uint32_t>(picture.words, picture.words + 6))
        << "bottom-up " << bottomUp;
    EXPECT_EQ(testing::FolderEntries(folder.path()), std::vector<std::string>{"out.png"});
  }
}

// Pixel words, top row first, as a record the encoder takes.
PixelBufferRecord RecordOf(std::vector<std::uint32_t>& words, std::uint32_t width) {
  return {width, static_cast<std::uint32_t>(words.size() / width),
          static_cast<std::int32_t>(width * 4), kPixelFormat32bppArgb, words.data()};
}

// The image data of a PNG file: its IDAT chunks joined, and how many there were.
std::vector<unsigned char> ImageDataOf(const std::filesystem::path& path, int* chunks) {
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
  std::vector<unsigned char> data;
  *chunks = 0;
  for (std::size_t at = 8; at + 12 <= bytes.size();) {
    const std::size_t length = std::size_t{bytes[at]} << 24 | bytes[at + 1] << 16 |
                               bytes[at + 2] << 8 | bytes[at + 3];
    if (std::equal(bytes.begin() + at + 4, bytes.begin() + at + 8, "IDAT")) {
      data.insert(data.end(), bytes.begin() + at + 8, bytes.begin() + at + 8 + length);
      ++*chunks;
    }
    at += 12 + length;
  }
  return data;
}

std::uint32_t NextRandom(std::uint32_t* state) {  // xorshift32
  *state ^= *state << 13;
  *state ^= *state >> 17;
  *state ^= *state << 5;
  return *state;
}

TEST(PngEncoder, ReadsBackExactlyWhetherTheDataTakesOneChunkOrMany) {
  std::uint32_t seed = 2463534242u;
  struct Case {
    const char* name;
    std::uint32_t width;
    std::vector<std::uint32_t> words;
  };
  std::vector<Case> cases = {{"one pixel", 1, {0x80FF0000}},
                             {"one column", 1, std::vector<std::uint32_t>(300, 0xFF0000FF)},
                             {"noise", 256, std::vector<std::uint32_t>(256 * 160)}};
  for (std::uint32_t& word : cases[2].words) word = NextRandom(&seed);
  for (Case& test : cases) {
    TemporaryFolder folder;
    ASSERT_EQ(Encode(kPngEncoderClass, folder.path() / "out.png", RecordOf(test.words, test.width)),
              S_OK)
        << test.name;
    ArgbImage read;
    ASSERT_TRUE(testing::ReadPng(folder.path() / "out.png", &read)) << test.name;
    EXPECT_EQ(read.width, test.width) << test.name;
    EXPECT_EQ(read.pixels, test.words) << test.name;
    int chunks = 0;
    ImageDataOf(folder.path() / "out.png", &chunks);
    EXPECT_EQ(chunks > 1, test.words.size() > 1000) << test.name;  // noise takes 160 KiB
  }
}

// A picture like a month grid: transparent, with two-digit numbers in three colours drawn
// from ten random 5 x 7 glyphs, 24 x 20 pixels per cell.
std::vector<std::uint32_t> SparseTextPicture(std::uint32_t width, std::uint32_t height) {
  std::uint32_t seed = 88172645u;
  std::uint64_t glyphs[10];
  for (std::uint64_t& glyph : glyphs) glyph = std::uint64_t{NextRandom(&seed)} << 3 | (seed & 7);
  const std::uint32_t colours[3] = {0xFF303030, 0xFFCC2222, 0xFF2255CC};
  std::vector<std::uint32_t> words(std::size_t{width} * height, 0);
  for (std::uint32_t day = 1; day <= 31; ++day) {
    const std::uint32_t cellX = (day % 7) * 24 + 6;
    const std::uint32_t cellY = (day / 7) * 20 + 26;
    const std::uint32_t digits[2] = {day / 10, day % 10};
    for (std::uint32_t d = 0; d < 2; ++d) {
      for (std::uint32_t bit = 0; bit < 35; ++bit) {
        if ((glyphs[digits[d]] >> bit & 1) == 0) continue;
        const std::uint32_t x = cellX + d * 6 + bit % 5;
        const std::uint32_t y = cellY + bit / 5;
        words[std::size_t{y} * width + x] = colours[day % 7 == 0 ? 1 : day % 7 == 6 ? 2 : 0];
      }
    }
  }
  return words;
}

TEST(PngEncoder, CompressesSparseTextAlmostAsWellAsZlibsStrongestLevel) {
  constexpr std::uint32_t kWidth = 168;
  constexpr std::uint32_t kHeight = 150;
  std::vector<std::uint32_t> words = SparseTextPicture(kWidth, kHeight);
  TemporaryFolder folder;
  ASSERT_EQ(Encode(kPngEncoderClass, folder.path() / "out.png", RecordOf(words, kWidth)), S_OK);
  int chunks = 0;
  const std::vector<unsigned char> written = ImageDataOf(folder.path() / "out.png", &chunks);

  std::vector<unsigned char> rows;  // unfiltered, as the file stores them
  for (std::uint32_t y = 0; y < kHeight; ++y) {
    rows.push_back(0);
    for (std::uint32_t x = 0; x < kWidth; ++x) {
      const std::uint32_t word = words[y * kWidth + x];
      for (const int shift : {16, 8, 0, 24}) rows.push_back(static_cast<unsigned char>(word >> shift));
    }
  }
  std::vector<unsigned char> strongest(compressBound(rows.size()));
  uLongf strongestBytes = strongest.size();
  ASSERT_EQ(compress2(strongest.data(), &strongestBytes, rows.data(), rows.size(), 9), Z_OK);
  EXPECT_LE(written.size(), strongestBytes * 11 / 10) << strongestBytes;
  // And the data is those rows.
  std::vector<unsigned char> inflated(rows.size());
  uLongf inflatedBytes = inflated.size();
  ASSERT_EQ(uncompress(inflated.data(), &inflatedBytes, written.data(), written.size()), Z_OK);
  EXPECT_EQ(inflated, rows);
}

TEST(BmpEncoder, RoundTripsThroughTheDecoder) {
  TemporaryFolder folder;
  const PushedPicture picture(true);
  ASSERT_EQ(Encode(kBmpEncoderClass, folder.path() / "out.bmp", picture.record), S_OK);
  Bitmap* bitmap = LoadBitmapFile(PlatformPath(folder.path() / "out.bmp").c_str());
  ASSERT_NE(bitmap, nullptr);
  ASSERT_EQ(bitmap->width, 3);
  ASSERT_EQ(bitmap->height, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      EXPECT_EQ(bitmap->Row(y)[x], picture.words[y * 3 + x] & 0x00FFFFFF) << x << "," << y;
    }
  }
  DeleteBitmap(bitmap);
}

TEST(PngEncoder, RefusesWhatItCannotWriteAndLeavesNothing) {
  TemporaryFolder folder;
  const auto output = folder.path() / "out.png";
  ASSERT_TRUE(testing::WriteBytes(output, {'o', 'l', 'd'}));
  std::filesystem::create_directory(folder.path() / "sub");
  PushedPicture picture(true);
  PixelBufferRecord narrowStride = picture.record;
  narrowStride.stride = -8;
  PixelBufferRecord otherFormat = picture.record;
  otherFormat.pixelFormat = kPixelFormat24bppRgb;
  Rect part{0, 0, 1, 1};
  const struct {
    const char* what;
    std::filesystem::path output;
    PixelBufferRecord pixels;
    Rect* subarea;
  } cases[] = {
      {"stride shorter than a row", output, narrowStride, nullptr},
      {"other pixel format", output, otherFormat, nullptr},
      {"part of the picture", output, picture.record, &part},
      {"output is a folder", folder.path() / "sub", picture.record, nullptr},
      {"missing folder", folder.path() / "missing" / "out.png", picture.record, nullptr},
  };
  for (const auto& c : cases) {
    EXPECT_NE(Encode(kPngEncoderClass, c.output, c.pixels, c.subarea, 2), S_OK) << c.what;
    EXPECT_EQ(testing::ReadBytes(output), (std::vector<unsigned char>{'o', 'l', 'd'})) << c.what;
    EXPECT_EQ(testing::FolderEntries(folder.path()), (std::vector<std::string>{"out.png", "sub"}))
        << c.what;
  }
}

TEST(PngEncoder, ReplacesTheOutputOnlyOnTermination) {
  TemporaryFolder folder;
  const auto output = folder.path() / "out.png";
  const std::vector<unsigned char> old{'o', 'l', 'd'};
  ASSERT_TRUE(testing::WriteBytes(output, old));
  ASSERT_EQ(::chmod(output.c_str(), 0640), 0);
  ComScope com;
  ImagingFactory* factory = NewFactory();
  const PushedPicture picture(true);
  // Released after each number of completed calls: 0 = right after creation, 1 = begun,
  // 2 = pushed, 3 = ended, 4 = ended with a failure status. Only a termination after 3
  // replaces the output.
  for (int completed = 0; completed <= 4; ++completed) {
    ImageEncoder* encoder = nullptr;
    ASSERT_EQ(factory->CreateImageEncoderToFile(&kPngEncoderClass, PlatformPath(output).c_str(),
                                                &encoder),
              S_OK);
    ImageSink* sink = nullptr;
    ASSERT_EQ(encoder->GetEncodeSink(&sink), S_OK);
    ImageInfoRecord info = InfoFor(3, 2);
    const Rect whole{0, 0, 3, 2};
    if (completed >= 1) {
      EXPECT_EQ(sink->BeginSink(&info, nullptr), S_OK);
    }
    if (completed >= 2) {
      EXPECT_EQ(sink->PushPixelData(&whole, &picture.record, true), S_OK);
    }
    if (completed >= 3) {
      EXPECT_EQ(sink->EndSink(completed == 4 ? E_FAIL : S_OK), S_OK);
      EXPECT_EQ(testing::FolderEntries(folder.path()).size(), 2u);  // and the temporary file
    }
    sink->Release();
    const HResult terminated = completed >= 3 ? encoder->TerminateEncoder() : E_FAIL;
    EXPECT_EQ(terminated == S_OK, completed == 3) << completed;
    encoder->Release();
    EXPECT_EQ(testing::FolderEntries(folder.path()), std::vector<std::string>{"out.png"});
    if (terminated != S_OK) {
      EXPECT_EQ(testing::ReadBytes(output), old) << completed;
    } else {
      struct stat status;
      ASSERT_EQ(::stat(output.c_str(), &status), 0);
      EXPECT_EQ(status.st_mode & 0777, 0640u);  // the replaced file keeps its permissions
      ASSERT_TRUE(testing::WriteBytes(output, old));
    }
  }
  factory->Release();
  EXPECT_EQ(testing::ReadBytes(output), old);
}

}  // namespace
}  // namespace orvendale::platform
