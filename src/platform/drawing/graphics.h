#pragma once
// The graphics device interface of this host: drawing contexts, 32-bit bottom-up bitmap
// sections, solid brushes, rectangle fill, text colour and background mode, fonts from a
// logical-font record, and single-line text drawing. Objects are owned by whoever
// created them and released with the matching Delete call; deleting null does nothing.

#include <cstdint>

#include "platform/types.h"

namespace orvendale::platform {

struct DrawingContext;
struct Bitmap;
struct Brush;
struct Font;

// The bitmap-information header: 40 bytes, in the platform's field order.
struct BitmapInfoHeader {
  std::uint32_t size = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows bottom-up, the first row in memory is the bottom
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 32;
  std::uint32_t compression = 0;  // kUncompressedRgb or kAlphaBitFields
  std::uint32_t sizeImage = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t colorsUsed = 0;
  std::uint32_t colorsImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

struct RgbQuad {
  std::uint8_t blue = 0;
  std::uint8_t green = 0;
  std::uint8_t red = 0;
  std::uint8_t reserved = 0;
};

struct BitmapInfo {
  BitmapInfoHeader header;
  RgbQuad colors[1];
};

// The plain description of a bitmap.
struct BitmapDescription {
  std::int32_t type = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t widthBytes = 0;  // bytes per row
  std::uint16_t planes = 1;
  std::uint16_t bitsPixel = 32;
  void* bits = nullptr;
};

// The device-independent description of a bitmap section.
struct DibDescription {
  BitmapDescription bitmap;
  BitmapInfoHeader header;
};

// Compressions of a 32-bit bitmap. Uncompressed RGB pixels are 0x00RRGGBB words whose top
// byte drawing leaves 0; alpha bit fields make the top byte each pixel's alpha, straight
// (not premultiplied): 0xAARRGGBB, 0 fully transparent, 255 opaque.
inline constexpr std::uint32_t kUncompressedRgb = 0;
inline constexpr std::uint32_t kAlphaBitFields = 6;

inline constexpr std::int32_t kFaceNameCapacity = 32;

// The logical-font record, fields in the platform's order.
struct LogicalFont {
  std::int32_t height = 0;  // < 0 character height, > 0 cell height, 0 the default
  std::int32_t width = 0;
  std::int32_t escapement = 0;
  std::int32_t orientation = 0;
  std::int32_t weight = 0;  // 700 is bold
  std::uint8_t italic = 0;
  std::uint8_t underline = 0;
  std::uint8_t strikeOut = 0;
  std::uint8_t charSet = 0;  // 128 is Shift JIS, matched as Japanese
  std::uint8_t outPrecision = 0;
  std::uint8_t clipPrecision = 0;
  std::uint8_t quality = 0;  // kAntialiasedQuality for grey glyphs, else monochrome
  std::uint8_t pitchAndFamily = 0;
  char16_t faceName[kFaceNameCapacity] = {};
};

inline constexpr std::int32_t kWeightBold = 700;
inline constexpr std::uint8_t kShiftJisCharSet = 128;
// Font quality: glyphs rendered in grey levels with light hinting, their coverage blended.
inline constexpr std::uint8_t kAntialiasedQuality = 4;

// Background modes.
inline constexpr int kTransparent = 1;
inline constexpr int kOpaque = 2;

// Text-drawing flags.
namespace TextFlags {
inline constexpr std::uint32_t kCenter = 0x01;
inline constexpr std::uint32_t kRight = 0x02;
inline constexpr std::uint32_t kVerticalCenter = 0x04;
inline constexpr std::uint32_t kBottom = 0x08;
inline constexpr std::uint32_t kSingleLine = 0x20;
inline constexpr std::uint32_t kNoClip = 0x100;
inline constexpr std::uint32_t kCalculateRect = 0x400;
inline constexpr std::uint32_t kNoPrefix = 0x800;
}  // namespace TextFlags

// Surfaces whose pixel data would exceed this are refused, as on a platform out of memory.
inline constexpr std::uint64_t kMaxBitmapBytes = 256ull << 20;

// The drawing context of the whole screen: a reference context without pixels.
DrawingContext* GetScreenContext();
void ReleaseScreenContext(DrawingContext* screen);

// A memory drawing context compatible with `reference`, with no bitmap and no font
// selected (text then uses the platform's default font: "ＭＳ ゴシック" at height 0,
// character set 128, opened on first use and released at exit). Null when `reference`
// is null.
DrawingContext* CreateCompatibleContext(DrawingContext* reference);
void DeleteContext(DrawingContext* context);

// Make `font` or `bitmap` the context's current one; return the one selected before
// (null when there was none). Null `context` returns null and selects nothing.
Font* SelectFont(DrawingContext* context, Font* font);
Bitmap* SelectBitmap(DrawingContext* context, Bitmap* bitmap);

void DeleteFont(Font* font);
void DeleteBitmap(Bitmap* bitmap);
void DeleteBrush(Brush* brush);

// A 32-bit bitmap with its own zeroed pixel memory, laid out as `info` says: uncompressed
// RGB, or with alpha bit fields (then every pixel starts fully transparent). Null for
// another bit count or compression, a width or height of 0 or less, or pixel data above
// kMaxBitmapBytes. `section` must be null; `bits` (if given) receives the pixel address.
Bitmap* CreateDibSection(DrawingContext* reference, const BitmapInfo* info, std::uint32_t usage,
                         void* section, std::uint32_t offset, void** bits);

// False for null.
bool GetBitmapDescription(const Bitmap* bitmap, BitmapDescription* out);
bool GetDibDescription(const Bitmap* bitmap, DibDescription* out);

Brush* CreateSolidBrush(ColorRef color);

// Paints the rectangle, clipped to the selected bitmap, with the brush's colour (opaque
// on a bitmap with alpha). Returns 0 when nothing could be painted for a bad argument, else 1.
int FillRect(DrawingContext* context, const Rect* rect, const Brush* brush);

// Copies the width x height pixels at (sourceX, sourceY) of the source context's bitmap to
// (x, y) of the destination context's bitmap, leaving out every pixel whose word is the
// colour `transparent` (top byte 0); pixels copied onto a bitmap with alpha are opaque.
// Both rectangles are clipped to their bitmaps. No stretching: the source size must equal
// the destination size. Returns 0 for a null context, a context without a bitmap or sizes
// that differ, else 1.
int TransparentBlt(DrawingContext* destination, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height, DrawingContext* source, std::int32_t sourceX,
                   std::int32_t sourceY, std::int32_t sourceWidth, std::int32_t sourceHeight,
                   ColorRef transparent);

// Both return the previous value; 0 for a null context.
int SetBackgroundMode(DrawingContext* context, int mode);
ColorRef SetTextColor(DrawingContext* context, ColorRef color);

// A font for the record (copied), or null for a null record. Matching happens when the
// font is first used: the face name (at most 31 units read) through a table of installed
// equivalents and then fontconfig, whose best match serves when nothing matches; the
// character set as language (128 is Japanese); a weight of 600 or more as bold.
// Heights whose pixel size would exceed 2048 are drawn at 2048 pixels.
Font* CreateFontIndirect(const LogicalFont* record);

// Draws terminated (length -1) or counted (length >= 0) text into `rect` by `flags` with
// the context's font (the platform's default font when none is selected) and text
// colour. Prefix processing applies unless kNoPrefix: "&&" draws "&", "&c" hides the "&"
// and underlines "c" (the first such character only), a lone "&" at the end is drawn.
// Glyphs are monochrome, or grey for a font of kAntialiasedQuality: their coverage blends
// the text colour over the bitmap (composited "over" where the bitmap has alpha, so an
// edge pixel over transparency keeps the text colour and takes the coverage as its
// alpha). Every pixel is clipped to the rectangle (unless kNoClip) and
// the selected bitmap. Opaque background mode first paints the text's cell white. With
// kSingleLine line breaks are drawn as characters and kVerticalCenter / kBottom place the
// line; without it the text breaks at CR LF, LF and CR into lines stacked from the top.
// With kCalculateRect nothing is drawn: right becomes left + the widest line's width,
// bottom becomes top + the text's height (an empty text is one line high).
// Returns the distance from the rectangle's top to the bottom of the text (the text's
// height when measuring); 0 for a null argument, a length below -1, or a font that
// cannot be opened.
int DrawText(DrawingContext* context, const char16_t* text, int length, Rect* rect,
             std::uint32_t flags);

}  // namespace orvendale::platform
