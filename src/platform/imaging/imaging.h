#pragma once
// The imaging service of this host, shaped as the platform's COM service: counted COM
// initialisation, an image factory with an encoder list, a PNG encoder (libpng) whose
// sink takes the picture in one push, and image objects decoded from files (stb_image)
// that draw themselves into a drawing context. Every operation returns an HResult;
// each object is released with Release().

#include <cstdint>

#include "platform/drawing/graphics.h"
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

// The encoders the factory lists. Each writes a whole picture to one file.
inline constexpr Guid kPngEncoderClass{
    0x4F52B001, 0x6D0A, 0x4E1C, {0x9A, 0x31, 0x50, 0x4E, 0x47, 0x45, 0x4E, 0x43}};
inline constexpr Guid kBmpEncoderClass{
    0x4F52B002, 0x6D0A, 0x4E1C, {0x9A, 0x31, 0x42, 0x4D, 0x50, 0x45, 0x4E, 0x43}};

inline constexpr std::uint32_t kInProcessServer = 1;
inline constexpr std::uint32_t kMultithreaded = 0;
inline constexpr std::uint32_t kApartmentThreaded = 2;

// Results besides S_OK and E_FAIL.
// CoInitializeEx's result when the thread was already initialised.
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_NOINTERFACE = static_cast<HResult>(0x80004002u);
inline constexpr HResult E_POINTER = static_cast<HResult>(0x80004003u);
inline constexpr HResult E_OUTOFMEMORY = static_cast<HResult>(0x8007000Eu);
inline constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057u);
inline constexpr HResult CLASS_E_NOAGGREGATION = static_cast<HResult>(0x80040110u);
inline constexpr HResult REGDB_E_CLASSNOTREG = static_cast<HResult>(0x80040154u);
inline constexpr HResult CO_E_NOTINITIALIZED = static_cast<HResult>(0x800401F0u);
// CoInitializeEx asked for a threading model other than the one the thread has.
inline constexpr HResult RPC_E_CHANGED_MODE = static_cast<HResult>(0x80010106u);

// Pixel formats: bits 8-15 bits per pixel; 0x10000 indexed, 0x20000 native to the
// graphics interface, 0x40000 alpha.
inline constexpr std::uint32_t kPixelFormat1bppIndexed = 0x30101;
inline constexpr std::uint32_t kPixelFormat4bppIndexed = 0x30402;
inline constexpr std::uint32_t kPixelFormat8bppIndexed = 0x30803;
inline constexpr std::uint32_t kPixelFormat16bppRgb565 = 0x21006;
inline constexpr std::uint32_t kPixelFormat24bppRgb = 0x21808;
inline constexpr std::uint32_t kPixelFormat32bppArgb = 0x26200A;
// 32 bits a pixel whose top byte is ignored: every pixel is opaque.
inline constexpr std::uint32_t kPixelFormat32bppRgb = 0x22009;

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

// Takes one picture, in this order: BeginSink, optionally SetPalette, one PushPixelData
// of the whole picture, EndSink. Every call out of order fails with E_FAIL.
class ImageSink {
 public:
  // `subarea` null (or the whole picture) means the whole picture; a smaller area is
  // refused. Only kPixelFormat32bppArgb or kPixelFormat32bppRgb with
  // kImageFormatMemoryBitmap as the raw data format is accepted, width and height at least
  // 1 and at most kMaxBitmapBytes of pixels. An ARGB picture is written with its alpha, as
  // 8-bit RGBA; an RGB picture is opaque and written as small as its colours allow: grey
  // or palette of the fewest bits that hold them (1, 2, 4 or 8), else 8-bit RGB.
  virtual HResult BeginSink(ImageInfoRecord* info, Rect* subarea) = 0;
  // Accepted after BeginSink; a 32-bit ARGB picture needs no palette entries.
  virtual HResult SetPalette(const PaletteRecord* palette) = 0;
  // `rect` must be (0, 0, width, height) and `pixels` must describe the same picture in
  // the same pixel format: row y of the picture (0 at the top) starts at firstRow + y *
  // stride bytes, whatever the stride's sign, and each pixel is one 0xAARRGGBB word
  // (0x??RRGGBB for RGB, the top byte ignored).
  // The picture is encoded during this call.
  virtual HResult PushPixelData(const Rect* rect, const PixelBufferRecord* pixels,
                                bool lastPass) = 0;
  // A status other than 0 abandons the picture: terminating the encoder then fails.
  virtual HResult EndSink(HResult status) = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~ImageSink() = default;
};

