#pragma once
// Test seam: makes a chosen platform operation fail, so that tests can walk every failure
// path of the code above the platform. Production runs never arm a fault; the cost of an
// unarmed check is one load and compare.

#include <cstdint>

namespace orvendale::platform {

enum class FaultPoint : std::uint8_t {
  kOpenFile,
  kCreateBitmapSection,
  kCreateFont,
  kOpenFont,  // a created font's files, when text is first drawn or measured with it
  kCreateImagingFactory,
  kGetInstalledEncoders,
  kCreateImageEncoder,
  kGetEncodeSink,
  kBeginSink,
  kSetPalette,
  kPushPixelData,
  kEndSink,
  kTerminateEncoder,
  kCreateImageFromFile,
  kLoadBitmapFile,
  kCreateTemporaryFile,  // fails as in a folder the user may not write
  kRewriteInPlace,       // stops after half of the picture, as a full disk would
  kCount,
};

// The next `skip` calls at `point` succeed, the one after fails, later ones succeed again.
void ArmFault(FaultPoint point, int skip = 0);
// Disarms every point.
void ClearFaults();
// Called by the platform at `point`: true when this call must fail.
bool ShouldFail(FaultPoint point);

}  // namespace orvendale::platform
