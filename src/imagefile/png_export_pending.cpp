#include "imagefile/png_export.h"

namespace orvendale {

// Placeholder until the PNG export is merged; it is replaced by the real export.
void SaveBitmapAsPng(platform::Bitmap*, const char16_t*) {}

}  // namespace orvendale
