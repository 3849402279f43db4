#pragma once
// What the driver hands to a renderer, and what a renderer hands back.

#include <cstdint>

#include "platform/drawing/graphics.h"
#include "platform/types.h"
#include "render/picture_style.h"

namespace orvendale {

class IniDocument;

// A finished picture: a 32-bit bottom-up bitmap section. Null means no picture.
using Surface = platform::Bitmap*;

struct RenderParams {
  platform::DrawingContext* screenContext = nullptr;
  DateRecord* date = nullptr;  // today; a renderer may move it by [Contents] Offset
  std::int32_t width = 0;      // the four [Image] values, already cut to 16 bits
  std::int32_t height = 0;
  std::int32_t marginX = 0;
  std::int32_t marginY = 0;
  const IniDocument* document = nullptr;
  const char* contentSection = nullptr;  // "Contents"
  PictureStyle style;  // smooth text, scale and background; the defaults draw as always
};

// A renderer returns the surface it drew, owned by the caller from then on, or null.
using Renderer = Surface (*)(const RenderParams& params);

}  // namespace orvendale
