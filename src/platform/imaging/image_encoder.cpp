// The file encoders of the imaging service: a sink that takes one 32-bit ARGB picture
// (or an opaque RGB one), written as PNG (libpng: 8-bit RGBA, or for an opaque picture the
// fewest bits its colours need) or BMP (32-bit with an alpha mask) to an OutputFile, which
// replaces the output only on termination.

#include <png.h>
#include <zlib.h>

#include <array>
#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "platform/fault_injection.h"
#include "platform/drawing/graphics.h"
#include "platform/imaging/imaging.h"
#include "platform/imaging/imaging_internal.h"
#include "platform/imaging/png_reduction.h"
#include "platform/system/output_file.h"

namespace orvendale::platform {
namespace {

constexpr std::size_t kBytesPerPixel = 4;

// ---------------------------------------------------------------------------------------
// The picture as pushed: row y (0 at the top) starts at firstRow + y * stride.

struct PixelSource {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  const unsigned char* firstRow = nullptr;
  std::ptrdiff_t stride = 0;

  const unsigned char* Row(std::uint32_t y) const {
    return firstRow + static_cast<std::ptrdiff_t>(y) * stride;
  }
};

// A pixel word 0xAARRGGBB lies in memory as B, G, R, A.
constexpr std::size_t kBlue = 0;
constexpr std::size_t kGreen = 1;
constexpr std::size_t kRed = 2;
constexpr std::size_t kAlpha = 3;

// ---------------------------------------------------------------------------------------
// PNG through libpng.

// libpng frames the file (signature, header, chunk lengths and checksums); the image data
// is deflated here, because libpng offers zlib's levels but not the tuning of its search,
// and no level fits these pictures. Their rows are mostly transparent: at the strongest
// level zlib walks hash chains thousands of positions long through the zero runs, and a
// 168 x 140 month grid took 3 ms to compress, most of a run. A lazy search limited to 384
// positions per chain costs a third of that, and over month grids, headings and dates in
// both fonts the result stays within 5% of the strongest level (which, for the examples,
// is what `optipng -o7` makes at 8-bit RGBA). Row filters only made these pictures larger:
// every row is stored unfiltered.
constexpr int kDeflateLevel = Z_BEST_COMPRESSION;  // a lazy search, tuned below
constexpr int kDeflateGoodLength = 4;
constexpr int kDeflateMaxLazy = 16;
constexpr int kDeflateNiceLength = 258;
constexpr int kDeflateMaxChain = 384;
constexpr int kDeflateWindowBits = 15;
constexpr int kDeflateMemoryLevel = 8;
constexpr unsigned char kFilterNone = 0;
constexpr std::size_t kIdatBytes = 8192;  // image data per chunk, as libpng writes it
constexpr std::size_t kFileBufferBytes = 16384;

// zlib's compression stream, ended on every way out.
class Deflater {
 public:
  Deflater() {
    ready_ = deflateInit2(&stream_, kDeflateLevel, Z_DEFLATED, kDeflateWindowBits,
                          kDeflateMemoryLevel, Z_DEFAULT_STRATEGY) == Z_OK &&
             deflateTune(&stream_, kDeflateGoodLength, kDeflateMaxLazy, kDeflateNiceLength,
                         kDeflateMaxChain) == Z_OK;
  }
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;
  ~Deflater() { deflateEnd(&stream_); }

  bool ok() const { return ready_; }
  z_stream* stream() { return &stream_; }

 private:
  z_stream stream_{};
  bool ready_ = false;
};

// The file's bytes, gathered so that the small pieces libpng writes cost one system call
// together.
struct FileBuffer {
  OutputFile* file = nullptr;
  std::size_t used = 0;
  unsigned char bytes[kFileBufferBytes];

  bool Put(const unsigned char* data, std::size_t size) {
    if (size > kFileBufferBytes - used) {
      if (!Flush()) return false;
      if (size >= kFileBufferBytes) return file->Write(data, size);
    }
    std::memcpy(bytes + used, data, size);
    used += size;
    return true;
  }

