#pragma once
// The folder against which image names that are not full paths are resolved. The
// driver fills it from [Image] Path before any picture is drawn.

namespace orvendale {

inline constexpr int kPathCapacity = 256;  // UTF-16 units, terminator included

// Process-wide; at most kPathCapacity - 1 characters and a terminator.
extern char16_t ImageFolder[kPathCapacity];

// The path of a file name given in the settings, into `path` (kPathCapacity units): a
// name beginning with a backslash or slash is the whole path; any other name follows
// ImageFolder directly. False, with `path` empty, when `name` is null or the joined path
// would exceed kPathCapacity - 1 characters: a path cut short could name another file.
bool ResolveInImageFolder(const char16_t* name, char16_t* path);

}  // namespace orvendale
