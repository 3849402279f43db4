#pragma once
// What the file system says about a path, without opening it: for diagnostics that must
// neither change nor wait on what they look at (a named pipe is never opened here).

#include <cstdint>

namespace orvendale::platform {

enum class FileKind : std::uint8_t {
  kMissing,   // nothing there (or a path that cannot be looked up)
  kRegular,   // a regular file, also through a symbolic link
  kFolder,
  kOther,     // a named pipe, a device or a socket
};

struct FileFacts {
  FileKind kind = FileKind::kMissing;
  std::uint64_t size = 0;  // bytes, for a regular file
  bool readable = false;   // the running user may read it (a folder: list it)
  bool writable = false;   // the running user may write it (a folder: create files in it)
  bool missingFolder = false;  // kMissing because a folder on the way is absent
};

// Facts about host path `hostPath` (UTF-8, "/" separates). Null or empty reads as missing.
FileFacts QueryHostFile(const char* hostPath);

// The bytes at the start of the regular file `hostPath`, at most `capacity`: how many
// were read, 0 when the file cannot be opened or is not a regular file. Never waits on a
// pipe. Writes at most `capacity` bytes.
int ReadFileStart(const char* hostPath, unsigned char* out, int capacity);

}  // namespace orvendale::platform
