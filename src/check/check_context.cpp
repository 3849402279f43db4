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
  return scan != nullptr ? scan->LineOf(section, key) : 0;
}

const char* CheckContext::Value(const char* section, const char* key) const {
  const IniEntry* entry = Find(section, key);
  if (entry == nullptr) return nullptr;
  return entry->value != nullptr ? entry->value : "";
}

std::string CheckContext::PictureType() const {
  char type[kContentTypeCapacity];
  if (document == nullptr ||
      document->GetString("Contents", "Type", type, kContentTypeCapacity, nullptr) == 0) {
    return std::string();
  }
  for (const char* known : {"CalendarHeader", "Calendar", "Date", "Agenda"}) {
    if (std::strcmp(type, known) == 0) return known;
  }
  return std::string();
}

}  // namespace orvendale
