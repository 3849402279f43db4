// Checks made on an image file's headers before the decoder reads it.

#include "platform/imaging/image_prescan.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>

namespace orvendale::platform {
namespace {

// Reads a file of `size` bytes from its start, through a buffer.
class ByteReader {
 public:
  ByteReader(int file, std::uint64_t size) : file_(file), size_(size) {}

  // The next byte, or -1 at the end of the file or on an error.
  int Next() {
    if (position_ == filled_) {
      if (bufferStart_ + filled_ >= size_) return -1;
      bufferStart_ += filled_;
      filled_ = position_ = 0;
      ssize_t got;
      do {
        got = ::pread(file_, buffer_.data(), buffer_.size(), static_cast<off_t>(bufferStart_));
      } while (got < 0 && errno == EINTR);
      if (got <= 0) return -1;
      filled_ = static_cast<std::size_t>(got);
    }
    return buffer_[position_++];
  }

  // The next two bytes as a big-endian number, or -1.
  int Next16() {
    const int high = Next();
    const int low = Next();
    return high < 0 || low < 0 ? -1 : high << 8 | low;
  }

  // The next `count` bytes (at most 4) as a little-endian number; false when the file
  // ends first.
  bool NextLittleEndian(int count, std::uint32_t& value) {
    value = 0;
    for (int i = 0; i < count; ++i) {
      const int byte = Next();
      if (byte < 0) return false;
      value |= static_cast<std::uint32_t>(byte) << (8 * i);
    }
    return true;
  }

  // Passes over `count` bytes (none when `count` is not positive); false when the file
  // ends before all of them.
  bool Skip(int count) {
    if (count <= 0) return true;
    const std::uint64_t target = bufferStart_ + position_ + static_cast<std::uint64_t>(count);
    if (target > size_) return false;
    if (target <= bufferStart_ + filled_) {
      position_ += static_cast<std::size_t>(count);
    } else {
      bufferStart_ = target;
      filled_ = position_ = 0;
    }
    return true;
  }

