// The settings document over arbitrary file bytes: loading, every getter on every key
// the file holds, a setter, and saving. Saving and loading again must give back the
// same table: a line that does not survive its own round trip is a line lost. A file of
// valid UTF-8 without a mark must load into the same table as its UTF-16 twin (little or
// big endian by the first byte, with the mark), as Windows editors save it.

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "settings/ini_document.h"

namespace orvendale {
namespace {

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

bool SameText(const char* a, const char* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return std::strcmp(a, b) == 0;
}

// Same sections (by name, and runs where the first table shares a string), keys and
// values, entry by entry.
bool SameTable(const IniDocument& a, const IniDocument& b) {
  if (a.count() != b.count()) return false;
  for (int i = 0; i < a.count(); ++i) {
    const IniEntry& x = a.entry(i);
    const IniEntry& y = b.entry(i);
    if (!SameText(x.section, y.section) || !SameText(x.key, y.key) || !SameText(x.value, y.value)) {
      return false;
    }
    if (i > 0 && (x.section == a.entry(i - 1).section) != (y.section == b.entry(i - 1).section)) {
      return false;
    }
  }
  return true;
}

// Every getter on one key, with a capacity that fits and one that is one too small;
// nothing may be written past the capacity and every result must be terminated.
void ExerciseGetters(const IniDocument& document, const char* section, const char* key) {
  document.GetInt(section, key, 7);
  for (int capacity : {1, 2, 8, 64, 256}) {
    std::vector<char16_t> wide(static_cast<std::size_t>(capacity));
    const int units = document.GetWideString(section, key, wide.data(), capacity, u"default");
    Check(units >= 0 && units <= capacity);
    Check(std::char_traits<char16_t>::find(wide.data(), wide.size(), 0) != nullptr);

    std::vector<char> narrow(static_cast<std::size_t>(capacity));
    const int bytes = document.GetString(section, key, narrow.data(), capacity, "default");
    Check(bytes >= 0 && bytes < capacity);
    Check(std::strlen(narrow.data()) == static_cast<std::size_t>(bytes));
  }
}

// The UTF-16 bytes of `text`, with the mark; false when `text` is not valid UTF-8
// (overlong forms, surrogates and values beyond U+10FFFF included).
bool Utf16Twin(const std::uint8_t* text, std::size_t size, bool bigEndian, std::string* out) {
  const auto put = [&](std::uint32_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    out->push_back(bigEndian ? high : low);
    out->push_back(bigEndian ? low : high);
  };
  put(0xFEFF);
  for (std::size_t i = 0; i < size;) {
    const std::uint8_t lead = text[i];
    int length = 0;
    std::uint32_t c = 0;
    std::uint32_t least = 0;
    if (lead < 0x80) {
      length = 1, c = lead;
    } else if (lead >= 0xC2 && lead < 0xE0) {
      length = 2, c = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead < 0xF0) {
      length = 3, c = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead < 0xF5) {
      length = 4, c = lead & 0x07, least = 0x10000;
    } else {
      return false;
    }
    if (size - i < static_cast<std::size_t>(length)) return false;
    for (int k = 1; k < length; ++k) {
      if ((text[i + k] & 0xC0) != 0x80) return false;
      c = c << 6 | (text[i + k] & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(length);
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  return true;
}

}  // namespace
}  // namespace orvendale

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvendale;
  const std::string hostPath = fuzzing::Scratch().Path("settings.ini");
  const std::u16string path = fuzzing::PlatformPath(hostPath);
  fuzzing::WriteHostFile(hostPath, data, size);

  auto document = std::make_unique<IniDocument>(path.c_str());
  Check(document->Load() == S_OK);
  Check(document->count() >= 0 && document->count() <= kMaxIniEntries);
  for (int i = 0; i < document->count(); ++i) {
    const IniEntry& entry = document->entry(i);
    if (entry.key != nullptr) ExerciseGetters(*document, entry.section, entry.key);
  }
  ExerciseGetters(*document, "Image", "Width");

  // The UTF-16 twin of a file without a mark loads into the same table.
  std::string twin;
  const bool marked = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
  if (!marked && Utf16Twin(data, size, size > 0 && (data[0] & 1) != 0, &twin)) {
    const std::string twinPath = fuzzing::Scratch().Path("twin.ini");
    fuzzing::WriteHostFile(twinPath, reinterpret_cast<const std::uint8_t*>(twin.data()), twin.size());
    const std::u16string platformTwin = fuzzing::PlatformPath(twinPath);
    auto fromTwin = std::make_unique<IniDocument>(platformTwin.c_str());
    Check(fromTwin->Load() == S_OK);
    Check(SameTable(*document, *fromTwin));
  }

  // Round trip: the saved file loads into the same table.
  Check(document->Save() == S_OK);
  auto reloaded = std::make_unique<IniDocument>(path.c_str());
  Check(reloaded->Load() == S_OK);
  Check(SameTable(*document, *reloaded));

  // A value set where the table has room reads back, also after saving and loading.
  const bool room = document->count() < kMaxIniEntries;
  std::int32_t number = 0;
  std::memcpy(&number, data, size < sizeof number ? size : sizeof number);
  document->SetInt("Fuzz", "Number", number);
  if (room) Check(document->GetInt("Fuzz", "Number", number ^ 1) == number);
  Check(document->Save() == S_OK);
  reloaded = std::make_unique<IniDocument>(path.c_str());
  Check(reloaded->Load() == S_OK);
  Check(SameTable(*document, *reloaded));
  if (room) Check(reloaded->GetInt("Fuzz", "Number", number ^ 1) == number);
  return 0;
}
