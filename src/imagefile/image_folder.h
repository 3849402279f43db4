#pragma once
// The folder against which image names that are not full paths are resolved. The
// driver fills it from [Image] Path before any picture is drawn.

namespace orvendale {

inline constexpr int kPathCapacity = 256;  // UTF-16 units, terminator included

// Process-wide; at most kPathCapacity - 1 characters and a terminator.
extern char16_t ImageFolder[kPathCapacity];

}  // namespace orvendale
