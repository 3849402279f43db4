// A small reader and maker of pictures for the whole-run tests. It prints what a shell
// script needs to compare, one answer per call:
//
//   png_probe size FILE                  "W H" of the PNG
//   png_probe format FILE                "COLOURTYPE BITDEPTH" as its header says
//   png_probe alphas FILE                the distinct alpha values, ascending
//   png_probe ink FILE L T R B           the distinct colours ("rrggbb") of the opaque
//                                        pixels in the rectangle, or "none"
//   png_probe box FILE COLOUR [L T R B]  the bounding box "L T R B" (right and bottom
//                                        exclusive) of the opaque pixels of COLOUR
//                                        ("rrggbb", or "any"), or "none"
//   png_probe hash FILE [L T R B]        a hash of the pixels (whole picture by default)
//   png_probe cells FILE L T W H C R     for each of R rows of C cells of W x H pixels from
//                                        (L, T), row by row: two lines, the cell's hash and
//                                        its ink, as hash and ink print them
//   png_probe make FILE KIND W H AARRGGBB
//                                        a solid image; KIND png, bmp24, bmp32 or jpeg
//   png_probe png-header FILE W H        the start of a PNG that claims W x H pixels:
//                                        signature, header and one short data chunk
//   png_probe overlap FILE REFERENCE [L T R B]
//                                        how well the ink (alpha of half or more) of
//                                        FILE's rectangle and of the whole REFERENCE lie
//                                        on each other, in percent: the two are placed
//                                        with their ink boxes' top-left corners together,
//                                        then moved up to 3 pixels each way for the best
//                                        score; the score is the smaller of the shares
//                                        of each picture's ink pixels that have ink of
//                                        the other within 1 pixel (0 without ink)
//
// Rectangles are clipped to the picture. Exit code 0 with the answer, 2 for a file that is
// not a readable PNG of 8-bit RGBA, 8-bit RGB, grey or palette (the last three opaque), or
// a call that makes no sense.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "support/test_images.h"

namespace {

using orvendale::testing::ArgbImage;

struct Box {
  long left = 0;
  long top = 0;
  long right = 0;
  long bottom = 0;
};

long Number(const char* text) { return std::strtol(text, nullptr, 0); }

std::uint32_t Hex(const char* text) { return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 16)); }

bool Load(const char* path, ArgbImage* image) {
  return orvendale::testing::ReadPng(path, image) && !image->pixels.empty();
}

// The rectangle given on the command line (or the whole picture), clipped to it.
Box Region(const ArgbImage& image, int argc, char** argv, int first) {
  Box box{0, 0, static_cast<long>(image.width), static_cast<long>(image.height)};
  if (argc >= first + 4) {
    box = Box{Number(argv[first]), Number(argv[first + 1]), Number(argv[first + 2]), Number(argv[first + 3])};
  }
  box.left = std::max(box.left, 0L);
  box.top = std::max(box.top, 0L);
  box.right = std::min(box.right, static_cast<long>(image.width));
  box.bottom = std::min(box.bottom, static_cast<long>(image.height));
  return box;
}

bool Opaque(std::uint32_t argb) { return argb >> 24 != 0; }

int PrintInk(const ArgbImage& image, const Box& box) {
  std::set<std::uint32_t> colours;
  for (long y = box.top; y < box.bottom; ++y) {
    for (long x = box.left; x < box.right; ++x) {
      const std::uint32_t pixel = image.At(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
      if (Opaque(pixel)) colours.insert(pixel & 0xFFFFFFu);
    }
  }
  if (colours.empty()) std::printf("none");
  const char* separator = "";
  for (const std::uint32_t colour : colours) {
    std::printf("%s%06x", separator, colour);
    separator = " ";
  }
  std::printf("\n");
  return 0;
}

// `colour` is a colour word, or kAnyColour for every opaque pixel.
constexpr std::uint32_t kAnyColour = 0xFFFFFFFFu;

int PrintBox(const ArgbImage& image, std::uint32_t colour, const Box& region) {
  Box found{region.right, region.bottom, -1, -1};
  for (long y = region.top; y < region.bottom; ++y) {
    for (long x = region.left; x < region.right; ++x) {
      const std::uint32_t pixel = image.At(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y));
      if (!Opaque(pixel) || (colour != kAnyColour && (pixel & 0xFFFFFFu) != colour)) continue;
      found.left = std::min(found.left, x);
      found.top = std::min(found.top, y);
      found.right = std::max(found.right, x + 1);
      found.bottom = std::max(found.bottom, y + 1);
    }
  }
  if (found.right < 0) {
    std::printf("none\n");
  } else {
    std::printf("%ld %ld %ld %ld\n", found.left, found.top, found.right, found.bottom);
  }
  return 0;
}

