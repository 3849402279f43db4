#include "check/check_context.h"

#include <cstring>

#include "driver/run.h"

namespace orvendale {

const IniEntry* CheckContext::Find(const char* section, const char* key) const {
  if (document == nullptr) return nullptr;
  for (int i = 0; i < document->count(); ++i) {
    const IniEntry& entry = document->entry(i);
    if (entry.section != nullptr && entry.key != nullptr && std::strcmp(entry.section, section) == 0 &&
        std::strcmp(entry.key, key) == 0) {
      return &entry;
    }
  }
  return nullptr;
}

int CheckContext::LineOf(const char* section, const char* key) const {
  const IniEntry* entry = Find(section, key);
  return entry != nullptr ? entry->line : 0;
}

const char* CheckContext::Value(const char* section, const char* key) const {
  const IniEntry* entry = Find(section, key);
  if (entry == nullptr) return nullptr;
  return entry->value != nullptr ? entry->value : "";
}

PictureType CheckContext::Picture() const {
  // Read as a run reads it: a value too long for the buffer selects nothing.
  char type[kContentTypeCapacity];
  if (document == nullptr ||
      document->GetString("Contents", "Type", type, kContentTypeCapacity, nullptr) == 0) {
    return PictureType::kNone;
  }
  return ParsePictureType(type);
}

}  // namespace orvendale
