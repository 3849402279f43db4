#include "platform/system/file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/fault_injection.h"
#include "platform/system/text.h"

namespace orvendale::platform {
namespace {

int OpenFlags(FileAccess access, FileCreation creation) {
  int flags = O_CLOEXEC | O_NOCTTY | (access == FileAccess::kRead ? O_RDONLY : O_WRONLY);
  // Opening a pipe for reading would wait for a writer; without waiting it opens at once
  // and is then refused as not a regular file. Regular files ignore the flag.
  if (access == FileAccess::kRead) flags |= O_NONBLOCK;
  // kCreateAlways empties the file only once the lock is held (see OpenFile), so that a
  // file held by another opener is never cut.
  if (creation != FileCreation::kOpenExisting) flags |= O_CREAT;
  return flags;
}

}  // namespace

bool HostPathFromPlatformPath(const char16_t* path, char* out, int capacity) {
  if (out == nullptr || capacity < 1) return false;
  out[0] = 0;
  if (path == nullptr || path[0] == 0) return false;
  if (NarrowFromWide(path, out, capacity) == 0) return false;
  for (char* c = out; *c != 0; ++c) {
    if (*c == '\\') *c = '/';
  }
  return true;
}

FileHandle OpenFile(const char16_t* path, FileAccess access, FileCreation creation) {
  char hostPath[kMaxHostPathBytes];
  if (!HostPathFromPlatformPath(path, hostPath, kMaxHostPathBytes)) return kInvalidFileHandle;
  if (ShouldFail(FaultPoint::kOpenFile)) return kInvalidFileHandle;

  int file;
  do {
    file = ::open(hostPath, OpenFlags(access, creation), 0666);
  } while (file < 0 && errno == EINTR);
  if (file < 0) return kInvalidFileHandle;

  // Only regular files: a folder, a pipe or a device is not a settings or picture file,
  // and reading a pipe could block the run forever.
  struct stat status;
  const bool usable = ::fstat(file, &status) == 0 && S_ISREG(status.st_mode) &&
                      ::flock(file, LOCK_EX | LOCK_NB) == 0 &&
                      (creation != FileCreation::kCreateAlways || ::ftruncate(file, 0) == 0);
  if (!usable) {
    ::close(file);
    return kInvalidFileHandle;
  }
  return file;
}

bool ReadFile(FileHandle file, void* buffer, std::uint32_t size, std::uint32_t* bytesRead) {
  if (bytesRead != nullptr) *bytesRead = 0;
  if (file < 0 || (buffer == nullptr && size > 0)) return false;
  ssize_t result;
  do {
    result = ::read(file, buffer, size);
  } while (result < 0 && errno == EINTR);
  if (result < 0) return false;
  if (bytesRead != nullptr) *bytesRead = static_cast<std::uint32_t>(result);
  return true;
}

bool WriteFile(FileHandle file, const void* buffer, std::uint32_t size) {
  if (file < 0 || (buffer == nullptr && size > 0)) return false;
  const auto* bytes = static_cast<const char*>(buffer);
  while (size > 0) {
    const ssize_t result = ::write(file, bytes, size);
    if (result < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += result;
    size -= static_cast<std::uint32_t>(result);
  }
  return true;
}

void CloseFile(FileHandle file) {
  if (file >= 0) ::close(file);  // closing also drops the lock
}

}  // namespace orvendale::platform
