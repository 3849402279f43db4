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
#include "support/utf16_text.h"

namespace orvendale {
namespace {

using fuzzing::Check;

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
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto order = size > 0 && (data[0] & 1) != 0 ? testing::ByteOrder::kBigEndian : testing::ByteOrder::kLittleEndian;
  if (!marked && testing::TryUtf16Bytes(text, order, &twin)) {
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
