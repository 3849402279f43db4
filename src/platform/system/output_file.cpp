#include "platform/system/output_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/fault_injection.h"
#include "platform/system/file.h"  // HostPathFromPlatformPath

namespace orvendale::platform {
namespace {

// As many links as the system itself follows in one path before it gives up.
constexpr int kMaxLinkHops = 40;

// The mode a newly created output gets: what open(..., 0666) would give under the
// process's umask. The umask can only be read by setting it; this runs on the one
// thread that writes files.
mode_t NewFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

std::string FolderOf(const std::string& path) {
  const std::size_t lastSlash = path.rfind('/');
  return lastSlash == std::string::npos ? std::string() : path.substr(0, lastSlash + 1);
}

// The file that `path` names once every symbolic link of its last component is followed
// (links in the folders above it the system follows anyway). The file need not exist: a
// link to a missing file gives that file's path. False for a loop of links, a link that
// cannot be read, or a folder that cannot be searched; `*found` tells whether the file
// exists, and `*status` then describes it.
bool FollowLinks(std::string path, std::string* target, struct stat* status, bool* found) {
  for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
    if (::lstat(path.c_str(), status) != 0) {
      if (errno != ENOENT) return false;
      *target = path;
      *found = false;
      return true;
    }
    if (!S_ISLNK(status->st_mode)) {
      *target = path;
      *found = true;
      return true;
    }
    std::array<char, kMaxHostPathBytes> link;
    const ssize_t length = ::readlink(path.c_str(), link.data(), link.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= link.size()) return false;
    const std::string next(link.data(), static_cast<std::size_t>(length));
    // A relative link is relative to the folder that holds the link.
    path = next[0] == '/' ? next : FolderOf(path) + next;
  }
  errno = ELOOP;  // as the system says of a chain it will not follow
  return false;
}

// True when the user running the tool may write the file (by its effective ids; root
// may write every file of a writable filesystem).
bool MayWrite(const std::string& path) {
  return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// Moves `size` bytes by calling `step(done)` until all are through; `step` makes one system
// call for the bytes from `done` on and returns what it moved (-1 with errno). An
// interrupted call is made again; an error or a call that moves nothing fails.
template <typename Step>
bool TransferAll(std::size_t size, Step step) {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t moved = step(done);
    if (moved < 0 && errno == EINTR) continue;
    if (moved <= 0) return false;
    done += static_cast<std::size_t>(moved);
  }
  return true;
}

bool WriteAll(int file, const unsigned char* bytes, std::size_t size) {
  return TransferAll(size, [&](std::size_t done) { return ::write(file, bytes + done, size - done); });
}

bool WriteAllAt(int file, const unsigned char* bytes, std::size_t size, off_t offset) {
  return TransferAll(size, [&](std::size_t done) {
    return ::pwrite(file, bytes + done, size - done, offset + static_cast<off_t>(done));
  });
}

bool ReadAllAt(int file, unsigned char* bytes, std::size_t size, off_t offset) {
  return TransferAll(size, [&](std::size_t done) {
    return ::pread(file, bytes + done, size - done, offset + static_cast<off_t>(done));
  });
}

// While it lives, a write beyond the process's file size limit fails with EFBIG instead
// of ending the process with SIGXFSZ, which would leave a temporary file behind or a file
// half rewritten.
class FileSizeSignalIgnored {
 public:
  FileSizeSignalIgnored() {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    saved_ = ::sigaction(SIGXFSZ, &ignore, &previous_) == 0;
  }
  ~FileSizeSignalIgnored() {
    if (saved_) ::sigaction(SIGXFSZ, &previous_, nullptr);
  }
  FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
  FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

 private:
  struct sigaction previous_ {};
  bool saved_ = false;
};

// False when the file cannot grow to `size` bytes: beyond the process's file size limit,
// or no room on the disk for the blocks it lacks. Nothing about the file changes; a
// filesystem that cannot reserve room is given the benefit of the doubt.
bool ReserveRoom(int file, std::size_t size) {
  struct rlimit limit;
  if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      size > limit.rlim_cur) {
    return false;
  }
  if (size == 0) return true;
  int result;
  do {
    result = ::fallocate(file, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(size));
  } while (result != 0 && errno == EINTR);
  return result == 0 || (errno != ENOSPC && errno != EDQUOT && errno != EFBIG);
}

}  // namespace

struct OutputFile::State {
  Method method = Method::kNone;
  bool failed = false;
  int file = -1;               // the temporary file, or the output opened in place
  std::string targetPath;      // the file that gets the picture (links followed)
  std::string temporaryPath;   // empty once renamed or never made
  std::vector<unsigned char> picture;  // the whole picture, for the in-place rewrite
  FileSizeSignalIgnored fileSizeSignal;

  ~State() {
    if (file >= 0) ::close(file);
    if (!temporaryPath.empty()) ::unlink(temporaryPath.c_str());
  }

  bool OpenTemporary() {
    if (ShouldFail(FaultPoint::kCreateTemporaryFile)) {
      errno = EACCES;
      return false;
    }
    std::string pattern = FolderOf(targetPath) + ".image-XXXXXX";
    const int made = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (made < 0) return false;
    file = made;
    temporaryPath = pattern;
    method = Method::kReplace;
    return true;
  }