 private:
  int file_;
  std::uint64_t size_;
  std::uint64_t bufferStart_ = 0;  // the file offset of buffer_[0]
  std::array<unsigned char, 4096> buffer_;
  std::size_t filled_ = 0;
  std::size_t position_ = 0;
};

constexpr int kJpegMarkerPrefix = 0xFF;
constexpr int kJpegStartOfImage = 0xD8;
constexpr int kJpegEndOfImage = 0xD9;
constexpr int kJpegHuffmanTables = 0xC4;
constexpr int kJpegHuffmanCodeCapacity = 256;
// Every 8 x 8 block of the first component has a coded DC value, one bit at the least.
constexpr std::uint64_t kJpegMostPixelsPerByte = 8 * 64;

// The frame headers the decoder reads: baseline, extended and progressive Huffman coding.
bool IsDecodedJpegFrame(int marker) { return marker >= 0xC0 && marker <= 0xC2; }

bool IsStandaloneJpegMarker(int marker) {
  return marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

}  // namespace

// Two kinds of JPEG are refused before they reach the decoder:
// - The decoder fills fixed tables of 256 Huffman codes from each table's sixteen code
//   counts without checking their sum, and writes past the tables when the sum is larger.
// - The decoder makes up zeros for compressed data that ends early (at a marker) and
//   decodes every block of the frame from them: a 141-byte file declaring 65 million
//   pixels cost a second and half a gigabyte. A file too small to hold a bit for each
//   block of its frame cannot hold the picture.
// The walk finds markers the way the decoder does (stray bytes and fill bytes 0xFF
// skipped) and runs on through the compressed scans, whose stuffed bytes and restart
// markers stand alone, to the tables that may follow them; at worst it checks more than
// the decoder reads. True for files that are not JPEG.
bool JpegHeadersFit(int file, std::uint64_t fileBytes) {
  ByteReader reader(file, fileBytes);
  // The decoder takes a file for JPEG when its first marker, fill bytes 0xFF and all, is
  // the start of an image.
  if (reader.Next() != kJpegMarkerPrefix) return true;
  int first = reader.Next();
  while (first == kJpegMarkerPrefix) first = reader.Next();
  if (first != kJpegStartOfImage) return true;
  for (;;) {
    int byte = reader.Next();
    if (byte < 0) return true;
    if (byte != kJpegMarkerPrefix) continue;
    int marker = reader.Next();
    while (marker == kJpegMarkerPrefix) marker = reader.Next();
    if (marker < 0 || marker == kJpegEndOfImage) return true;
    if (IsStandaloneJpegMarker(marker)) continue;  // also stuffed bytes and restarts in a scan
    int length = reader.Next16();
    if (length < 2) return true;
    length -= 2;
    if (marker == kJpegHuffmanTables) {
      while (length > 0) {
        // The decoder reads zeros past the end of the file, so counts cut short still
        // add up: check what is there.
        reader.Next();  // table class and number
        int codes = 0;
        for (int i = 0; i < 16; ++i) codes += std::max(reader.Next(), 0);
        if (codes > kJpegHuffmanCodeCapacity) return false;
        if (!reader.Skip(codes)) return true;
        length -= 17 + codes;
      }
    } else if (IsDecodedJpegFrame(marker)) {
      reader.Next();  // sample precision
      const int height = reader.Next16();
      const int width = reader.Next16();
      if (height < 0 || width < 0) return true;
      if (std::uint64_t{static_cast<unsigned>(height)} * static_cast<unsigned>(width) >
          kJpegMostPixelsPerByte * fileBytes) {
        return false;
      }
      if (!reader.Skip(length - 5)) return true;
    } else if (!reader.Skip(length)) {
      return true;
    }
  }
}

namespace {

constexpr int kBmpFileHeaderBytes = 14;
constexpr int kBmpCoreHeaderBytes = 12;  // the oldest form, with 16-bit sides

}  // namespace

// The BMP decoder reads every row of the picture byte by byte, after the headers, and
// makes up zeros for rows the file does not hold; such a file is refused afterwards as
// truncated. A tiny file claiming millions of rows would first cost a picture-sized
// block and seconds of stepping through rows, so a BMP whose rows cannot all be in the
// file is refused before decoding. True for files that are not BMP and for kinds of BMP
// the decoder refuses anyway.
bool BmpRowsFit(int file, std::uint64_t fileBytes) {
  ByteReader reader(file, fileBytes);
  std::uint32_t signature, headerBytes, width, height, planes, bitsPerPixel;
  if (!reader.NextLittleEndian(2, signature) || signature != 0x4D42) return true;  // "BM"
  if (!reader.Skip(kBmpFileHeaderBytes - 2) || !reader.NextLittleEndian(4, headerBytes)) return true;
  const int sideBytes = headerBytes == kBmpCoreHeaderBytes ? 2 : 4;
  if (!reader.NextLittleEndian(sideBytes, width) || !reader.NextLittleEndian(sideBytes, height) ||
      !reader.NextLittleEndian(2, planes) || !reader.NextLittleEndian(2, bitsPerPixel)) {
    return true;
  }
  // A negative height marks rows stored top first.
  if (sideBytes == 4 && static_cast<std::int32_t>(height) < 0) height = 0u - height;
  const bool decodable = (headerBytes == kBmpCoreHeaderBytes || headerBytes == 40 ||
                          headerBytes == 56 || headerBytes == 108 || headerBytes == 124) &&
                         (bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 ||
                          bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32) &&
                         width > 0 && width <= kMaxImageSide && height > 0 &&
                         height <= kMaxImageSide;
  if (!decodable) return true;
  // Each row is read whole; the padding after it to four bytes is skipped, so the last
  // row's padding need not be there.
  const std::uint64_t rowBytes = (std::uint64_t{width} * bitsPerPixel + 7) / 8;
  const std::uint64_t stride = (rowBytes + 3) / 4 * 4;
  const std::uint64_t least = kBmpFileHeaderBytes + std::uint64_t{headerBytes} +
                              stride * (height - 1) + rowBytes;
  return least <= fileBytes;
}

namespace {

constexpr int kGifImage = 0x2C;
constexpr int kGifExtension = 0x21;
constexpr int kGifColourTableFlag = 0x80;

// Passes over a colour table when `flags` announce one.
bool SkipGifColourTable(ByteReader& reader, int flags) {
  return (flags & kGifColourTableFlag) == 0 || reader.Skip(3 * (2 << (flags & 7)));
}

// Passes over data sub-blocks up to their terminator; false when the file ends first.
bool SkipGifSubBlocks(ByteReader& reader) {
  for (;;) {
    const int length = reader.Next();
    if (length <= 0) return length == 0;
    if (!reader.Skip(length)) return false;
  }
}

}  // namespace

// The GIF decoder clears a canvas of the declared size, three times over, before it reads
// the first image, and makes up zeros where the file ends; it reads the image's data up
// to its terminator and refuses the file afterwards as truncated when that is missing.
// An 84-byte file declaring 63 million pixels cost a second per attempt, so a GIF whose
// first image does not end within the file is refused before decoding. True for files
// that are not GIF and for those the decoder refuses for other reasons.
bool GifFirstImageEnds(int file, std::uint64_t fileBytes) {
  ByteReader reader(file, fileBytes);
  for (const char expected : {'G', 'I', 'F', '8'}) {
    if (reader.Next() != expected) return true;
  }
  const int version = reader.Next();
  if ((version != '7' && version != '9') || reader.Next() != 'a') return true;
  if (!reader.Skip(4)) return false;  // the canvas size
  const int flags = reader.Next();
  if (flags < 0 || !reader.Skip(2) || !SkipGifColourTable(reader, flags)) return false;
  for (;;) {
    const int block = reader.Next();
    if (block == kGifExtension) {
      if (reader.Next() < 0 || !SkipGifSubBlocks(reader)) return false;  // label, data
    } else if (block == kGifImage) {
      if (!reader.Skip(8)) return false;  // position and size
      const int imageFlags = reader.Next();
      if (imageFlags < 0 || !SkipGifColourTable(reader, imageFlags)) return false;
      return reader.Next() >= 0 && SkipGifSubBlocks(reader);  // code size, data
    } else {
      return block >= 0;  // the trailer or an unknown block, which the decoder refuses
    }
  }
}

}  // namespace orvendale::platform
