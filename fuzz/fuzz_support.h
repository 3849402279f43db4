#pragma once
// What the fuzz targets share: the check that stops a run on a broken property, a private
// folder under the system's temporary folder, made once per process and removed with
// everything in it when the process ends, and the conversions between host text and
// platform paths.

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvendale::fuzzing {

// Stops the run where a property does not hold, so that libFuzzer keeps the input.
inline void Check(bool condition) {
  if (!condition) __builtin_trap();
}

class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "orvendale-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }
  std::string Path(std::string_view name) const { return (root_ / name).string(); }

 private:
  std::filesystem::path root_;
};

// The one scratch folder of this process.
inline ScratchFolder& Scratch() {
  static ScratchFolder folder;
  return folder;
}

// Replaces the file at host path `path` with `size` bytes of `data`; aborts when it
// cannot, since every later check would be meaningless.
inline void WriteHostFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  if (std::fclose(file) != 0) std::abort();
}

// The platform path of an ASCII host path (the temporary folder's path is ASCII).
inline std::u16string PlatformPath(const std::string& hostPath) {
  return std::u16string(hostPath.begin(), hostPath.end());
}

}  // namespace orvendale::fuzzing
