#include "support/test_images.h"

#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image_write.h>
#pragma GCC diagnostic pop

namespace orvendale::testing {
namespace {

// Every local is trivially destructible: libpng may longjmp back here.
bool ReadRows(png_structp png, png_infop info, FILE* file, ArgbImage* image) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_init_io(png, file);
  png_read_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
  png_bytepp read = png_get_rows(png, info);
  image->width = png_get_image_width(png, info);
  image->height = png_get_image_height(png, info);
  image->colorType = png_get_color_type(png, info);
  image->bitDepth = png_get_bit_depth(png, info);
  const int depth = image->bitDepth;
  png_colorp palette = nullptr;
  int paletteSize = 0;
  if (image->colorType == PNG_COLOR_TYPE_PALETTE) png_get_PLTE(png, info, &palette, &paletteSize);
  const bool opaqueKind = depth <= 8 && (image->colorType == PNG_COLOR_TYPE_GRAY ||
                                         image->colorType == PNG_COLOR_TYPE_PALETTE ||
                                         image->colorType == PNG_COLOR_TYPE_RGB);
  if ((image->colorType != PNG_COLOR_TYPE_RGB_ALPHA || depth != 8) && !opaqueKind) return true;
  image->pixels.resize(std::size_t{image->width} * image->height);
  for (std::uint32_t y = 0; y < image->height; ++y) {
    for (std::uint32_t x = 0; x < image->width; ++x) {
      std::uint32_t& out = image->pixels[y * image->width + x];
      if (image->colorType == PNG_COLOR_TYPE_RGB_ALPHA) {
        const png_bytep p = read[y] + 4 * x;
        out = std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
      } else if (image->colorType == PNG_COLOR_TYPE_RGB) {
        const png_bytep p = read[y] + 3 * x;
        out = 0xFF000000u | std::uint32_t{p[0]} << 16 | std::uint32_t{p[1]} << 8 | p[2];
      } else {
        // Samples of `depth` bits, most significant first.
        const std::uint32_t bit = x * static_cast<std::uint32_t>(depth);
        const std::uint32_t sample =
            (read[y][bit / 8] >> (8 - depth - static_cast<int>(bit % 8))) & ((1u << depth) - 1);
        if (image->colorType == PNG_COLOR_TYPE_GRAY) {
          const std::uint32_t level = sample * 255 / ((1u << depth) - 1);
          out = 0xFF000000u | level << 16 | level << 8 | level;
        } else if (static_cast<int>(sample) < paletteSize) {
          const png_color& entry = palette[sample];
          out = 0xFF000000u | std::uint32_t{entry.red} << 16 | std::uint32_t{entry.green} << 8 | entry.blue;
        } else {
          return false;  // an index past the palette
        }
      }
    }
  }
  return true;
}

bool WriteRows(png_structp png, png_infop info, FILE* file, const ArgbImage* image,
               png_bytep row) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  png_init_io(png, file);
  png_set_IHDR(png, info, image->width, image->height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (std::uint32_t y = 0; y < image->height; ++y) {
    for (std::uint32_t x = 0; x < image->width; ++x) {
      const std::uint32_t pixel = image->At(x, y);
      row[4 * x] = static_cast<png_byte>(pixel >> 16);
      row[4 * x + 1] = static_cast<png_byte>(pixel >> 8);
      row[4 * x + 2] = static_cast<png_byte>(pixel);
      row[4 * x + 3] = static_cast<png_byte>(pixel >> 24);
    }
    png_write_row(png, row);
  }
  png_write_end(png, info);
  return true;
}

void Silent(png_structp, png_const_charp) {}

// stb's writer hands its output in pieces to this.
void AppendToVector(void* context, void* data, int size) {
  auto* out = static_cast<std::vector<unsigned char>*>(context);
  const auto* bytes = static_cast<const unsigned char*>(data);
  out->insert(out->end(), bytes, bytes + size);
}

void Put(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

}  // namespace

bool ReadPng(const std::filesystem::path& path, ArgbImage* image) {
  *image = ArgbImage{};
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Silent);
  png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
  const bool read = info != nullptr && ReadRows(png, info, file, image);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return read;
}

