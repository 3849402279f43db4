#include "imagefile/image_folder.h"

namespace orvendale {

char16_t ImageFolder[kPathCapacity] = {};

}  // namespace orvendale
