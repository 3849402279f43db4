#include "imagefile/image_folder.h"

#include "platform/system/text.h"

namespace orvendale {

char16_t ImageFolder[kPathCapacity] = {};

namespace {

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

}  // namespace

bool ResolveInImageFolder(const char16_t* name, char16_t* path) {
  path[0] = 0;
  if (name == nullptr) return false;
  const int nameLength = platform::WideLength(name);
  const int folderLength = IsSeparator(name[0]) ? 0 : platform::WideLength(ImageFolder);
  if (folderLength + nameLength > kPathCapacity - 1) return false;
  platform::WideCopy(path, kPathCapacity, folderLength > 0 ? ImageFolder : u"");
  platform::WideAppend(path, kPathCapacity, name);
  return true;
}

}  // namespace orvendale
