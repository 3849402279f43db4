// Checks made on an image file's headers before the decoder reads it: files the decoder
// would mishandle, or would spend seconds and a picture-sized block on although the file
// cannot hold such a picture. Both read the file with pread, leaving its position alone.
#pragma once

#include <cstdint>

namespace orvendale::platform {

// No side of an image above this is decoded.
inline constexpr int kMaxImageSide = 1 << 24;

// False for a JPEG with a Huffman table of more codes than the decoder's tables hold, or
// with a frame of more blocks than its `fileBytes` bytes can code.
bool JpegHeadersFit(int file, std::uint64_t fileBytes);

// False for a BMP whose rows cannot all be in the file of `fileBytes` bytes.
bool BmpRowsFit(int file, std::uint64_t fileBytes);

// False for a GIF whose first image's data does not end within its `fileBytes` bytes.
bool GifFirstImageEnds(int file, std::uint64_t fileBytes);

}  // namespace orvendale::platform
