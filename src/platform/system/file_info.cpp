#include "platform/system/file_info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orvendale::platform {

FileFacts QueryHostFile(const char* hostPath) {
  FileFacts facts;
  if (hostPath == nullptr || hostPath[0] == 0) return facts;
  struct stat status;
  if (::stat(hostPath, &status) != 0) {
    facts.missingFolder = errno == ENOENT || errno == ENOTDIR;
    if (facts.missingFolder) {
      // Missing file or missing folder: the folder part decides.
      const char* slash = nullptr;
      for (const char* c = hostPath; *c != 0; ++c) {
        if (*c == '/') slash = c;
      }
      facts.missingFolder = false;
      if (slash != nullptr && slash != hostPath) {
        char folder[4096];
        const auto length = static_cast<std::size_t>(slash - hostPath);
        if (length < sizeof folder) {
          for (std::size_t i = 0; i < length; ++i) folder[i] = hostPath[i];
          folder[length] = 0;
          struct stat folderStatus;
          facts.missingFolder = ::stat(folder, &folderStatus) != 0 || !S_ISDIR(folderStatus.st_mode);
        }
      }
    }
    return facts;
  }
  if (S_ISREG(status.st_mode)) {
    facts.kind = FileKind::kRegular;
    facts.size = static_cast<std::uint64_t>(status.st_size);
  } else if (S_ISDIR(status.st_mode)) {
    facts.kind = FileKind::kFolder;
  } else {
    facts.kind = FileKind::kOther;
  }
  const int folderBits = facts.kind == FileKind::kFolder ? X_OK : 0;
  facts.readable = ::access(hostPath, R_OK | folderBits) == 0;
  facts.writable = ::access(hostPath, W_OK | folderBits) == 0;
  return facts;
}

int ReadFileStart(const char* hostPath, unsigned char* out, int capacity) {
  if (hostPath == nullptr || out == nullptr || capacity < 1) return 0;
  int file;
  do {
    file = ::open(hostPath, O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  } while (file < 0 && errno == EINTR);
  if (file < 0) return 0;
  struct stat status;
  int total = 0;
  if (::fstat(file, &status) == 0 && S_ISREG(status.st_mode)) {
    while (total < capacity) {
      const ssize_t got = ::read(file, out + total, static_cast<std::size_t>(capacity - total));
      if (got < 0 && errno == EINTR) continue;
      if (got <= 0) break;
      total += static_cast<int>(got);
    }
  }
  ::close(file);
  return total;
}

}  // namespace orvendale::platform
