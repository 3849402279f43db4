// [Font] Smooth and [Image] Scale: words and numbers a run does not take, which draw as
// if the key were absent.

#include <string>

#include "check/checks.h"
#include "render/picture_style.h"

namespace orvendale {

void CheckPictureStyle(const CheckContext& context, Report& report) {
  if (const char* smooth = context.Value("Font", "Smooth"); smooth != nullptr && !ParseSmooth(smooth)) {
    report.Warn(context.LineOf("Font", "Smooth"),
                "[Font] Smooth " + Quote(smooth) + " is not 'yes' or 'no': the text is drawn monochrome");
  }
  if (const char* scale = context.Value("Image", "Scale"); scale != nullptr && !ParseScale(scale)) {
    report.Warn(context.LineOf("Image", "Scale"),
                "[Image] Scale " + Quote(scale) + " is not a whole number from " + std::to_string(kSmallestScale) +
                    " to " + std::to_string(kLargestScale) + ": a run draws at scale 1");
  }
}

}  // namespace orvendale