bool WritePng(const std::filesystem::path& path, const ArgbImage& image) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, Silent);
  png_infop info = png == nullptr ? nullptr : png_create_info_struct(png);
  std::vector<png_byte> row(std::size_t{image.width} * 4);
  const bool written = info != nullptr && WriteRows(png, info, file, &image, row.data());
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && written;
}

std::vector<unsigned char> BmpBytes(const ArgbImage& image, int bitsPerPixel) {
  const bool withAlpha = bitsPerPixel == 32;
  const std::uint32_t infoBytes = withAlpha ? 108 : 40;
  const std::uint32_t rowBytes = (image.width * (withAlpha ? 4 : 3) + 3) / 4 * 4;
  const std::uint32_t offset = 14 + infoBytes;
  std::vector<unsigned char> out;
  out.push_back('B');
  out.push_back('M');
  Put(out, offset + rowBytes * image.height, 4);
  Put(out, 0, 4);
  Put(out, offset, 4);
  Put(out, infoBytes, 4);
  Put(out, image.width, 4);
  Put(out, image.height, 4);
  Put(out, 1, 2);
  Put(out, static_cast<std::uint32_t>(bitsPerPixel), 2);
  Put(out, withAlpha ? 3 : 0, 4);
  Put(out, rowBytes * image.height, 4);
  Put(out, 3780, 4);
  Put(out, 3780, 4);
  Put(out, 0, 4);
  Put(out, 0, 4);
  if (withAlpha) {
    Put(out, 0x00FF0000, 4);
    Put(out, 0x0000FF00, 4);
    Put(out, 0x000000FF, 4);
    Put(out, 0xFF000000, 4);
    Put(out, 0x73524742, 4);
    out.resize(out.size() + 48, 0);
  }
  for (std::uint32_t row = image.height; row > 0; --row) {
    const std::size_t start = out.size();
    for (std::uint32_t x = 0; x < image.width; ++x) {
      Put(out, image.At(x, row - 1), withAlpha ? 4 : 3);
    }
    out.resize(start + rowBytes, 0);
  }
  return out;
}

bool WriteJpeg(const std::filesystem::path& path, const ArgbImage& image) {
  std::vector<unsigned char> rgb;
  for (const std::uint32_t pixel : image.pixels) {
    rgb.push_back(static_cast<unsigned char>(pixel >> 16));
    rgb.push_back(static_cast<unsigned char>(pixel >> 8));
    rgb.push_back(static_cast<unsigned char>(pixel));
  }
  std::vector<unsigned char> bytes;
  if (stbi_write_jpg_to_func(AppendToVector, &bytes, static_cast<int>(image.width),
                             static_cast<int>(image.height), 3, rgb.data(), 95) == 0) {
    return false;
  }
  return WriteBytes(path, bytes);
}

std::vector<unsigned char> TinyGifBytes() {
  // Header, a 2 x 1 screen with a global table of two colours (red, blue), one image
  // of LZW data with a minimum code size of 2, and the trailer.
  return {'G', 'I', 'F', '8', '9', 'a', 2, 0, 1, 0, 0x80, 0, 0,
          0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF,
          0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0x00,
          0x02, 0x02, 0x44, 0x0A, 0x00,
          0x3B};
}

ArgbImage SolidImage(std::uint32_t width, std::uint32_t height, std::uint32_t argb) {
  ArgbImage image;
  image.width = width;
  image.height = height;
  image.pixels.assign(std::size_t{width} * height, argb);
  return image;
}

bool WriteBytes(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

std::vector<unsigned char> ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::u16string PlatformPath(const std::filesystem::path& path) {
  const std::string text = path.string();
  return std::u16string(text.begin(), text.end());
}

TemporaryFolder::TemporaryFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "orvendale-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

}  // namespace orvendale::testing
