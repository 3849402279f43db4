#pragma once
// The platform's path rules (see file.h): a backslash or a slash separates folders, and a
// path that begins with one starts at the root.

namespace orvendale::platform {

bool IsPathSeparator(char16_t c);

// The separator the program itself writes between a folder and a name.
inline constexpr char16_t kPathSeparator[] = u"\\";

// True when `path` begins with a separator, so that no folder goes before it; false for
// null or empty text.
bool IsRootedPath(const char16_t* path);

// True when `folder` followed directly by `name` runs the folder's last name into `name`:
// neither is null or empty, `folder` does not end in a separator and `name` is not rooted.
bool JoinsWithoutSeparator(const char16_t* folder, const char16_t* name);

// `name` found from `folder`: `name` itself when it is rooted, else `folder` followed
// directly by `name` (a folder is written ending in its separator; null is no folder).
// Returns false, with `out` empty, for a null `name` or a path of more than `capacity` - 1
// units. Writes at most `capacity` units; nothing when `capacity` < 1.
bool ResolvePath(const char16_t* folder, const char16_t* name, char16_t* out, int capacity);

}  // namespace orvendale::platform
