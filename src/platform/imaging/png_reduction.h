#pragma once
// Inside the platform only: the fewest bits an opaque picture needs in a PNG, the way
// image optimisers reduce one. A picture whose colours are all greys that a depth of 1, 2,
// 4 or 8 bits holds exactly is written as grey; one of at most 256 colours as a palette of
// 1, 2, 4 or 8 bits an index; anything else as 8-bit RGB. Of grey and palette, the one with
// fewer bits a pixel wins, grey on a tie (it needs no palette).

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvendale::platform {

// The picture's rows: row y (0 at the top) starts at firstRow + y * stride bytes and holds
// width pixel words 0x??RRGGBB (the top byte is ignored).
struct OpaqueRows {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  const unsigned char* firstRow = nullptr;
  std::ptrdiff_t stride = 0;

  const std::uint32_t* Row(std::uint32_t y) const;
};

enum class ReducedKind : std::uint8_t { kGrey, kPalette, kRgb };

class PngReduction {
 public:
  // Looks at every pixel once (and stops counting colours past 256).
  static PngReduction Choose(const OpaqueRows& rows);

  ReducedKind kind() const { return kind_; }
  int bitDepth() const { return bitDepth_; }
  // The palette's colours (0x00RRGGBB) in the order of their first appearance; empty
  // unless kind() is kPalette.
  const std::vector<std::uint32_t>& palette() const { return palette_; }
  // Bytes of one packed row, without the filter byte.
  std::size_t RowBytes(std::uint32_t width) const;
  // Packs row y of `rows` into `out` (RowBytes bytes): samples most significant bits
  // first, grey levels or palette indices, or R, G, B bytes.
  void PackRow(const OpaqueRows& rows, std::uint32_t y, unsigned char* out) const;

 private:
  std::uint32_t IndexOf(std::uint32_t color) const;

  ReducedKind kind_ = ReducedKind::kRgb;
  int bitDepth_ = 8;
  std::vector<std::uint32_t> palette_;
  // Open addressing: colour + 1 (0 marks a free slot) and its palette index.
  std::vector<std::uint32_t> slotColors_;
  std::vector<std::uint8_t> slotIndices_;
};

}  // namespace orvendale::platform
