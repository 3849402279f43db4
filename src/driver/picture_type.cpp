#include "driver/picture_type.h"

#include <cstring>

namespace orvendale {
namespace {

constexpr PictureTypeInfo kNoPicture = {PictureType::kNone, "", false, false, false, false, false, false, "a"};

}  // namespace

PictureType ParsePictureType(const char* contentType) {
  if (contentType == nullptr) return PictureType::kNone;
  for (const PictureTypeInfo& info : kPictureTypes) {
    if (std::strcmp(contentType, info.name) == 0) return info.type;
  }
  return PictureType::kNone;
}

const PictureTypeInfo& InfoOf(PictureType type) {
  for (const PictureTypeInfo& info : kPictureTypes) {
    if (info.type == type) return info;
  }
  return kNoPicture;
}

}  // namespace orvendale