int PrintHash(const ArgbImage& image, const Box& box) {
  std::uint64_t hash = 1469598103934665603u;  // FNV-1a over the pixel words
  for (long y = box.top; y < box.bottom; ++y) {
    for (long x = box.left; x < box.right; ++x) {
      hash = (hash ^ image.At(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y))) * 1099511628211u;
    }
  }
  std::printf("%016llx\n", static_cast<unsigned long long>(hash));
  return 0;
}

int Make(const char* path, const std::string& kind, long width, long height, std::uint32_t argb) {
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096) return 2;
  const ArgbImage image =
      orvendale::testing::SolidImage(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), argb);
  bool written = false;
  if (kind == "png") written = orvendale::testing::WritePng(path, image);
  if (kind == "bmp24") written = orvendale::testing::WriteBytes(path, orvendale::testing::BmpBytes(image, 24));
  if (kind == "bmp32") written = orvendale::testing::WriteBytes(path, orvendale::testing::BmpBytes(image, 32));
  if (kind == "jpeg") written = orvendale::testing::WriteJpeg(path, image);
  return written ? 0 : 2;
}

void PutBigEndian(std::vector<unsigned char>& bytes, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<unsigned char>(value >> shift));
}

void PutChunk(std::vector<unsigned char>& bytes, const char* type, const std::vector<unsigned char>& data) {
  PutBigEndian(bytes, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = bytes.size();
  bytes.insert(bytes.end(), type, type + 4);
  bytes.insert(bytes.end(), data.begin(), data.end());
  const uLong crc = crc32(0L, bytes.data() + start, static_cast<uInt>(bytes.size() - start));
  PutBigEndian(bytes, static_cast<std::uint32_t>(crc));
}

// A valid signature and header and the first bytes of a compressed stream, then the file
// ends: enough for a loader to believe the size and start allocating for it.
int MakePngHeader(const char* path, long width, long height) {
  std::vector<unsigned char> bytes = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<unsigned char> header;
  PutBigEndian(header, static_cast<std::uint32_t>(width));
  PutBigEndian(header, static_cast<std::uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8-bit RGBA, no interlace
  PutChunk(bytes, "IHDR", header);
  PutChunk(bytes, "IDAT", {0x78, 0x9C, 0xED, 0xC1, 0x01, 0x0D});
  return orvendale::testing::WriteBytes(path, bytes) ? 0 : 2;
}

// The ink pixels (alpha of half or more) of the rectangle, as a mask of its size.
struct InkMask {
  long width = 0;
  long height = 0;
  std::vector<bool> ink;
  Box box{0, 0, 0, 0};  // the ink's bounding box in mask coordinates; empty without ink
  bool At(long x, long y) const {
    return x >= 0 && y >= 0 && x < width && y < height && ink[static_cast<std::size_t>(y * width + x)];
  }
};

InkMask MaskOf(const ArgbImage& image, const Box& region) {
  InkMask mask;
  mask.width = std::max(region.right - region.left, 0L);
  mask.height = std::max(region.bottom - region.top, 0L);
  mask.ink.assign(static_cast<std::size_t>(mask.width * mask.height), false);
  mask.box = Box{mask.width, mask.height, 0, 0};
  for (long y = 0; y < mask.height; ++y) {
    for (long x = 0; x < mask.width; ++x) {
      const std::uint32_t pixel =
          image.At(static_cast<std::uint32_t>(region.left + x), static_cast<std::uint32_t>(region.top + y));
      if ((pixel >> 24) < 128) continue;
      mask.ink[static_cast<std::size_t>(y * mask.width + x)] = true;
      mask.box = Box{std::min(mask.box.left, x), std::min(mask.box.top, y), std::max(mask.box.right, x + 1),
                     std::max(mask.box.bottom, y + 1)};
    }
  }
  return mask;
}

// The share of `a`'s ink that has ink of `b` within one pixel, with b moved by (dx, dy).
double Covered(const InkMask& a, const InkMask& b, long dx, long dy) {
  long inked = 0;
  long covered = 0;
  for (long y = 0; y < a.height; ++y) {
    for (long x = 0; x < a.width; ++x) {
      if (!a.At(x, y)) continue;
      ++inked;
      bool near = false;
      for (long ny = -1; ny <= 1 && !near; ++ny) {
        for (long nx = -1; nx <= 1 && !near; ++nx) near = b.At(x + nx - dx, y + ny - dy);
      }
      covered += near ? 1 : 0;
    }
  }
  return inked == 0 ? 0.0 : static_cast<double>(covered) / static_cast<double>(inked);
}

int PrintOverlap(const ArgbImage& image, const Box& region, const ArgbImage& reference) {
  const InkMask ours = MaskOf(image, region);
  const InkMask theirs = MaskOf(reference, Box{0, 0, static_cast<long>(reference.width), static_cast<long>(reference.height)});
  double best = 0.0;
  if (ours.box.right > 0 && theirs.box.right > 0) {
    constexpr long kSearch = 3;
    for (long dy = -kSearch; dy <= kSearch; ++dy) {
      for (long dx = -kSearch; dx <= kSearch; ++dx) {
        // theirs moved by (shiftX, shiftY) lies on ours.
        const long shiftX = ours.box.left - theirs.box.left + dx;
        const long shiftY = ours.box.top - theirs.box.top + dy;
        best = std::max(best, std::min(Covered(ours, theirs, shiftX, shiftY), Covered(theirs, ours, -shiftX, -shiftY)));
      }
    }
  }
  std::printf("%d\n", static_cast<int>(best * 100.0));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const std::string command = argv[1];
  const char* path = argv[2];
  if (command == "make" && argc == 7) return Make(path, argv[3], Number(argv[4]), Number(argv[5]), Hex(argv[6]));
  if (command == "png-header" && argc == 5) return MakePngHeader(path, Number(argv[3]), Number(argv[4]));

  ArgbImage image;
  if (!Load(path, &image)) {
    std::printf("unreadable\n");
    return 2;
  }
  if (command == "size") {
    std::printf("%u %u\n", image.width, image.height);
    return 0;
  }
  if (command == "format") {
    std::printf("%d %d\n", image.colorType, image.bitDepth);
    return 0;
  }
  if (command == "alphas") {
    std::set<std::uint32_t> alphas;
    for (const std::uint32_t pixel : image.pixels) alphas.insert(pixel >> 24);
    const char* separator = "";
    for (const std::uint32_t alpha : alphas) {
      std::printf("%s%u", separator, alpha);
      separator = " ";
    }
    std::printf("\n");
    return 0;
  }
  if (command == "ink" && argc == 7) return PrintInk(image, Region(image, argc, argv, 3));
  if (command == "box" && (argc == 4 || argc == 8)) {
    const std::uint32_t colour = std::string(argv[3]) == "any" ? kAnyColour : Hex(argv[3]);
    return PrintBox(image, colour, Region(image, argc, argv, 4));
  }
  if (command == "hash") return PrintHash(image, Region(image, argc, argv, 3));
  if (command == "overlap" && (argc == 4 || argc == 8)) {
    ArgbImage reference;
    if (!Load(argv[3], &reference)) return 2;
    return PrintOverlap(image, Region(image, argc, argv, 4), reference);
  }
  if (command == "cells" && argc == 9) {
    const long left = Number(argv[3]), top = Number(argv[4]), width = Number(argv[5]), height = Number(argv[6]);
    for (long row = 0; row < Number(argv[8]); ++row) {
      for (long column = 0; column < Number(argv[7]); ++column) {
        Box cell{left + column * width, top + row * height, left + (column + 1) * width, top + (row + 1) * height};
        cell.left = std::max(cell.left, 0L);
        cell.top = std::max(cell.top, 0L);
        cell.right = std::min(cell.right, static_cast<long>(image.width));
        cell.bottom = std::min(cell.bottom, static_cast<long>(image.height));
        PrintHash(image, cell);
        PrintInk(image, cell);
      }
    }
    return 0;
  }
  return 2;
}
