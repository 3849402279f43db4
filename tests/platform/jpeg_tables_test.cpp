#include "platform/jpeg_tables.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "platform/imaging.h"
#include "support/test_images.h"

namespace orvendale::platform {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// One table of `codes` codes, spread over the lengths 8 to 16 at most 255 each, with
// its symbols.
Bytes HuffmanTable(int codes) {
  Bytes table = {0x10};
  for (int i = 0, left = codes; i < 16; ++i) {
    const int here = i < 7 ? 0 : (left > 255 ? 255 : left);
    table.push_back(static_cast<unsigned char>(here));
    left -= here;
  }
  table.insert(table.end(), static_cast<std::size_t>(codes), 0x00);
  return table;
}

// A define-Huffman-table segment holding the tables of `codes` codes each.
Bytes HuffmanSegment(std::initializer_list<int> codes) {
  Bytes tables;
  for (const int count : codes) tables = tables + HuffmanTable(count);
  const std::size_t length = 2 + tables.size();
  return Bytes{0xFF, 0xC4, static_cast<unsigned char>(length >> 8), static_cast<unsigned char>(length)} +
         tables;
}
Bytes HuffmanSegment(int codes) { return HuffmanSegment({codes}); }

const Bytes kStart = {0xFF, 0xD8};
const Bytes kEnd = {0xFF, 0xD9};
// A comment segment whose payload looks like a table marker declaring 300 codes.
const Bytes kCommentHidingAMarker = {0xFF, 0xFE, 0x00, 0x08, 0xFF, 0xC4, 0x01, 0x30, 0x10, 0xFF};
// A scan: its header, then entropy-coded data with a stuffed zero and a restart marker.
const Bytes kScan = {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00,
                     0x12, 0xFF, 0x00, 0xC4, 0xFF, 0xD0, 0x34};

bool Fits(const Bytes& bytes) {
  testing::TemporaryFolder folder;
  const auto path = folder.path() / "image";
  testing::WriteBytes(path, bytes);
  const int file = ::open(path.c_str(), O_RDONLY);
  EXPECT_GE(file, 0);
  const bool fits = JpegHuffmanTablesFit(file);
  ::close(file);
  return fits;
}

TEST(JpegHuffmanTables, RefusesATableOfMoreThan256CodesWhereverTheDecoderReadsOne) {
  const struct {
    const char* what;
    Bytes bytes;
    bool fits;
  } cases[] = {
      {"256 codes", kStart + HuffmanSegment(256) + kEnd, true},
      {"257 codes", kStart + HuffmanSegment(257) + kEnd, false},
      {"the second table of one segment", kStart + HuffmanSegment({1, 257}) + kEnd, false},
      {"two tables that fit", kStart + HuffmanSegment({256, 256}) + kEnd, true},
      {"after stray bytes and fill bytes", kStart + Bytes{0x12, 0x34, 0xFF, 0xFF} + HuffmanSegment(300), false},
      {"after a scan", kStart + HuffmanSegment(12) + kScan + HuffmanSegment(4000), false},
      {"a marker inside a comment is no marker", kStart + kCommentHidingAMarker + kEnd, true},
      {"stuffed bytes in a scan are data", kStart + kScan + kEnd, true},
      {"nothing after the end of the image", kStart + kEnd + HuffmanSegment(300), true},
      {"not a JPEG", Bytes{0x89, 'P', 'N', 'G'} + HuffmanSegment(300), true},
      {"cut inside the counts", kStart + Bytes{0xFF, 0xC4, 0x01, 0x40, 0x00, 200}, true},
      {"empty", Bytes{}, true},
  };
  for (const auto& c : cases) EXPECT_EQ(Fits(c.bytes), c.fits) << c.what;
}

// A file the JPEG decoder used to build a Huffman table from with 285 codes, past the end
// of its 257-entry table: it now loads as no image.
TEST(JpegHuffmanTables, AnOverlongTableMakesNoImage) {
  Bytes jpeg = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00};
  jpeg.insert(jpeg.end(), 64, 0x01);
  jpeg = jpeg + Bytes{0xFF, 0xC0, 0x00, 0x0B, 0x08, 0x00, 0x08, 0x00, 0x08, 0x01, 0x01, 0x11, 0x00,
                      0xFF, 0xC4, 0x00, 0x14, 0x00, 0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x00,
                      0xFF, 0xC4, 0x00, 0x14, 0x10, 0x01, 0, 0, 0, 0, 0x1A, 0x0A, 0, 0, 0, 0x67, 0x49,
                      0x48, 0, 0, 0, 0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0x3F,
                      0xFF, 0xD9};
  testing::TemporaryFolder folder;
  const auto path = folder.path() / "overlong.jpg";
  testing::WriteBytes(path, jpeg);
  EXPECT_EQ(LoadBitmapFile(testing::PlatformPath(path).c_str()), nullptr);

  // A real JPEG still loads.
  testing::WriteJpeg(path, testing::SolidImage(3, 2, 0xFF204060));
  Bitmap* bitmap = LoadBitmapFile(testing::PlatformPath(path).c_str());
  EXPECT_NE(bitmap, nullptr);
  DeleteBitmap(bitmap);
}

}  // namespace
}  // namespace orvendale::platform
