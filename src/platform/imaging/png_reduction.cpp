#include "platform/imaging/png_reduction.h"

#include <cstring>

namespace orvendale::platform {
namespace {

constexpr std::size_t kMostPaletteColors = 256;
// Twice the most colours kept: the table never fills, and probes stay short.
constexpr std::size_t kSlots = 512;
constexpr std::uint32_t kColorMask = 0xFFFFFFu;

std::size_t SlotOf(std::uint32_t color) {
  return static_cast<std::size_t>((color * 0x9E3779B1u) >> 23);  // the top 9 bits: [0, 512)
}

std::uint32_t Red(std::uint32_t color) { return color >> 16 & 0xFFu; }
std::uint32_t Green(std::uint32_t color) { return color >> 8 & 0xFFu; }
std::uint32_t Blue(std::uint32_t color) { return color & 0xFFu; }

// The fewest bits whose levels hold the grey value exactly: 0 and 255 need 1 bit, the
// multiples of 85 two, of 17 four.
int GreyBits(std::uint32_t value) {
  if (value == 0 || value == 255) return 1;
  if (value % 85 == 0) return 2;
  if (value % 17 == 0) return 4;
  return 8;
}

int IndexBits(std::size_t colors) {
  if (colors <= 2) return 1;
  if (colors <= 4) return 2;
  if (colors <= 16) return 4;
  return 8;
}

}  // namespace

const std::uint32_t* OpaqueRows::Row(std::uint32_t y) const {
  return reinterpret_cast<const std::uint32_t*>(firstRow + static_cast<std::ptrdiff_t>(y) * stride);
}

PngReduction PngReduction::Choose(const OpaqueRows& rows) {
  PngReduction reduction;
  reduction.slotColors_.assign(kSlots, 0);
  reduction.slotIndices_.assign(kSlots, 0);
  int greyBits = 1;
  bool allGrey = true;
  bool tooMany = false;
  std::uint32_t last = 0;
  bool haveLast = false;
  for (std::uint32_t y = 0; y < rows.height && !tooMany; ++y) {
    const std::uint32_t* row = rows.Row(y);
    for (std::uint32_t x = 0; x < rows.width; ++x) {
      const std::uint32_t color = row[x] & kColorMask;
      // Pictures are mostly runs of one colour.
      if (haveLast && color == last) continue;
      last = color;
      haveLast = true;
      std::size_t slot = SlotOf(color);
      while (reduction.slotColors_[slot] != 0 && reduction.slotColors_[slot] != color + 1) {
        slot = (slot + 1) % kSlots;
      }
      if (reduction.slotColors_[slot] != 0) continue;
      if (reduction.palette_.size() == kMostPaletteColors) {
        tooMany = true;
        break;
      }
      reduction.slotColors_[slot] = color + 1;
      reduction.slotIndices_[slot] = static_cast<std::uint8_t>(reduction.palette_.size());
      reduction.palette_.push_back(color);
      if (Red(color) != Green(color) || Green(color) != Blue(color)) {
        allGrey = false;
      } else if (const int bits = GreyBits(Blue(color)); bits > greyBits) {
        greyBits = bits;
      }
    }
  }
  if (tooMany) {
    reduction.kind_ = ReducedKind::kRgb;
    reduction.bitDepth_ = 8;
    reduction.palette_.clear();
    return reduction;
  }
  const int indexBits = IndexBits(reduction.palette_.size());
  if (allGrey && greyBits <= indexBits) {
    reduction.kind_ = ReducedKind::kGrey;
    reduction.bitDepth_ = greyBits;
    reduction.palette_.clear();
  } else {
    reduction.kind_ = ReducedKind::kPalette;
    reduction.bitDepth_ = indexBits;
  }
  return reduction;
}

std::size_t PngReduction::RowBytes(std::uint32_t width) const {
  if (kind_ == ReducedKind::kRgb) return std::size_t{width} * 3;
  return (std::size_t{width} * static_cast<std::size_t>(bitDepth_) + 7) / 8;
}

std::uint32_t PngReduction::IndexOf(std::uint32_t color) const {
  std::size_t slot = SlotOf(color);
  while (slotColors_[slot] != color + 1) slot = (slot + 1) % kSlots;  // every colour is there
  return slotIndices_[slot];
}

void PngReduction::PackRow(const OpaqueRows& rows, std::uint32_t y, unsigned char* out) const {
  const std::uint32_t* row = rows.Row(y);
  if (kind_ == ReducedKind::kRgb) {
    for (std::uint32_t x = 0; x < rows.width; ++x, out += 3) {
      out[0] = static_cast<unsigned char>(Red(row[x]));
      out[1] = static_cast<unsigned char>(Green(row[x]));
      out[2] = static_cast<unsigned char>(Blue(row[x]));
    }
    return;
  }
  std::memset(out, 0, RowBytes(rows.width));
  const std::uint32_t levels = (1u << bitDepth_) - 1;  // 1, 3, 15 or 255
  std::uint32_t lastColor = 0;
  std::uint32_t lastSample = 0;
  bool haveLast = false;
  for (std::uint32_t x = 0; x < rows.width; ++x) {
    const std::uint32_t color = row[x] & kColorMask;
    if (!haveLast || color != lastColor) {
      // A grey level is exact: Choose made sure the depth holds it.
      lastSample = kind_ == ReducedKind::kGrey ? Blue(color) * levels / 255 : IndexOf(color);
      lastColor = color;
      haveLast = true;
    }
    const std::size_t bit = std::size_t{x} * static_cast<std::size_t>(bitDepth_);
    out[bit / 8] |= static_cast<unsigned char>(lastSample << (8 - bitDepth_ - static_cast<int>(bit % 8)));
  }
}

}  // namespace orvendale::platform
