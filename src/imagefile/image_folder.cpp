#include "imagefile/image_folder.h"

#include "platform/system/path.h"

namespace orvendale {

char16_t ImageFolder[kPathCapacity] = {};

bool ResolveInImageFolder(const char16_t* name, char16_t* path) {
  return platform::ResolvePath(ImageFolder, name, path, kPathCapacity);
}

}  // namespace orvendale
