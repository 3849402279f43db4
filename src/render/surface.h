#pragma once
// The drawing surface, its key-colour background and the configured font, and the
// drawing sequence that every renderer runs around its own drawing.

#include <cstdint>

#include "platform/drawing/graphics.h"
#include "platform/types.h"
#include "render/picture_style.h"
#include "render/render_params.h"
#include "settings/settings_table.h"

namespace orvendale {

class IniDocument;

inline constexpr std::int32_t kPixelsPerMetre = 3780;
inline constexpr const char16_t* kDefaultFaceName = Setting("Font", "Font").defaultWide;
// Capacity of the [Font] Weight text, terminator included.
inline constexpr int kWeightCapacity = 32;
// The cell height that a font height of 0 stands for on the platform.
inline constexpr std::int32_t kDefaultFontCellHeight = 16;

enum class SurfaceAlpha : bool { kKeyed, kWithAlpha };

// A width x height 32-bit bottom-up surface, created on `screenContext`, all pixels 0:
// uncompressed RGB for a picture keyed by KeyColor, or with alpha bit fields (every pixel
// then starts fully transparent). None when the platform refuses: a width or height of 0
// or less, or more than platform::kMaxBitmapBytes of pixel data.
Surface CreateSurface(platform::DrawingContext* screenContext, std::int32_t width, std::int32_t height,
                      SurfaceAlpha alpha = SurfaceAlpha::kKeyed);

// Paints `rect` (right and bottom exclusive, clipped to the context's bitmap) with
// KeyColor and makes the context's text background transparent.
void FillKeyBackground(platform::DrawingContext* context, const Rect& rect);

// The font that section `section` of `document` describes:
//   height  "Height", or "Size" when that is 0, as a signed 16-bit value;
//   weight  700 when "Weight" is "bold" (ASCII case ignored), else 0;
//   face    "Face" (at most 31 characters), else "Font", else kDefaultFaceName;
// character set 128, every other field 0. None when the platform creates no font.
platform::Font* CreateConfiguredFont(const IniDocument& document, const char* section);
// The logical-font record CreateConfiguredFont creates its font from.
platform::LogicalFont ConfiguredFontRecord(const IniDocument& document, const char* section);
// The record as `style` changes it: quality kAntialiasedQuality for smooth text, and the
// height multiplied by the scale (a height of 0 first becomes kDefaultFontCellHeight, the
// cell it stands for). With the default style the record is unchanged.
platform::LogicalFont StyledFontRecord(platform::LogicalFont record, const PictureStyle& style);

// The drawing sequence around a renderer's drawing. Use:
//
//   DrawingSequence sequence(params.screenContext, *params.document, params.style);
//   if (!sequence.PrepareSurface(width, height)) return nullptr;        // surface, background
//   ... draw through sequence.context() ...
//   return sequence.Close();                                             // closing
//
// Opening creates a memory context compatible with the screen context and selects the
// [Font] font, as the style changes it, into it (without a font the context's default
// font draws). Every release
// happens in this order, on every path: the previous font selected back, the font
// deleted, the previous bitmap selected back, the memory context deleted. Close hands
// the surface to the caller; a surface not handed out is deleted with the sequence.
class DrawingSequence {
 public:
  DrawingSequence(platform::DrawingContext* screenContext, const IniDocument& document,
                  const PictureStyle& style = PictureStyle{});
  ~DrawingSequence();
  DrawingSequence(const DrawingSequence&) = delete;
  DrawingSequence& operator=(const DrawingSequence&) = delete;

  // The memory context to draw through; null once the sequence is closed.
  platform::DrawingContext* context() const { return context_; }
  // The configured font, or null when none could be created.
  platform::Font* font() const { return font_; }

  // Creates the width x height surface, selects it and fills 0, 0, width, height with
  // KeyColor, text background transparent. Smooth text gets a surface with alpha
  // instead, filled with the opaque background colour or left transparent. False when the
  // surface cannot be created:
  // the font and the memory context are then released and the caller returns none.
  bool PrepareSurface(std::int32_t width, std::int32_t height);

  // Releases the font and the memory context and returns the surface (none when there
  // was none); the caller owns it. A monochrome picture with a background is first laid
  // on it: a surface with alpha of the background colour, every pixel of the drawing that
  // is not KeyColor copied onto it opaque (none when that surface cannot be made). Later
  // calls return none.
  Surface Close();

 private:
  void Release();
  void LayOnBackground();

  platform::DrawingContext* screenContext_ = nullptr;
  PictureStyle style_;
  platform::DrawingContext* context_ = nullptr;
  platform::Font* font_ = nullptr;
  platform::Font* previousFont_ = nullptr;
  Surface surface_ = nullptr;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  platform::Bitmap* previousBitmap_ = nullptr;
};

}  // namespace orvendale