  bool Flush() {
    const bool written = file->Write(bytes, used);
    used = 0;
    return written;
  }
};

struct PngJob {
  FileBuffer* out = nullptr;
  const PixelSource* source = nullptr;
  // Null for 8-bit RGBA; else the opaque picture's colour type and depth.
  const PngReduction* reduction = nullptr;
  std::size_t rowBytes = 0;  // one row's samples, without the filter byte
  z_stream* deflater = nullptr;
  png_bytep row = nullptr;   // the filter byte and rowBytes bytes
  png_bytep idat = nullptr;  // kIdatBytes
};

OpaqueRows RowsOf(const PixelSource& source) {
  return OpaqueRows{source.width, source.height, source.firstRow, source.stride};
}

void WritePngData(png_structp png, png_bytep data, png_size_t length) {
  auto* job = static_cast<PngJob*>(png_get_io_ptr(png));
  if (!job->out->Put(data, length)) png_error(png, "write failed");
}

void FlushPngData(png_structp) {}

// libpng reports an error by calling this, which must not return: jump back to the
// setjmp in EncodePng. Nothing is printed.
[[noreturn]] void OnPngError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void OnPngWarning(png_structp, png_const_charp) {}

// Deflates the rows into IDAT chunks of kIdatBytes, the last one shorter.
void WriteImageData(png_structp png, const PngJob* job) {
  const PixelSource& source = *job->source;
  z_stream& stream = *job->deflater;
  const auto* idatName = reinterpret_cast<png_const_bytep>("IDAT");
  stream.next_out = job->idat;
  stream.avail_out = kIdatBytes;
  job->row[0] = kFilterNone;
  for (std::uint32_t y = 0; y < source.height; ++y) {
    if (job->reduction != nullptr) {
      job->reduction->PackRow(RowsOf(source), y, job->row + 1);
    } else {
      const unsigned char* in = source.Row(y);
      png_bytep out = job->row + 1;
      for (std::uint32_t x = 0; x < source.width; ++x, in += kBytesPerPixel, out += 4) {
        out[0] = in[kRed];
        out[1] = in[kGreen];
        out[2] = in[kBlue];
        out[3] = in[kAlpha];
      }
    }
    const bool last = y + 1 == source.height;
    stream.next_in = job->row;
    stream.avail_in = static_cast<uInt>(1 + job->rowBytes);
    // Until zlib has taken the row (and, after the last, given out all it holds).
    for (bool done = false; !done;) {
      const int status = deflate(&stream, last ? Z_FINISH : Z_NO_FLUSH);
      if (status == Z_STREAM_ERROR) png_error(png, "deflate failed");
      done = last ? status == Z_STREAM_END : stream.avail_in == 0;
      if (stream.avail_out == 0) {
        png_write_chunk(png, idatName, job->idat, kIdatBytes);
        stream.next_out = job->idat;
        stream.avail_out = kIdatBytes;
      }
    }
  }
  if (stream.avail_out < kIdatBytes) {
    png_write_chunk(png, idatName, job->idat, kIdatBytes - stream.avail_out);
  }
}

// The only function holding libpng's setjmp: every local here is trivially destructible,
// so the longjmp of an error skips no destructor. True when the whole image was written.
bool EncodePng(png_structp png, png_infop info, const PngJob* job) {
  if (setjmp(png_jmpbuf(png)) != 0) return false;
  const PixelSource& source = *job->source;
  png_set_write_fn(png, const_cast<PngJob*>(job), WritePngData, FlushPngData);
  int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
  int bitDepth = 8;
  if (job->reduction != nullptr) {
    bitDepth = job->reduction->bitDepth();
    switch (job->reduction->kind()) {
      case ReducedKind::kGrey: colorType = PNG_COLOR_TYPE_GRAY; break;
      case ReducedKind::kPalette: colorType = PNG_COLOR_TYPE_PALETTE; break;
      case ReducedKind::kRgb: colorType = PNG_COLOR_TYPE_RGB; break;
    }
  }
  png_set_IHDR(png, info, source.width, source.height, bitDepth, colorType, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (colorType == PNG_COLOR_TYPE_PALETTE) {
    // At most 256 entries, as Choose made sure.
    png_color entries[256];
    const std::vector<std::uint32_t>& palette = job->reduction->palette();
    for (std::size_t i = 0; i < palette.size(); ++i) {
      entries[i] = png_color{static_cast<png_byte>(palette[i] >> 16), static_cast<png_byte>(palette[i] >> 8),
                             static_cast<png_byte>(palette[i])};
    }
    png_set_PLTE(png, info, entries, static_cast<int>(palette.size()));
  }
  png_write_info(png, info);
  WriteImageData(png, job);
  png_write_chunk(png, reinterpret_cast<png_const_bytep>("IEND"), nullptr, 0);
  return true;
}

// Owns libpng's write structures.
class PngWriter {
 public:
  PngWriter() {
    png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (png_ != nullptr) info_ = png_create_info_struct(png_);
  }
  PngWriter(const PngWriter&) = delete;
  PngWriter& operator=(const PngWriter&) = delete;
  ~PngWriter() { png_destroy_write_struct(&png_, &info_); }

  bool ok() const { return png_ != nullptr && info_ != nullptr; }
  png_structp png() const { return png_; }
  png_infop info() const { return info_; }

 private:
  png_structp png_ = nullptr;
  png_infop info_ = nullptr;
};

// `opaque`: the picture's top bytes are ignored and it is written with the fewest bits.
bool WritePng(OutputFile* file, const PixelSource& source, bool opaque) {
  PngWriter writer;
  Deflater deflater;
  if (!writer.ok() || !deflater.ok()) return false;
  PngReduction reduction;
  if (opaque) reduction = PngReduction::Choose(RowsOf(source));
  const std::size_t rowBytes = opaque ? reduction.RowBytes(source.width) : std::size_t{source.width} * 4;
  std::unique_ptr<png_byte[]> row(new (std::nothrow) png_byte[1 + rowBytes]);
  std::unique_ptr<png_byte[]> idat(new (std::nothrow) png_byte[kIdatBytes]);
  std::unique_ptr<FileBuffer> out(new (std::nothrow) FileBuffer);
  if (!row || !idat || !out) return false;
  out->file = file;
  const PngJob job{out.get(), &source, opaque ? &reduction : nullptr, rowBytes, deflater.stream(),
                   row.get(), idat.get()};
  return EncodePng(writer.png(), writer.info(), &job) && out->Flush();
}

// ---------------------------------------------------------------------------------------
// BMP: a file header and a version-4 information header with bit masks, so that readers
// find the alpha channel; rows bottom-up as the format wants.

constexpr std::uint32_t kBmpFileHeaderBytes = 14;
constexpr std::uint32_t kBmpInfoHeaderBytes = 108;
constexpr std::uint32_t kBmpBitFields = 3;
constexpr std::uint32_t kBmpColorSpaceSrgb = 0x73524742;  // "sRGB"
constexpr std::int32_t kBmpPixelsPerMetre = 3780;

class LittleEndianWriter {
 public:
  explicit LittleEndianWriter(unsigned char* out) : out_(out) {}
  void Put16(std::uint32_t value) { PutBytes(value, 2); }
  void Put32(std::uint32_t value) { PutBytes(value, 4); }
  void Skip(std::size_t bytes) {
    std::memset(out_, 0, bytes);
    out_ += bytes;
  }

 private:
  void PutBytes(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) *out_++ = static_cast<unsigned char>(value >> (8 * i));
  }
  unsigned char* out_;
};

// `opaque`: every pixel is written with alpha 255, whatever its top byte.
bool WriteBmp(OutputFile* file, const PixelSource& source, bool opaque) {
  // BeginSink limits the pixel data to kMaxBitmapBytes, so every size fits 32 bits.
  const std::uint32_t rowBytes = source.width * 4;
  const std::uint32_t imageBytes = rowBytes * source.height;
  std::array<unsigned char, kBmpFileHeaderBytes + kBmpInfoHeaderBytes> header;
  LittleEndianWriter out(header.data());
  out.Put16('B' | 'M' << 8);
  out.Put32(static_cast<std::uint32_t>(header.size()) + imageBytes);
  out.Put32(0);  // reserved
  out.Put32(static_cast<std::uint32_t>(header.size()));
  out.Put32(kBmpInfoHeaderBytes);
  out.Put32(source.width);
  out.Put32(source.height);  // positive: bottom-up
  out.Put16(1);              // planes
  out.Put16(32);
  out.Put32(kBmpBitFields);
  out.Put32(imageBytes);
  out.Put32(kBmpPixelsPerMetre);
  out.Put32(kBmpPixelsPerMetre);
  out.Put32(0);  // colours used
  out.Put32(0);  // important colours
  out.Put32(0x00FF0000);  // red mask
  out.Put32(0x0000FF00);  // green mask
  out.Put32(0x000000FF);  // blue mask
  out.Put32(0xFF000000);  // alpha mask
  out.Put32(kBmpColorSpaceSrgb);
  out.Skip(36 + 12);  // end points and gamma, unused with sRGB
  if (!file->Write(header.data(), header.size())) return false;
  // The pixel words already have the file's byte order.
  std::unique_ptr<std::uint32_t[]> opaqueRow;
  if (opaque) {
    opaqueRow.reset(new (std::nothrow) std::uint32_t[source.width]);
    if (!opaqueRow) return false;
  }
  for (std::uint32_t row = source.height; row > 0; --row) {
    const unsigned char* pixels = source.Row(row - 1);
    if (opaque) {
      std::memcpy(opaqueRow.get(), pixels, rowBytes);
      for (std::uint32_t x = 0; x < source.width; ++x) opaqueRow[x] |= 0xFF000000u;
      pixels = reinterpret_cast<const unsigned char*>(opaqueRow.get());
    }
    if (!file->Write(pixels, rowBytes)) return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// The encoder and its sink: one object with one reference count, so that the sink can
// never outlive the file it writes.

enum class Format : std::uint8_t { kPng, kBmp };

enum class Stage : std::uint8_t {
  kCreated,     // waiting for BeginSink
  kBegun,       // waiting for the palette or the pixels
  kPushed,      // the picture is written; waiting for EndSink
  kEnded,       // waiting for TerminateEncoder
  kTerminated,  // the output is replaced
  kFailed,      // abandoned: termination fails and the temporary file goes on release
};

class FileEncoder final : public ImageEncoder, public ImageSink {
 public:
  explicit FileEncoder(Format format) : format_(format) {}

  bool Open(const char16_t* path) { return output_.Open(path); }

  HResult GetEncodeSink(ImageSink** sink) override {
    if (sink == nullptr) return E_POINTER;
    *sink = nullptr;
    if (ShouldFail(FaultPoint::kGetEncodeSink)) return E_FAIL;
    ++references_;
    *sink = this;
    return S_OK;
  }

  HResult BeginSink(ImageInfoRecord* info, Rect* subarea) override {
    if (ShouldFail(FaultPoint::kBeginSink)) return Fail(E_FAIL);
    if (stage_ != Stage::kCreated) return Fail(E_FAIL);
    if (info == nullptr) return Fail(E_INVALIDARG);
    if (info->rawDataFormat != kImageFormatMemoryBitmap ||
        (info->pixelFormat != kPixelFormat32bppArgb && info->pixelFormat != kPixelFormat32bppRgb) ||
        info->width == 0 || info->height == 0) {
      return Fail(E_INVALIDARG);
    }
    // Checked before any row is touched: width x height x 4 within the bitmap limit.
    if (std::uint64_t{info->width} * info->height > kMaxBitmapBytes / kBytesPerPixel) {
      return Fail(E_OUTOFMEMORY);
    }
    if (subarea != nullptr &&
        (subarea->left != 0 || subarea->top != 0 ||
         static_cast<std::int64_t>(subarea->right) != info->width ||
         static_cast<std::int64_t>(subarea->bottom) != info->height)) {
      return Fail(E_INVALIDARG);
    }
    width_ = info->width;
    height_ = info->height;
    pixelFormat_ = info->pixelFormat;
    stage_ = Stage::kBegun;
    return S_OK;
  }

  HResult SetPalette(const PaletteRecord* palette) override {
    if (ShouldFail(FaultPoint::kSetPalette)) return Fail(E_FAIL);
    if (stage_ != Stage::kBegun) return Fail(E_FAIL);
    if (palette == nullptr) return Fail(E_INVALIDARG);
    return S_OK;
  }

  HResult PushPixelData(const Rect* rect, const PixelBufferRecord* pixels, bool) override {
    if (ShouldFail(FaultPoint::kPushPixelData)) return Fail(E_FAIL);
    if (stage_ != Stage::kBegun) return Fail(E_FAIL);
    if (rect == nullptr || pixels == nullptr || pixels->firstRow == nullptr) {
      return Fail(E_INVALIDARG);
    }
    const bool wholePicture = rect->left == 0 && rect->top == 0 &&
                              static_cast<std::int64_t>(rect->right) == width_ &&
                              static_cast<std::int64_t>(rect->bottom) == height_;
    // The stride's sign only says which way the rows run; its size must hold a row.
    const std::int64_t strideBytes = pixels->stride;
    const std::int64_t rowBytes = std::int64_t{width_} * kBytesPerPixel;
    if (!wholePicture || pixels->width != width_ || pixels->height != height_ ||
        pixels->pixelFormat != pixelFormat_ ||
        (strideBytes < rowBytes && -strideBytes < rowBytes)) {
      return Fail(E_INVALIDARG);
    }
    const PixelSource source{width_, height_, static_cast<const unsigned char*>(pixels->firstRow),
                             static_cast<std::ptrdiff_t>(pixels->stride)};
    const bool opaque = pixelFormat_ == kPixelFormat32bppRgb;
    const bool written = format_ == Format::kPng ? WritePng(&output_, source, opaque)
                                                 : WriteBmp(&output_, source, opaque);
    if (!written) return Fail(E_FAIL);
    stage_ = Stage::kPushed;
    return S_OK;
  }

  HResult EndSink(HResult status) override {
    if (ShouldFail(FaultPoint::kEndSink)) return Fail(E_FAIL);
    if (stage_ != Stage::kPushed) return Fail(E_FAIL);
    if (status != S_OK) {
      stage_ = Stage::kFailed;  // the caller gave up on the picture: nothing to report
      return S_OK;
    }
    stage_ = Stage::kEnded;
    return S_OK;
  }

  HResult TerminateEncoder() override {
    if (ShouldFail(FaultPoint::kTerminateEncoder)) return Fail(E_FAIL);
    if (stage_ != Stage::kEnded) return Fail(E_FAIL);
    if (!output_.Commit()) return Fail(E_FAIL);
    stage_ = Stage::kTerminated;
    return S_OK;
  }

  std::uint32_t Release() override {
    const std::uint32_t remaining = --references_;
    if (remaining == 0) delete this;
    return remaining;
  }

 private:
  HResult Fail(HResult status) {
    if (stage_ != Stage::kTerminated) stage_ = Stage::kFailed;
    return status;
  }

  const Format format_;
  std::uint32_t references_ = 1;
  Stage stage_ = Stage::kCreated;
  std::uint32_t width_ = 0;
  std::uint32_t height_ = 0;
  std::uint32_t pixelFormat_ = kPixelFormat32bppArgb;
  OutputFile output_;  // a temporary file is removed with the object unless committed
};

}  // namespace

HResult CreateFileEncoder(const Guid& encoderClass, const char16_t* path, ImageEncoder** encoder) {
  *encoder = nullptr;
  Format format;
  if (encoderClass == kPngEncoderClass) {
    format = Format::kPng;
  } else if (encoderClass == kBmpEncoderClass) {
    format = Format::kBmp;
  } else {
    return REGDB_E_CLASSNOTREG;
  }
  std::unique_ptr<FileEncoder> made(new (std::nothrow) FileEncoder(format));
  if (!made) return E_OUTOFMEMORY;
  if (!made->Open(path)) return E_FAIL;
  *encoder = made.release();
  return S_OK;
}

}  // namespace orvendale::platform
