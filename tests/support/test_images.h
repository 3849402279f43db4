#pragma once
// Image files for the imaging tests, made and read inside the tests: PNG through libpng,
// BMP as raw bytes, JPEG through a small writer. Pixels are 0xAARRGGBB words, top row
// first.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orvendale::testing {

struct ArgbImage {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::vector<std::uint32_t> pixels;  // width x height, top row first
  int colorType = -1;                 // as the PNG header says
  int bitDepth = 0;

  std::uint32_t At(std::uint32_t x, std::uint32_t y) const { return pixels[y * width + x]; }
};

// Reads a PNG back; false when the file is not a readable PNG. The pixels are filled for
// 8-bit RGBA and for grey, palette (both of 1 to 8 bits, opaque) and 8-bit RGB, and left
// empty for other kinds.
bool ReadPng(const std::filesystem::path& path, ArgbImage* image);

// Writes an 8-bit RGBA PNG of the pixels.
bool WritePng(const std::filesystem::path& path, const ArgbImage& image);

// A BMP file: 24 bits (alpha dropped) or 32 bits (with an alpha mask), rows bottom-up.
std::vector<unsigned char> BmpBytes(const ArgbImage& image, int bitsPerPixel);

// A baseline JPEG of the pixels' colours.
bool WriteJpeg(const std::filesystem::path& path, const ArgbImage& image);

// A 2 x 1 GIF: the left pixel red, the right one blue.
std::vector<unsigned char> TinyGifBytes();

ArgbImage SolidImage(std::uint32_t width, std::uint32_t height, std::uint32_t argb);

bool WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadBytes(const std::filesystem::path& path);

// The names in a folder, sorted.
std::vector<std::string> FolderEntries(const std::filesystem::path& folder);

// A platform path (UTF-16) for a host path of ASCII characters.
std::u16string PlatformPath(const std::filesystem::path& path);

// A fresh folder, removed with everything in it when the object goes.
class TemporaryFolder {
 public:
  TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;
  ~TemporaryFolder();
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace orvendale::testing
