#include "check/path_text.h"

#include <vector>

#include "platform/system/file.h"
#include "platform/system/text.h"

namespace orvendale {

std::string NarrowPath(const std::u16string& path) {
  std::vector<char> out(path.size() * 3 + 1);
  if (platform::NarrowFromWide(path.c_str(), out.data(), static_cast<int>(out.size())) == 0) return std::string();
  // Shown as the system opens it, so that an editor or a shell can follow it.
  std::string text = out.data();
  for (char& c : text) {
    if (c == '\\') c = '/';
  }
  return text;
}

std::string HostPath(const std::u16string& path) {
  std::vector<char> out(platform::kMaxHostPathBytes);
  if (!platform::HostPathFromPlatformPath(path.c_str(), out.data(), static_cast<int>(out.size()))) {
    return std::string();
  }
  return out.data();
}

std::string HostFolder(const std::string& hostPath) {
  const std::size_t slash = hostPath.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return hostPath.substr(0, slash);
}

}  // namespace orvendale
