#include "imagefile/png_export.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>

#include "platform/drawing/graphics.h"
#include "platform/imaging/imaging.h"
#include "platform/system/text.h"

namespace orvendale {
namespace {

using platform::BitmapDescription;
using platform::DibDescription;
using platform::EncoderDescription;
using platform::ImageEncoder;
using platform::ImageInfoRecord;
using platform::ImageSink;
using platform::ImagingFactory;
using platform::PaletteRecord;
using platform::PixelBufferRecord;

constexpr std::uint32_t kKeyPixel = 0x00FF00FF;          // KeyColor as a surface pixel
constexpr std::uint32_t kTransparentWhite = 0x00FFFFFF;  // white, alpha 0
constexpr std::uint32_t kOpaqueAlpha = 0xFF000000;
constexpr char16_t kPngMimeType[] = u"image/png";

// Balances a successful CoInitializeEx when the export ends, whichever way it ends.
class ComInitialization {
 public:
  ComInitialization() : result_(platform::CoInitializeEx(nullptr, platform::kMultithreaded)) {}
  ComInitialization(const ComInitialization&) = delete;
  ComInitialization& operator=(const ComInitialization&) = delete;
  ~ComInitialization() {
    if (succeeded()) platform::CoUninitialize();
  }
  // Only "initialised now" (0) and "already initialised" (1) let the export go on.
  bool succeeded() const { return result_ == S_OK || result_ == platform::S_FALSE; }

