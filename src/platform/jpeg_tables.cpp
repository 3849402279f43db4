#include "platform/jpeg_tables.h"

#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>

namespace orvendale::platform {
namespace {

constexpr int kMarkerPrefix = 0xFF;
constexpr int kStartOfImage = 0xD8;
constexpr int kEndOfImage = 0xD9;
constexpr int kDefineHuffmanTable = 0xC4;
constexpr int kStuffedZero = 0x00;
constexpr int kFirstRestart = 0xD0;
constexpr int kLastRestart = 0xD7;
constexpr int kCodeLengths = 16;
constexpr int kMaxCodes = 256;

// Reads the file through a small buffer; -1 at the end or after a read error.
class ByteReader {
 public:
  explicit ByteReader(int file) : file_(file) {}

  int Next() {
    if (at_ == held_) {
      ssize_t got;
      do {
        got = ::read(file_, buffer_.data(), buffer_.size());
      } while (got < 0 && errno == EINTR);
      if (got <= 0) return -1;
      held_ = static_cast<std::size_t>(got);
      at_ = 0;
    }
    return buffer_[at_++];
  }

  // False when the file ends first.
  bool Skip(std::uint32_t count) {
    for (; count > 0; --count) {
      if (Next() < 0) return false;
    }
    return true;
  }

  // A big-endian 16-bit value; -1 at the end.
  int Next16() {
    const int high = Next();
    const int low = Next();
    return high < 0 || low < 0 ? -1 : high << 8 | low;
  }

 private:
  int file_;
  std::array<std::uint8_t, 4096> buffer_{};
  std::size_t held_ = 0;
  std::size_t at_ = 0;
};

// One define-Huffman-table segment after its marker: false when a table declares more
// than kMaxCodes codes. Tables are read as long as the declared length has bytes left,
// each by its own counts (the decoder does the same and only then compares the length).
bool TablesFit(ByteReader& reader) {
  const int length = reader.Next16();
  if (length < 0) return true;
  std::int32_t left = length - 2;
  while (left > 0) {
    if (reader.Next() < 0) return true;  // table class and number
    std::uint32_t codes = 0;
    for (int i = 0; i < kCodeLengths; ++i) {
      const int count = reader.Next();
      if (count < 0) return true;
      codes += static_cast<std::uint32_t>(count);  // [0, 4080]
    }
    if (codes > kMaxCodes) return false;
    if (!reader.Skip(codes)) return true;
    left -= static_cast<std::int32_t>(1 + kCodeLengths + codes);
  }
  return true;
}

}  // namespace

bool JpegHuffmanTablesFit(int file) {
  ByteReader reader(file);
  if (reader.Next() != kMarkerPrefix || reader.Next() != kStartOfImage) return true;
  // Every marker is found by its prefix: between segments the decoder skips stray
  // bytes up to the next prefix, and entropy-coded data ends at a prefix followed by
  // anything but a stuffed zero. Fill bytes (repeated prefixes) are skipped.
  for (int byte = reader.Next(); byte >= 0;) {
    if (byte != kMarkerPrefix) {
      byte = reader.Next();
      continue;
    }
    int marker = reader.Next();
    while (marker == kMarkerPrefix) marker = reader.Next();
    if (marker < 0 || marker == kEndOfImage) return true;
    if (marker == kStuffedZero || marker == kStartOfImage ||
        (marker >= kFirstRestart && marker <= kLastRestart)) {
      byte = reader.Next();  // markers without a length
      continue;
    }
    if (marker == kDefineHuffmanTable) {
      if (!TablesFit(reader)) return false;
    } else {
      const int length = reader.Next16();
      if (length < 2 || !reader.Skip(static_cast<std::uint32_t>(length - 2))) return true;
    }
    byte = reader.Next();
  }
  return true;
}

}  // namespace orvendale::platform
