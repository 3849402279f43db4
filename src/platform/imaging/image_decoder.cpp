// Image files for placement: decoded with stb_image (BMP, PNG, JPEG, GIF only), served
// as the imaging service's image objects and as the shell's bitmap loader.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/fault_injection.h"
#include "platform/system/file.h"
#include "platform/drawing/blend.h"
#include "platform/drawing/gdi_objects.h"
#include "platform/drawing/graphics.h"
#include "platform/imaging/image_prescan.h"
#include "platform/imaging/imaging.h"
#include "platform/imaging/imaging_internal.h"

// The decoder is compiled here, private to this file, with only the formats the
// platform accepts, no file access of its own (files are read through the callbacks
// below) and no messages.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_GIF
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_FAILURE_STRINGS
// No side above this even reaches the decoder; the pixel limit below is the real bound.
#define STBI_MAX_DIMENSIONS orvendale::platform::kMaxImageSide
// The decoder copies zero bytes into a buffer it has not allocated yet (a PNG whose first
// image-data chunk is empty), which hands memcpy a null pointer. Its copies go through a
// wrapper that does nothing for zero bytes; <cstring> is included above, so the macro
// reaches only the decoder's own calls.
namespace {
inline void* CopyDecoderBytes(void* destination, const void* source, std::size_t count) {
  return count == 0 ? destination : std::memcpy(destination, source, count);
}
}  // namespace
#define memcpy CopyDecoderBytes

// The decoder sizes some blocks by what a file's headers claim (a PNG chunk may claim
// 2 GiB), so one block above this is refused and the file fails to decode instead of
// exhausting memory. The largest picture accepted holds kMaxBitmapBytes of pixels and,
// with 16-bit samples, twice that while it is decoded.
namespace {
constexpr std::size_t kMaxDecoderBlock = 2 * orvendale::platform::kMaxBitmapBytes + (1u << 20);
// Blocks start zeroed: the JPEG decoder reads the Huffman tables a scan names whether or
// not the file defined them, and left to chance their contents made it shift by more
// than 31 bits. Zeroed tables decode as empty codes, harmlessly.
inline void* AllocateDecoderBlock(std::size_t size) {
  return size > kMaxDecoderBlock ? nullptr : std::calloc(1, size);
}
inline void* ReallocateDecoderBlock(void* block, std::size_t size) {
  return size > kMaxDecoderBlock ? nullptr : std::realloc(block, size);
}
}  // namespace
#define STBI_MALLOC(size) AllocateDecoderBlock(size)
#define STBI_REALLOC(block, size) ReallocateDecoderBlock(block, size)
#define STBI_FREE(block) std::free(block)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wimplicit-fallthrough"
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wunused-but-set-variable"
#pragma GCC diagnostic ignored "-Wtype-limits"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop
#undef memcpy

namespace orvendale::platform {
namespace {

constexpr int kChannels = 4;  // decoded as R, G, B, A bytes

// A file larger than the biggest picture it may hold (plus room for headers, palettes
// and chunk overhead) is refused before the decoder reads it: the PNG decoder gathers
// all compressed data in memory first.
constexpr std::uint64_t kMaxImageFileBytes = kMaxBitmapBytes + (1u << 20);

// Closes the file on every way out.
class ReadOnlyFile {
 public:
  explicit ReadOnlyFile(int file) : file_(file) {}
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ~ReadOnlyFile() {
    if (file_ >= 0) ::close(file_);
  }
  int get() const { return file_; }

