#pragma once
// Writes a finished picture as a PNG with an alpha channel: every KeyColor pixel becomes
// transparent white, every other pixel opaque.

#include "platform/drawing/graphics.h"

namespace orvendale {

// Applies the colour key in place over the bitmap's own pixels, then encodes them to
// `outputPath` (a platform path). Reports nothing; on any failure an existing file at
// `outputPath` is left exactly as it was. The bitmap stays the caller's.
void SaveBitmapAsPng(platform::Bitmap* bitmap, const char16_t* outputPath);

}  // namespace orvendale
