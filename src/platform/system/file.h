#pragma once
// Files by platform path. A platform path is UTF-16 text in which a backslash separates
// folders and a leading backslash means the filesystem root; a slash counts the same.
// Every other path is relative to the working directory.

#include <cstdint>

namespace orvendale::platform {

using FileHandle = int;
inline constexpr FileHandle kInvalidFileHandle = -1;

enum class FileAccess : std::uint32_t {
  kRead = 0x80000000u,
  kWrite = 0x40000000u,
};

enum class FileCreation : std::uint32_t {
  kCreateAlways = 2,   // created, or emptied when it exists
  kOpenExisting = 3,   // opened; fails when absent
  kOpenAlways = 4,     // opened with its content, or created
};

// Opens a regular file without sharing: while it is open, no other opener of this
// platform may open it. Returns kInvalidFileHandle on any failure (absent in
// kOpenExisting, a folder, no access, held by another opener, an empty path).
FileHandle OpenFile(const char16_t* path, FileAccess access, FileCreation creation);

// Reads up to `size` bytes. Returns false on failure; `*bytesRead` is 0 at the end.
bool ReadFile(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* bytesRead);

// Writes `size` bytes; false when not all were written.
bool WriteFile(FileHandle file, const void* buffer, std::uint32_t size);

void CloseFile(FileHandle file);

// The host path of a platform path: UTF-8, every backslash turned into "/".
// Returns false (and leaves `out` empty) when `path` is null or empty, or the host
// path needs more than `capacity` - 1 bytes.
bool HostPathFromPlatformPath(const char16_t* path, char* out, int capacity);

inline constexpr int kMaxHostPathBytes = 4096;

}  // namespace orvendale::platform