 private:
  int file_;
};

// Opens a regular file for reading and gives its size; -1 for anything else. The open
// does not wait: a pipe would otherwise block until a writer came.
int OpenImageFile(const char16_t* path, std::uint64_t& bytes) {
  std::array<char, kMaxHostPathBytes> hostPath;
  if (!HostPathFromPlatformPath(path, hostPath.data(), kMaxHostPathBytes)) return -1;
  int file;
  do {
    file = ::open(hostPath.data(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  } while (file < 0 && errno == EINTR);
  if (file < 0) return -1;
  struct stat status;
  if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size <= 0 ||
      static_cast<std::uint64_t>(status.st_size) > kMaxImageFileBytes ||
      ::fcntl(file, F_SETFL, O_RDONLY) != 0) {
    ::close(file);
    return -1;
  }
  bytes = static_cast<std::uint64_t>(status.st_size);
  return file;
}

// The decoder reads through these. It asks for more only when it needs bytes beyond
// what it has; a read that finds the end of the file therefore means the decoder wanted
// data the file does not have: the file is truncated, even where the decoder would
// make up the rest from zeros.
struct FileReader {
  int file = -1;
  bool failed = false;     // a read error
  bool ranPastEnd = false;
  bool atEnd = false;
};

int ReadCallback(void* user, char* data, int size) {
  auto* reader = static_cast<FileReader*>(user);
  if (size <= 0) return 0;
  ssize_t got;
  do {
    got = ::read(reader->file, data, static_cast<std::size_t>(size));
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    reader->failed = true;
    reader->atEnd = true;
    return 0;
  }
  if (got == 0) {
    reader->ranPastEnd = true;
    reader->atEnd = true;
  }
  return static_cast<int>(got);
}

void SkipCallback(void* user, int count) {
  auto* reader = static_cast<FileReader*>(user);
  // A skip backwards (negative) is used by the decoder to step back within its data.
  if (::lseek(reader->file, count, SEEK_CUR) < 0) reader->failed = true;
}

int EofCallback(void* user) { return static_cast<const FileReader*>(user)->atEnd ? 1 : 0; }

constexpr stbi_io_callbacks kCallbacks{ReadCallback, SkipCallback, EofCallback};


// Frees the decoder's pixels.
struct StbFree {
  void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};
using StbPixels = std::unique_ptr<stbi_uc, StbFree>;

// Decoded pixels: width x height R, G, B, A bytes, top row first.
struct DecodedPixels {
  std::int32_t width = 0;
  std::int32_t height = 0;
  StbPixels rgba;
};

// Decodes the file at `path`; empty pixels on any failure. The size is read from the
// header first, so that an image too large for the bitmap limit is never decoded.
DecodedPixels DecodeFile(const char16_t* path) {
  DecodedPixels result;
  std::uint64_t fileBytes = 0;
  const ReadOnlyFile file(OpenImageFile(path, fileBytes));
  if (file.get() < 0) return result;

  if (!JpegHeadersFit(file.get(), fileBytes) || !BmpRowsFit(file.get(), fileBytes) ||
      !GifFirstImageEnds(file.get(), fileBytes)) {
    return result;
  }
  FileReader reader{file.get()};
  int width = 0;
  int height = 0;
  int channels = 0;
  if (stbi_info_from_callbacks(&kCallbacks, &reader, &width, &height, &channels) == 0) {
    return result;
  }
  // A BMP stored top row first reports a negative height here (and a positive one when
  // decoded).
  const std::int64_t rows = height < 0 ? -std::int64_t{height} : height;
  static_assert(kMaxImagePixels <= kMaxBitmapBytes / kChannels, "a decoded image must fit a bitmap");
  if (width <= 0 || rows == 0 ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(rows) > kMaxImagePixels) {
    return result;
  }

  if (::lseek(file.get(), 0, SEEK_SET) != 0) return result;
  reader = FileReader{file.get()};
  StbPixels pixels(stbi_load_from_callbacks(&kCallbacks, &reader, &width, &height, &channels,
                                            kChannels));
  if (!pixels || reader.failed || reader.ranPastEnd || width <= 0 || height <= 0) {
    return result;
  }
  result.width = width;
  result.height = height;
  result.rgba = std::move(pixels);
  return result;
}

constexpr std::uint32_t kHalfOpaque = 128;

// Blends one colour channel of the image over the destination: alpha 255 gives the
// image, 0 the destination, rounded to nearest.
std::uint32_t BlendChannel(std::uint32_t image, std::uint32_t destination, std::uint32_t alpha) {
  return (image * alpha + destination * (255 - alpha) + 127) / 255;
}

class DecodedImage final : public Image {
 public:
  explicit DecodedImage(DecodedPixels pixels) : pixels_(std::move(pixels)) {}

  HResult Draw(DrawingContext* context, const Rect* destination, const Rect* source) override {
    if (context == nullptr || destination == nullptr) return E_INVALIDARG;
    // The part of the image to draw, inside the image.
    Rect from{0, 0, pixels_.width, pixels_.height};
    if (source != nullptr) {
      from = Rect{std::max(source->left, 0), std::max(source->top, 0),
                  std::min(source->right, pixels_.width), std::min(source->bottom, pixels_.height)};
    }
    const std::int64_t fromWidth = std::int64_t{from.right} - from.left;
    const std::int64_t fromHeight = std::int64_t{from.bottom} - from.top;
    const std::int64_t toWidth = std::int64_t{destination->right} - destination->left;
    const std::int64_t toHeight = std::int64_t{destination->bottom} - destination->top;
    if (fromWidth <= 0 || fromHeight <= 0 || toWidth <= 0 || toHeight <= 0) return S_OK;

    const Rect clipped = ClipToBitmap(*context, *destination);
    if (clipped.right <= clipped.left || clipped.bottom <= clipped.top) return S_OK;

    const std::size_t imageRowBytes = static_cast<std::size_t>(pixels_.width) * kChannels;
    const bool withAlpha = context->bitmap->HasAlpha();
    for (std::int32_t y = clipped.top; y < clipped.bottom; ++y) {
      // Nearest neighbour, sampled at the centre of the destination pixel. Every factor
      // is below 2^33 and every side below 2^26, so the products fit 64 bits.
      const std::int64_t row = from.top + ((2 * (std::int64_t{y} - destination->top) + 1) *
                                           fromHeight) / (2 * toHeight);
      const stbi_uc* imageRow = pixels_.rgba.get() + static_cast<std::size_t>(row) * imageRowBytes;
      std::uint32_t* out = context->bitmap->Row(y);
      for (std::int32_t x = clipped.left; x < clipped.right; ++x) {
        const std::int64_t column =
            from.left + ((2 * (std::int64_t{x} - destination->left) + 1) * fromWidth) /
                            (2 * toWidth);
        const stbi_uc* pixel = imageRow + static_cast<std::size_t>(column) * kChannels;
        const std::uint32_t alpha = pixel[3];
        if (alpha == 0) continue;
        const std::uint32_t under = out[x];
        const std::uint32_t color = std::uint32_t{pixel[0]} << 16 | std::uint32_t{pixel[1]} << 8 | pixel[2];
        if (withAlpha) {
          // A bitmap with alpha takes the image's alpha whole, composited over.
          out[x] = BlendOver(under, color, alpha, PixelAlpha::kStraight);
          continue;
        }
        if (under == KeyColor) {
          // The key colour is the picture's transparency. Blended with it, an edge pixel
          // would turn pink and then opaque on export, so over the key a pixel is drawn
          // whole when it is at least half opaque and left out otherwise.
          if (alpha >= kHalfOpaque) out[x] = color;
          continue;
        }
        const std::uint32_t red = BlendChannel(pixel[0], under >> 16 & 0xFF, alpha);
        const std::uint32_t green = BlendChannel(pixel[1], under >> 8 & 0xFF, alpha);
        const std::uint32_t blue = BlendChannel(pixel[2], under & 0xFF, alpha);
        out[x] = red << 16 | green << 8 | blue;
      }
    }
    return S_OK;
  }

  std::uint32_t Release() override {
    const std::uint32_t remaining = --references_;
    if (remaining == 0) delete this;
    return remaining;
  }

 private:
  DecodedPixels pixels_;
  std::uint32_t references_ = 1;
};

}  // namespace

bool ReadImageFileSize(const char16_t* path, std::int32_t* width, std::int32_t* height) {
  if (path == nullptr) return false;
  std::uint64_t fileBytes = 0;
  const ReadOnlyFile file(OpenImageFile(path, fileBytes));
  if (file.get() < 0) return false;
  FileReader reader{file.get()};
  int declaredWidth = 0;
  int declaredHeight = 0;
  int channels = 0;
  if (stbi_info_from_callbacks(&kCallbacks, &reader, &declaredWidth, &declaredHeight, &channels) == 0) {
    return false;
  }
  if (width != nullptr) *width = declaredWidth;
  // A BMP stored top row first declares a negative height.
  const std::int64_t rows = declaredHeight < 0 ? -std::int64_t{declaredHeight} : declaredHeight;
  if (height != nullptr) *height = static_cast<std::int32_t>(std::min<std::int64_t>(rows, INT32_MAX));
  return true;
}

HResult CreateDecodedImage(const char16_t* path, Image** image) {
  *image = nullptr;
  DecodedPixels pixels = DecodeFile(path);
  if (!pixels.rgba) return E_FAIL;
  DecodedImage* made = new (std::nothrow) DecodedImage(std::move(pixels));
  if (made == nullptr) return E_OUTOFMEMORY;
  *image = made;
  return S_OK;
}

Bitmap* LoadBitmapFile(const char16_t* path) {
  if (path == nullptr) return nullptr;
  if (ShouldFail(FaultPoint::kLoadBitmapFile)) return nullptr;
  const DecodedPixels decoded = DecodeFile(path);
  if (!decoded.rgba) return nullptr;

  // DecodeFile kept width x height x 4 within kMaxBitmapBytes.
  const std::size_t pixelCount =
      static_cast<std::size_t>(decoded.width) * static_cast<std::size_t>(decoded.height);
  auto* bitmap = new (std::nothrow) Bitmap{decoded.width, decoded.height, nullptr, {}};
  if (bitmap == nullptr) return nullptr;
  bitmap->pixels.reset(new (std::nothrow) std::uint32_t[pixelCount]);
  if (!bitmap->pixels) {
    delete bitmap;
    return nullptr;
  }
  const stbi_uc* in = decoded.rgba.get();
  for (std::int32_t y = 0; y < decoded.height; ++y) {
    std::uint32_t* out = bitmap->Row(y);
    for (std::int32_t x = 0; x < decoded.width; ++x, in += kChannels) {
      out[x] = std::uint32_t{in[0]} << 16 | std::uint32_t{in[1]} << 8 | in[2];
    }
  }
  return bitmap;
}

}  // namespace orvendale::platform
