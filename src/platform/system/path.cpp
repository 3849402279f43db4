#include "platform/system/path.h"

#include "platform/system/text.h"

namespace orvendale::platform {

bool IsPathSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool IsRootedPath(const char16_t* path) { return path != nullptr && IsPathSeparator(path[0]); }

bool JoinsWithoutSeparator(const char16_t* folder, const char16_t* name) {
  const int folderLength = WideLength(folder);
  return folderLength > 0 && WideLength(name) > 0 && !IsPathSeparator(folder[folderLength - 1]) &&
         !IsRootedPath(name);
}

bool ResolvePath(const char16_t* folder, const char16_t* name, char16_t* out, int capacity) {
  if (capacity < 1) return false;
  out[0] = 0;
  if (name == nullptr) return false;
  const int nameLength = WideLength(name);
  const int folderLength = IsRootedPath(name) ? 0 : WideLength(folder);
  if (folderLength + nameLength > capacity - 1) return false;
  WideCopy(out, capacity, folderLength > 0 ? folder : u"");
  WideAppend(out, capacity, name);
  return true;
}

}  // namespace orvendale::platform