 private:
  HResult result_;
};

// Releases one service object when its owner goes out of scope.
struct ReleaseObject {
  template <typename Object>
  void operator()(Object* object) const {
    object->Release();
  }
};
template <typename Object>
using ServicePointer = std::unique_ptr<Object, ReleaseObject>;

struct FreeBlock {
  void operator()(EncoderDescription* block) const { std::free(block); }
};

// The pixel format the imaging service knows for a bit count.
std::uint32_t PixelFormatFor(std::uint16_t bitsPerPixel) {
  switch (bitsPerPixel) {
    case 1: return platform::kPixelFormat1bppIndexed;
    case 4: return platform::kPixelFormat4bppIndexed;
    case 8: return platform::kPixelFormat8bppIndexed;
    case 16: return platform::kPixelFormat16bppRgb565;
    case 24: return platform::kPixelFormat24bppRgb;
    default: return platform::kPixelFormat32bppArgb;
  }
}

// The class of the first listed encoder whose MIME type is exactly "image/png".
bool FindPngEncoder(std::span<const EncoderDescription> encoders, platform::Guid* classId) {
  for (const EncoderDescription& encoder : encoders) {
    if (encoder.mimeType != nullptr && platform::WideEquals(encoder.mimeType, kPngMimeType)) {
      *classId = encoder.classId;
      return true;
    }
  }
  return false;
}

// Whether every pixel of a picture with alpha is opaque.
bool AllOpaque(std::span<const std::uint32_t> pixels) {
  for (const std::uint32_t pixel : pixels) {
    if (pixel < kOpaqueAlpha) return false;
  }
  return true;
}

// Every KeyColor pixel becomes transparent white; every other pixel keeps its colour and
// becomes opaque. Runs over the bitmap's own memory, in memory order.
void ApplyColorKey(std::span<std::uint32_t> pixels) {
  for (std::uint32_t& pixel : pixels) {
    pixel = pixel == kKeyPixel ? kTransparentWhite : (pixel | kOpaqueAlpha);
  }
}

}  // namespace

void SaveBitmapAsPng(platform::Bitmap* bitmap, const char16_t* outputPath) {
  // 1. Only a device-independent bitmap can be exported.
  DibDescription dib;
  if (!platform::GetDibDescription(bitmap, &dib)) return;
  const std::int32_t width = dib.header.width;
  const std::int32_t height = dib.header.height;
  if (width <= 0 || height <= 0 || dib.bitmap.bits == nullptr) return;

  // 2. COM for the length of the export. Declared first, so that it ends last: after
  // the service objects and the records below have gone.
  const ComInitialization com;
  if (!com.succeeded()) return;

  // The records, freed after every service object is released (their order of
  // declaration is the reverse of their release).
  std::unique_ptr<ImageInfoRecord> info;
  std::unique_ptr<PaletteRecord> palette;
  std::unique_ptr<PixelBufferRecord> pixelBuffer;

  // 3. The image factory.
  ServicePointer<ImagingFactory> factory;
  {
    void* made = nullptr;
    if (platform::CoCreateInstance(platform::kImagingFactoryClass, nullptr,
                                   platform::kInProcessServer, platform::kImagingFactoryInterface,
                                   &made) != S_OK) {
      return;
    }
    factory.reset(static_cast<ImagingFactory*>(made));
  }

  // 4-5. The PNG encoder's class from the installed list; without one, no file is made.
  platform::Guid encoderClass;
  {
    std::uint32_t count = 0;
    EncoderDescription* listed = nullptr;
    const HResult status = factory->GetInstalledEncoders(&count, &listed);
    const std::unique_ptr<EncoderDescription, FreeBlock> list(listed);
    if (status != S_OK || count == 0 || !list) return;
    if (!FindPngEncoder(std::span<const EncoderDescription>(list.get(), count), &encoderClass)) {
      return;
    }
  }

  // 6. The encoder for the output, and its sink. Released sink first, then encoder,
  // then factory: the reverse of their declaration.
  ServicePointer<ImageEncoder> encoder;
  {
    ImageEncoder* made = nullptr;
    if (factory->CreateImageEncoderToFile(&encoderClass, outputPath, &made) != S_OK) return;
    encoder.reset(made);
  }
  ServicePointer<ImageSink> sink;
  {
    ImageSink* made = nullptr;
    if (encoder->GetEncodeSink(&made) != S_OK) return;
    sink.reset(made);
  }

  // 7. The pixel format from the bitmap's bit count. A bitmap that carries its own alpha
  // takes no colour key; when every pixel of it is opaque (a picture with a background),
  // it goes to the encoder as RGB, which writes it with the fewest bits its colours need.
  BitmapDescription plain;
  if (!platform::GetBitmapDescription(bitmap, &plain)) return;
  const bool ownAlpha = plain.bitsPixel == 32 && dib.header.compression == platform::kAlphaBitFields;
  const std::size_t pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  std::uint32_t pixelFormat = PixelFormatFor(plain.bitsPixel);
  if (ownAlpha && AllOpaque(std::span<const std::uint32_t>(static_cast<const std::uint32_t*>(dib.bitmap.bits),
                                                           pixelCount))) {
    pixelFormat = platform::kPixelFormat32bppRgb;
  }
  const bool argb = pixelFormat == platform::kPixelFormat32bppArgb;

  // 8. Begin the sink with the whole picture.
  info.reset(new (std::nothrow) ImageInfoRecord{});
  if (!info) return;
  info->rawDataFormat = platform::kImageFormatMemoryBitmap;
  info->pixelFormat = pixelFormat;
  info->width = static_cast<std::uint32_t>(width);
  info->height = static_cast<std::uint32_t>(height);
  info->flags = platform::kImageFlagBottomUp | platform::kImageFlagFullWidth |
                (argb ? platform::kImageFlagHasAlpha : 0);
  if (sink->BeginSink(info.get(), nullptr) != S_OK) return;

  // 9. The palette: empty, and marked as carrying alpha for ARGB.
  palette.reset(new (std::nothrow) PaletteRecord{});
  if (!palette) return;
  palette->flags = argb ? platform::kPaletteHasAlpha : 0;
  palette->count = 0;
  if (sink->SetPalette(palette.get()) != S_OK) return;

  // 10. The pixels, top row first: the top row is the last one in memory, and the
  // negative stride walks back from it. A row is padded to whole 32-bit words.
  const std::int64_t rowBytes =
      (std::int64_t{width} * plain.bitsPixel + 31) / 32 * 4;  // at most 2^31 * 32 / 8
  if (rowBytes > INT32_MAX) return;
  pixelBuffer.reset(new (std::nothrow) PixelBufferRecord{});
  if (!pixelBuffer) return;
  pixelBuffer->width = static_cast<std::uint32_t>(width);
  pixelBuffer->height = static_cast<std::uint32_t>(height);
  pixelBuffer->stride = -static_cast<std::int32_t>(rowBytes);
  pixelBuffer->pixelFormat = pixelFormat;
  pixelBuffer->firstRow = static_cast<unsigned char*>(plain.bits) +
                          static_cast<std::size_t>(height - 1) *
                              static_cast<std::size_t>(plain.widthBytes);

  // 11. The colour key, in place. It reads 32-bit words, so only 32-bit pixel memory
  // takes it; the surfaces of this system are always 32 bits. Pixels with their own alpha
  // keep it.
  if (plain.bitsPixel == 32 && !ownAlpha) {
    ApplyColorKey(std::span<std::uint32_t>(static_cast<std::uint32_t*>(dib.bitmap.bits),
                                           pixelCount));
  }

  // 12-13. The whole picture in one push, then the end of the sink.
  const Rect whole{0, 0, width, height};
  if (sink->PushPixelData(&whole, pixelBuffer.get(), true) != S_OK) return;
  if (sink->EndSink(S_OK) != S_OK) return;

  // 14-16. Sink released, file completed, encoder and factory released.
  sink.reset();
  if (encoder->TerminateEncoder() != S_OK) return;
  encoder.reset();
  factory.reset();
  // 17. The records, then COM, go as their owners leave scope.
}

}  // namespace orvendale
