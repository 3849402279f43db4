#pragma once
// Inside the platform only: how the imaging factory reaches its encoders and decoder.

#include "platform/imaging/imaging.h"

namespace orvendale::platform {

// A new factory with one reference, or null when out of memory.
ImagingFactory* NewImagingFactory();

// True while the encoder of `encoderClass` exists and is installed.
bool IsEncoderInstalled(const Guid& encoderClass);

// The factory's operations, each as its contract in imaging.h says. `*encoder` and
// `*image` are null on failure.
HResult CreateFileEncoder(const Guid& encoderClass, const char16_t* path, ImageEncoder** encoder);
HResult CreateDecodedImage(const char16_t* path, Image** image);

}  // namespace orvendale::platform