  // The existing output itself, opened for writing without sharing; for reading too when
  // the user may, so that its old bytes can be put back after a failed write.
  bool OpenInPlace(const struct stat& expected) {
    int opened;
    do {
      opened = ::open(targetPath.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
      if (opened < 0 && errno == EACCES) {
        opened = ::open(targetPath.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
      }
    } while (opened < 0 && errno == EINTR);
    if (opened < 0) return false;
    file = opened;
    // Still the file that was examined, and no other opener holds it.
    struct stat status;
    if (::fstat(file, &status) != 0 || !S_ISREG(status.st_mode) || status.st_dev != expected.st_dev ||
        status.st_ino != expected.st_ino || ::flock(file, LOCK_EX | LOCK_NB) != 0) {
      return false;
    }
    method = Method::kInPlace;
    return true;
  }

  bool CommitReplace() {
    // An existing output keeps its permissions; a new one gets those of a new file.
    struct stat existing;
    const mode_t mode = ::stat(targetPath.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)
                            ? (existing.st_mode & 07777)
                            : NewFileMode();
    // No fsync before the rename: readers already see the old picture or the new one
    // whole, the filesystem orders a replacing rename after its data, and a sync would
    // double the cost of a run and wear the flash of small devices that redraw often.
    const bool written = ::fchmod(file, mode) == 0;
    const bool closed = ::close(file) == 0;
    file = -1;
    if (!written || !closed) return false;
    if (::rename(temporaryPath.c_str(), targetPath.c_str()) != 0) return false;
    temporaryPath.clear();
    return true;
  }

  bool CommitInPlace() {
    struct stat status;
    if (::fstat(file, &status) != 0 || status.st_size < 0) return false;
    const std::size_t oldSize = static_cast<std::size_t>(status.st_size);
    const std::size_t newSize = picture.size();
    if (!ReserveRoom(file, newSize)) return false;

    // The old bytes the picture overwrites, to put back if writing fails part-way; a
    // file the user may write but not read cannot be restored.
    std::vector<unsigned char> old;
    const std::size_t overwritten = oldSize < newSize ? oldSize : newSize;
    try {
      old.resize(overwritten);
    } catch (const std::bad_alloc&) {
      return false;
    }
    const bool oldKept = ReadAllAt(file, old.data(), overwritten, 0);

    const std::size_t accepted = ShouldFail(FaultPoint::kRewriteInPlace) ? newSize / 2 : newSize;
    if (!WriteAllAt(file, picture.data(), accepted, 0) || accepted < newSize) {
      // The old bytes go back over the part written, and the file is cut to its old
      // length; where that fails too, nothing more can be done.
      const bool putBack = oldKept && WriteAllAt(file, old.data(), overwritten, 0);
      const bool cutBack = ::ftruncate(file, static_cast<off_t>(oldSize)) == 0;
      static_cast<void>(putBack && cutBack);
      return false;
    }
    const bool cut = newSize >= oldSize || ::ftruncate(file, static_cast<off_t>(newSize)) == 0;
    const bool closed = ::close(file) == 0;
    file = -1;
    return cut && closed;
  }
};

OutputFile::OutputFile() = default;
OutputFile::~OutputFile() = default;

OutputLinks FindOutputTarget(const char* hostPath, std::string* target) {
  if (hostPath == nullptr || hostPath[0] == 0) return OutputLinks::kUnreachable;
  struct stat status;
  bool found = false;
  if (FollowLinks(hostPath, target, &status, &found)) return OutputLinks::kFound;
  return errno == ELOOP ? OutputLinks::kLinkLoop : OutputLinks::kUnreachable;
}

OutputFile::Method OutputFile::method() const {
  return state_ ? state_->method : Method::kNone;
}

bool OutputFile::Open(const char16_t* platformPath) {
  state_.reset();
  std::array<char, kMaxHostPathBytes> hostPath;
  if (!HostPathFromPlatformPath(platformPath, hostPath.data(), kMaxHostPathBytes)) return false;
  const std::string path = hostPath.data();
  if (path.back() == '/') return false;  // no file name

  auto state = std::unique_ptr<State>(new (std::nothrow) State);
  if (!state) return false;
  struct stat status;
  bool exists = false;
  if (!FollowLinks(path, &state->targetPath, &status, &exists)) return false;
  if (exists) {
    if (S_ISDIR(status.st_mode)) return false;
    // A file the user may not write keeps its content, whoever owns its folder.
    if (!MayWrite(state->targetPath)) return false;
  }
  if (!state->OpenTemporary()) {
    // Only a folder the user may not write calls for the rewrite in place, and only of a
    // regular file that is there already.
    const bool folderClosed = errno == EACCES || errno == EPERM;
    if (!folderClosed || !exists || !S_ISREG(status.st_mode) || !state->OpenInPlace(status)) {
      return false;
    }
  }
  state_ = std::move(state);
  return true;
}

bool OutputFile::Write(const void* data, std::size_t size) {
  if (!state_ || state_->failed) return false;
  const auto* bytes = static_cast<const unsigned char*>(data);
  if (state_->method == Method::kInPlace) {
    try {
      state_->picture.insert(state_->picture.end(), bytes, bytes + size);
    } catch (const std::bad_alloc&) {
      state_->failed = true;
    }
  } else {
    state_->failed = !WriteAll(state_->file, bytes, size);
  }
  return !state_->failed;
}

bool OutputFile::Commit() {
  if (!state_ || state_->failed || state_->file < 0) return false;
  const bool committed =
      state_->method == Method::kInPlace ? state_->CommitInPlace() : state_->CommitReplace();
  state_->failed = !committed;
  return committed;
}

}  // namespace orvendale::platform