// Writes to a temporary file beside the output; the output is replaced only when
// TerminateEncoder completes a fully pushed and ended picture. On every other way out,
// including a release without termination, the temporary file is removed and an existing
// output stays exactly as it was. The sink shares the encoder's lifetime: each holds a
// reference, and the object goes when both are released.
class ImageEncoder {
 public:
  virtual HResult GetEncodeSink(ImageSink** sink) = 0;
  // Completes the file: replaces the output with the encoded picture. E_FAIL when the
  // picture was not fully pushed and ended with status 0, or the file could not be
  // completed; the output then stays as it was.
  virtual HResult TerminateEncoder() = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~ImageEncoder() = default;
};

class Image {
 public:
  // Draws the image (or its part `source`, null meaning the whole image) scaled into
  // `destination` on the context's selected bitmap by nearest neighbour (an image drawn at
  // a whole multiple of its size repeats each pixel exactly), blended over what is there
  // by the image's alpha and clipped to the bitmap. On a bitmap with alpha the image is
  // composited over it; otherwise drawn pixels keep a top byte of 0, and over KeyColor a
  // pixel is drawn whole from half opaque and left out below. E_INVALIDARG for a null argument; S_OK also when nothing is visible.
  virtual HResult Draw(DrawingContext* context, const Rect* destination, const Rect* source) = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~Image() = default;
};

class ImagingFactory {
 public:
  // `*encoders` is one block from std::malloc holding the descriptions and their texts,
  // freed by the caller with std::free. The PNG encoder ("image/png") and a BMP encoder
  // ("image/bmp") are installed.
  virtual HResult GetInstalledEncoders(std::uint32_t* count, EncoderDescription** encoders) = 0;
  // An encoder writing to the platform path `path`. Fails (nothing created) when the
  // class is not installed, the path is empty or names a folder, or the temporary file
  // cannot be made in the output's folder (missing, not writable).
  virtual HResult CreateImageEncoderToFile(const Guid* encoderClass, const char16_t* path,
                                           ImageEncoder** encoder) = 0;
  // An image decoded from a BMP, PNG, JPEG or GIF file (first frame). Fails for any other
  // format, a file that is not a regular file, a truncated or corrupt file, and a file
  // that declares more than kMaxImagePixels, which is refused before decoding.
  virtual HResult CreateImageFromFile(const char16_t* path, Image** image) = 0;
  virtual std::uint32_t Release() = 0;

 protected:
  ~ImagingFactory() = default;
};

// 0 when this call initialised the thread, S_FALSE when it was already initialised with
// the same threading model (kMultithreaded or kApartmentThreaded); every such call must be
// balanced by one CoUninitialize. RPC_E_CHANGED_MODE when the thread has the other model
// and E_INVALIDARG for a reserved pointer or unknown flags: neither counts, and neither
// may be balanced. Counted per thread.
HResult CoInitializeEx(void* reserved, std::uint32_t flags);
// Balances one successful CoInitializeEx; does nothing on an uninitialised thread.
void CoUninitialize();
// Initialisations not yet balanced on this thread (for tests).
int ComInitializationDepth();
// Only the imaging factory class is known, served in process (kInProcessServer), with
// the imaging factory interface, and only on an initialised thread.
HResult CoCreateInstance(const Guid& classId, void* outer, std::uint32_t context,
                         const Guid& interfaceId, void** object);

// The most pixels an image file may declare (a GIF: its whole canvas) to be decoded:
// 4 megapixels, 2048 x 2048. An image is drawn on one cell of a picture; a larger one
// would only cost seconds and hundreds of megabytes to decode (a run decodes a today
// image twice, once for its size; a GIF of 15 megapixels took 1.3 s).
inline constexpr std::uint32_t kMaxImagePixelsSide = 2048;
inline constexpr std::uint64_t kMaxImagePixels = std::uint64_t{kMaxImagePixelsSide} * kMaxImagePixelsSide;

// The shell's bitmap-file loader: a bitmap with the file's pixels (top byte 0, alpha
// dropped), or null when the file cannot be read or decoded; the formats and limits are
// those of CreateImageFromFile. Delete it with DeleteBitmap.
Bitmap* LoadBitmapFile(const char16_t* path);

// The width and height that the headers of the image file at `path` declare, read
// without decoding it (a GIF's canvas, a BMP's rows whichever way they run). False, and
// both left alone, when the file is no image of the four formats or cannot be read.
bool ReadImageFileSize(const char16_t* path, std::int32_t* width, std::int32_t* height);

// Test seam: leaves the encoder of `encoderClass` out of the installed list (and makes it
// uncreatable) while `installed` is false. Every encoder is installed at start.
void SetEncoderInstalled(const Guid& encoderClass, bool installed);

}  // namespace orvendale::platform
