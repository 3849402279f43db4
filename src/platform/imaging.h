#pragma once
// The imaging service of this host, shaped as the platform's COM service: counted COM
// initialisation, an image factory with an encoder list, a PNG encoder (libpng) whose
// sink takes the picture in one push, and image objects decoded from files (stb_image)
// that draw themselves into a drawing context. Every operation returns an HResult;
// each object is released with Release().

#include <cstdint>

#include "platform/graphics.h"
#include "platform/types.h"

namespace orvendale::platform {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0;
  std::uint16_t data3 = 0;
  std::uint8_t data4[8] = {};
  friend bool operator==(const Guid&, const Guid&) = default;
};

inline constexpr Guid kImagingFactoryClass{
    0x327ABDA8, 0x072B, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
inline constexpr Guid kImagingFactoryInterface{
    0x327ABDA7, 0x072B, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
// The service's in-memory bitmap format, named in an ImageInfoRecord.
inline constexpr Guid kImageFormatMemoryBitmap{
    0xB96B3CAA, 0x0728, 0x11D3, {0x9D, 0x7B, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

inline constexpr std::uint32_t kInProcessServer = 1;
inline constexpr std::uint32_t kMultithreaded = 0;
// CoInitializeEx's result when the thread was already initialised.
inline constexpr HResult S_FALSE = 1;

// Pixel formats: bits 8-15 bits per pixel; 0x10000 indexed, 0x20000 native to the
// graphics interface, 0x40000 alpha.
inline constexpr std::uint32_t kPixelFormat1bppIndexed = 0x30101;
inline constexpr std::uint32_t kPixelFormat4bppIndexed = 0x30402;
inline constexpr std::uint32_t kPixelFormat8bppIndexed = 0x30803;
inline constexpr std::uint32_t kPixelFormat16bppRgb565 = 0x21006;
inline constexpr std::uint32_t kPixelFormat24bppRgb = 0x21808;
inline constexpr std::uint32_t kPixelFormat32bppArgb = 0x26200A;

// ImageInfoRecord flags.
inline constexpr std::uint32_t kImageFlagHasAlpha = 0x2;
inline constexpr std::uint32_t kImageFlagBottomUp = 0x20000;
inline constexpr std::uint32_t kImageFlagFullWidth = 0x40000;
// PaletteRecord flags.
inline constexpr std::uint32_t kPaletteHasAlpha = 1;

struct ImageInfoRecord {
  Guid rawDataFormat;
  std::uint32_t pixelFormat = 0;
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::uint32_t tileWidth = 0;
  std::uint32_t tileHeight = 0;
  double xResolution = 0.0;
  double yResolution = 0.0;
  std::uint32_t flags = 0;
};
static_assert(sizeof(ImageInfoRecord) == 64);

struct PaletteRecord {
  std::uint32_t flags = 0;
  std::uint32_t count = 0;
  std::uint32_t entries[1] = {};
};
static_assert(sizeof(PaletteRecord) == 12);

struct PixelBufferRecord {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  std::int32_t stride = 0;  // bytes from one picture row to the next; negative walks back
  std::uint32_t pixelFormat = 0;
  void* firstRow = nullptr;  // the picture's top row
  std::uintptr_t reserved = 0;
};

// One installed encoder. Only classId and mimeType are meaningful to callers.
struct EncoderDescription {
  Guid classId;
  Guid formatId;
  const char16_t* codecName = nullptr;
  const char16_t* formatDescription = nullptr;
  const char16_t* filenameExtension = nullptr;
  const char16_t* mimeType = nullptr;
  std::uint32_t flags = 0;
  std::uint32_t version = 0;
};

class ImageSink {
 public:
  // `subarea` null means the whole picture.
  virtual HResult BeginSink(ImageInfoRecord* info, Rect* subarea) = 0;
  virtual HResult SetPalette(const PaletteRecord* palette) = 0;
  virtual HResult PushPixelData(const Rect* rect, const PixelBufferRecord* pixels,
                                bool lastPass) = 0;
  virtual HResult EndSink(HResult status) = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~ImageSink() = default;
};

class ImageEncoder {
 public:
  virtual HResult GetEncodeSink(ImageSink** sink) = 0;
  // Completes the file.
  virtual HResult TerminateEncoder() = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~ImageEncoder() = default;
};

class Image {
 public:
  // Draws the image scaled into `destination` on the context's bitmap, alpha blended;
  // `source` null means the whole image.
  virtual HResult Draw(DrawingContext* context, const Rect* destination, const Rect* source) = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~Image() = default;
};

class ImagingFactory {
 public:
  // `*encoders` is one block from std::malloc, freed by the caller with std::free.
  virtual HResult GetInstalledEncoders(std::uint32_t* count, EncoderDescription** encoders) = 0;
  virtual HResult CreateImageEncoderToFile(const Guid* encoderClass, const char16_t* path,
                                           ImageEncoder** encoder) = 0;
  virtual HResult CreateImageFromFile(const char16_t* path, Image** image) = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~ImagingFactory() = default;
};

// 0 when this call initialised the thread, S_FALSE when it was already initialised;
// every successful call must be balanced by CoUninitialize.
HResult CoInitializeEx(void* reserved, std::uint32_t flags);
void CoUninitialize();
// Initialisations not yet balanced on this thread (for tests).
int ComInitializationDepth();
// Only the imaging factory class is known.
HResult CoCreateInstance(const Guid& classId, void* outer, std::uint32_t context,
                         const Guid& interfaceId, void** object);

// The shell's bitmap-file loader: a bitmap with the file's pixels, or null when the
// file cannot be read or decoded (BMP, PNG, JPEG, GIF).
Bitmap* LoadBitmapFile(const char16_t* path);

}  // namespace orvendale::platform
