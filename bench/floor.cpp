// The least any program must do to make one of these pictures, as a yardstick for whole
// runs: start, match the default face with fontconfig, open it with FreeType, render a
// date's worth of monochrome glyphs into a small RGBA picture and write it as a PNG with
// libpng. No settings, no calendar, no layout beyond advancing a pen.
//
// Usage: floor OUTPUT.png. Exit code 0 when the picture was written.

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

constexpr int kWidth = 48;
constexpr int kHeight = 20;
constexpr int kPixelHeight = 16;
constexpr int kBaseline = 15;
constexpr char kText[] = "7 Dec";

// The default face's file, as fontconfig resolves the family; false when none matches.
bool MatchDefaultFace(std::vector<char>* path, int* index) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("IPAGothic"));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("ja"));
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (match == nullptr) return false;
  FcChar8* file = nullptr;
  const bool found = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
                     FcPatternGetInteger(match, FC_INDEX, 0, index) == FcResultMatch;
  if (found) {
    for (const FcChar8* at = file; *at != 0; ++at) path->push_back(static_cast<char>(*at));
    path->push_back(0);
  }
  FcPatternDestroy(match);
  return found;
}

// Draws the text's glyphs, monochrome, opaque black on transparent.
bool DrawText(FT_Face face, std::vector<std::uint8_t>* rgba) {
  if (FT_Set_Pixel_Sizes(face, 0, kPixelHeight) != 0) return false;
  int pen = 0;
  for (const char* at = kText; *at != 0; ++at) {
    if (FT_Load_Char(face, static_cast<FT_ULong>(*at), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
      return false;
    }
    const FT_GlyphSlot glyph = face->glyph;
    const FT_Bitmap& bitmap = glyph->bitmap;
    for (unsigned row = 0; row < bitmap.rows; ++row) {
      const int y = kBaseline - glyph->bitmap_top + static_cast<int>(row);
      if (y < 0 || y >= kHeight) continue;
      const unsigned char* bits = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
      for (unsigned column = 0; column < bitmap.width; ++column) {
        const int x = pen + glyph->bitmap_left + static_cast<int>(column);
        if (x < 0 || x >= kWidth || (bits[column / 8] & (0x80 >> (column % 8))) == 0) continue;
        std::uint8_t* pixel = &(*rgba)[(static_cast<std::size_t>(y) * kWidth + x) * 4];
        pixel[0] = pixel[1] = pixel[2] = 0;
        pixel[3] = 255;
      }
    }
    pen += static_cast<int>(glyph->advance.x >> 6);
  }
  return true;
}

// libpng reports errors by longjmp: this function holds nothing that needs destroying.
bool WritePng(const char* path, const std::vector<std::uint8_t>& rgba) {
  std::FILE* file = std::fopen(path, "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  bool written = false;
  if (info != nullptr && setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kHeight; ++y) {
      png_write_row(png, &rgba[static_cast<std::size_t>(y) * kWidth * 4]);
    }
    png_write_end(png, info);
    written = true;
  }
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  std::vector<char> path;
  int index = 0;
  if (!MatchDefaultFace(&path, &index)) return 1;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) != 0) return 1;
  FT_Face face = nullptr;
  std::vector<std::uint8_t> rgba(static_cast<std::size_t>(kWidth) * kHeight * 4, 0);
  const bool drawn = FT_New_Face(library, path.data(), index, &face) == 0 && DrawText(face, &rgba);
  if (face != nullptr) FT_Done_Face(face);
  FT_Done_FreeType(library);
  return drawn && WritePng(argv[1], rgba) ? 0 : 1;
}
