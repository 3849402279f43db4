#pragma once
// Places an image file on a picture at its natural size. A name that begins with a
// backslash (or a slash) is a full path; any other name is appended to ImageFolder with
// nothing inserted between them. A resolved path longer than kPathCapacity - 1 units is
// refused: it is treated as a file that cannot be read.

#include <cstdint>

#include "platform/drawing/graphics.h"

namespace orvendale {

// Stores the image's width and height in pixels where asked (a null destination is
// skipped). When the file cannot be loaded, nothing is stored: callers set both to 0
// first.
void GetImageFileSize(const char16_t* name, std::int32_t* width, std::int32_t* height);

// Draws the whole image with its top left corner at (x, y) of the context's bitmap, at
// its natural size, its alpha blended over the picture. A file that cannot be read
// draws nothing.
void DrawImageFile(platform::DrawingContext* context, std::int32_t x, std::int32_t y,
                   const char16_t* name);

// As DrawImageFile, the image drawn `scale` times its natural size (a scale below 1 counts
// as 1): each of its pixels becomes a square of scale x scale pixels, so it stays crisp.
void DrawImageFileScaled(platform::DrawingContext* context, std::int32_t x, std::int32_t y,
                         const char16_t* name, std::int32_t scale);

}  // namespace orvendale
