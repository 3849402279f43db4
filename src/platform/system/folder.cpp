#include "platform/system/folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvendale::platform {
namespace {

bool EndsWith(const char* name, const char* suffix) {
  const std::size_t nameLength = std::strlen(name);
  const std::size_t suffixLength = std::strlen(suffix);
  return nameLength > suffixLength && strcasecmp(name + nameLength - suffixLength, suffix) == 0;
}

class Directory {
 public:
  explicit Directory(const char* path) : directory_(opendir(path)) {}
  ~Directory() {
    if (directory_ != nullptr) closedir(directory_);
  }
  Directory(const Directory&) = delete;
  Directory& operator=(const Directory&) = delete;
  DIR* get() const { return directory_; }

 private:
  DIR* directory_;
};

class Descriptor {
 public:
  explicit Descriptor(int descriptor) : descriptor_(descriptor) {}
  ~Descriptor() {
    if (descriptor_ >= 0) close(descriptor_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return descriptor_; }

 private:
  int descriptor_;
};

}  // namespace

FolderListing ListFolder(const char* hostPath, const char* suffix, std::size_t maxNames, std::size_t maxEntries,
                         std::vector<std::string>* names) {
  names->clear();
  if (hostPath == nullptr || hostPath[0] == 0) return FolderListing::kNotAFolder;
  struct stat status;
  if (::stat(hostPath, &status) != 0 || !S_ISDIR(status.st_mode)) return FolderListing::kNotAFolder;
  const Directory directory(hostPath);
  if (directory.get() == nullptr) return FolderListing::kUnreadable;
  FolderListing listing = FolderListing::kListed;
  std::size_t entries = 0;
  while (const dirent* entry = readdir(directory.get())) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    if (++entries > maxEntries) {
      listing = FolderListing::kCut;
      break;
    }
    if (EndsWith(entry->d_name, suffix)) names->emplace_back(entry->d_name);
  }
  std::sort(names->begin(), names->end());
  if (names->size() > maxNames) {
    names->resize(maxNames);
    listing = FolderListing::kCut;
  }
  return listing;
}

WholeFile ReadWholeFile(const char* hostPath, std::size_t maxBytes, std::string* text) {
  text->clear();
  if (hostPath == nullptr || hostPath[0] == 0) return WholeFile::kUnreadable;
  // Non-blocking: a named pipe is refused below instead of waited on.
  const Descriptor file(open(hostPath, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (file.get() < 0) return WholeFile::kUnreadable;
  struct stat status;
  if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return WholeFile::kUnreadable;
  if (static_cast<std::uint64_t>(status.st_size) > maxBytes) return WholeFile::kTooLarge;
  text->resize(static_cast<std::size_t>(status.st_size));
  std::size_t got = 0;
  while (got < text->size()) {
    const ssize_t read = ::read(file.get(), text->data() + got, text->size() - got);
    if (read < 0 && errno == EINTR) continue;
    if (read < 0) {
      std::string().swap(*text);
      return WholeFile::kUnreadable;
    }
    if (read == 0) break;  // the file shrank while it was read
    got += static_cast<std::size_t>(read);
  }
  text->resize(got);
  return WholeFile::kRead;
}

}  // namespace orvendale::platform
