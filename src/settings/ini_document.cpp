#include "settings/ini_document.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/system/text.h"
#include "settings/line_file.h"

namespace orvendale {
namespace {

constexpr int kFormatBufferSize = 256;  // one formatted line, terminator included
constexpr int kMaxLineLength = kFormatBufferSize - 1;
constexpr int kIntTextSize = 16;  // "-2147483648" and the terminator fit
constexpr int kValueTextSize = 256;

// A fresh copy of exactly strlen + 1 bytes; null for null or empty text, and when the
// heap is exhausted (the entry then reads as empty).
char* DuplicateString(const char* text) {
  if (text == nullptr || text[0] == 0) return nullptr;
  const std::size_t size = std::strlen(text) + 1;
  char* copy = new (std::nothrow) char[size];
  if (copy != nullptr) std::memcpy(copy, text, size);
  return copy;
}

// The wide text in the system code page, at most kValueTextSize - 1 bytes (cut after
// the last whole character that fits); null for null or empty text.
char* NarrowFromWide(const char16_t* text) {
  if (text == nullptr || text[0] == 0) return nullptr;
  char narrow[kValueTextSize];
  if (platform::NarrowFromWideCut(text, narrow, kValueTextSize) == 0) return nullptr;
  return DuplicateString(narrow);
}

char* FormatInt(std::int32_t value) {
  char text[kIntTextSize];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  return DuplicateString(text);
}

void ReleaseString(char*& text) {
  delete[] text;
  text = nullptr;
}

bool TextEquals(const char* a, const char* b) {
  return a != nullptr && b != nullptr && std::strcmp(a, b) == 0;
}

bool IsEmpty(const char* text) { return text == nullptr || text[0] == 0; }

bool IsKeyStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' '; }

// Trims spaces (0x20 only) from both ends of [begin, end) in place: trailing first, never
// reaching before `begin`, then leading. Returns the start of the trimmed text, which is
// terminated at its end.
char* TrimSpaces(char* begin, char* end) {
  while (end > begin && end[-1] == ' ') --end;
  *end = 0;
  while (*begin == ' ') ++begin;
  return begin;
}

}  // namespace

IniDocument::IniDocument(const char16_t* path) {
  if (path == nullptr) return;
  const int length = platform::WideLength(path);
  path_ = new (std::nothrow) char16_t[static_cast<std::size_t>(length) + 1];
  if (path_ != nullptr) platform::WideCopy(path_, length + 1, path);
}

IniDocument::~IniDocument() {
  Clear();
  delete[] path_;
}

void IniDocument::Clear() {
  for (int i = 0; i < count_; ++i) {
    IniEntry& entry = entries_[i];
    // One section string serves a whole run: release it at the run's last entry.
    const bool runEnds = i + 1 == count_ || entries_[i + 1].section != entry.section;
    if (runEnds) delete[] entry.section;
    entry.section = nullptr;
    ReleaseString(entry.key);
    ReleaseString(entry.value);
  }
  count_ = 0;
}

HResult IniDocument::Load(IniLoadFacts* facts) {
  if (path_ == nullptr) return E_FAIL;
  LineFile file;
  if (file.Open(path_, LineFileMode::ReadExisting) != S_OK) return E_FAIL;
  Clear();
  if (facts != nullptr) *facts = IniLoadFacts{};

  // The section string of the current header is the table's only once an entry refers
  // to it; a header with no stored line under it releases its own.
  char* section = nullptr;
  bool sectionStored = false;
  const auto openSection = [&](char* next) {
    if (!sectionStored) delete[] section;
    section = next;
    sectionStored = false;
  };

  char line[kLineBufferSize];
  int lineNumber = 0;
  while (file.ReadLine(line, kLineBufferSize) == S_OK) {
    ++lineNumber;
    if (facts != nullptr && file.LastLineCut()) facts->cutLines.push_back(lineNumber);
    if (line[0] == '[') {
      char* name = line + 1;
      char* close = std::strchr(name, ']');
      if (close != nullptr) *close = 0;
      if (facts != nullptr) {
        facts->headerLines.push_back(lineNumber);
        facts->headerNames.emplace_back(name);
      }
      openSection(DuplicateString(name));
      continue;
    }
    char* key = nullptr;
    char* value = nullptr;
    const bool keyLine = section != nullptr && IsKeyStart(line[0]);
    if (keyLine) {
      char* equals = std::strchr(line, '=');
      if (equals == nullptr) {  // a key line without "=" ends loading
        if (facts != nullptr) {
          facts->stopLine = lineNumber;
          while (file.ReadLine(line, kLineBufferSize) == S_OK) ++facts->linesAfterStop;
        }
        break;
      }
      char* valueEnd = equals + std::strlen(equals);
      key = DuplicateString(TrimSpaces(line, equals));
      value = DuplicateString(TrimSpaces(equals + 1, valueEnd));
    } else {
      value = DuplicateString(line);
    }
    // Once the table is full, lines are still read and dropped.
    if (AppendEntry(section, key, value) == S_OK) {
      sectionStored = true;
      entries_[count_ - 1].line = lineNumber;
      entries_[count_ - 1].fromKeyLine = keyLine;
    } else if (facts != nullptr && facts->droppedLines++ == 0) {
      facts->firstDroppedLine = lineNumber;
    }
  }
  openSection(nullptr);
  file.Close();
  return S_OK;
}

HResult IniDocument::Save() {
  if (path_ == nullptr) return E_FAIL;
  LineFile file;
  if (file.Open(path_, LineFileMode::WriteReplace) != S_OK) return E_FAIL;

  // Every line is cut to kMaxLineLength bytes, the most a line holds when it is read
  // back; snprintf cuts and terminates within the buffer.
  char line[kFormatBufferSize];
  const char* lastHeader = nullptr;
  for (int i = 0; i < count_; ++i) {
    const IniEntry& entry = entries_[i];
    if (entry.section != nullptr && entry.section != lastHeader) {
      std::snprintf(line, sizeof line, "[%s]", entry.section);
      file.WriteLine(line);
      lastHeader = entry.section;
    } else if (entry.section == nullptr && lastHeader != nullptr) {
      // Lines without a section that follow a section (they lay under an empty "[]"
      // header) get that header back, or loading would file them under the section
      // before them.
      file.WriteLine("[]");
      lastHeader = nullptr;
    }
    if (entry.key == nullptr) {
      // A kept line under a section that begins like a key line or a header came from a
      // line whose key was empty after trimming (" =text"); written as it stands it would
      // read back as a key line without "=", which ends loading, or as a header. Written
      // with an empty key, it reads back as the same kept line.
      if (entry.section != nullptr && entry.value != nullptr &&
          (IsKeyStart(entry.value[0]) || entry.value[0] == '[')) {
        std::snprintf(line, sizeof line, " =%s", entry.value);
        file.WriteLine(line);
      } else {
        file.WriteLine(entry.value);
      }
      continue;
    }
    // A key that leaves no room for "=" would read back as a line without "=" and end
    // loading there; such an entry (made only by a setter) is not written.
    if (std::strlen(entry.key) >= static_cast<std::size_t>(kMaxLineLength)) continue;
    // A key that does not begin with a letter was read from a line that began with
    // spaces; written after one space it reads back as the same key rather than as a
    // kept line or a header.
    const char* keyLead = IsKeyStart(entry.key[0]) ? "" : " ";
    // snprintf cuts the line and terminates it; only its failure writes nothing.
    if (std::snprintf(line, sizeof line, "%s%s=%s", keyLead, entry.key,
                      entry.value != nullptr ? entry.value : "") < 0) {
      continue;
    }
    file.WriteLine(line);
  }
  file.Close();
  return S_OK;
}

int IniDocument::FindKey(const char* section, const char* key) const {
  if (IsEmpty(section) || IsEmpty(key)) return -1;
  for (int i = 0; i < count_; ++i) {
    if (TextEquals(entries_[i].section, section) && TextEquals(entries_[i].key, key)) return i;
  }
  return -1;
}

std::int32_t IniDocument::GetInt(const char* section, const char* key,
                                 std::int32_t defaultValue) const {
  const int index = FindKey(section, key);
  if (index < 0) return defaultValue;
  return platform::DecimalToInt(entries_[index].value);  // no value gives 0
}

int IniDocument::GetWideString(const char* section, const char* key, char16_t* out, int capacity,
                               const char16_t* defaultValue) const {
  if (out == nullptr || capacity < 1) return 0;
  out[0] = 0;
  const int index = FindKey(section, key);
  if (index >= 0) {
    if (entries_[index].value == nullptr) return 0;
    return platform::WideFromNarrow(entries_[index].value, out, capacity);
  }
  if (defaultValue == nullptr) return 0;
  const int length = platform::WideLength(defaultValue);
  if (length > capacity - 1) return 0;
  return platform::WideCopy(out, capacity, defaultValue);
}

int IniDocument::GetString(const char* section, const char* key, char* out, int capacity,
                           const char* defaultValue) const {
  if (out == nullptr || capacity < 1) return 0;
  out[0] = 0;
  const int index = FindKey(section, key);
  const char* text = index >= 0 ? entries_[index].value : defaultValue;
  if (text == nullptr) return 0;
  const std::size_t length = std::strlen(text);
  if (length > static_cast<std::size_t>(capacity - 1)) return 0;
  std::memcpy(out, text, length + 1);
  return static_cast<int>(length);
}

void IniDocument::SetInt(const char* section, const char* key, std::int32_t value) {
  SetValue(section, key, FormatInt(value));
}

void IniDocument::SetWideString(const char* section, const char* key, const char16_t* value) {
  SetValue(section, key, NarrowFromWide(value));
}

void IniDocument::SetString(const char* section, const char* key, const char* value) {
  SetValue(section, key, DuplicateString(value));
}

void IniDocument::SetValue(const char* section, const char* key, char* value) {
  if (IsEmpty(section) || IsEmpty(key)) {
    delete[] value;
    return;
  }
  const int index = FindKey(section, key);
  if (index >= 0) {
    delete[] entries_[index].value;
    entries_[index].value = value;
    return;
  }
  InsertEntry(section, DuplicateString(key), value);  // on a full table, nothing changes
}

int IniDocument::FindSectionInsertPoint(const char* section) const {
  int first = 0;
  while (first < count_ && !TextEquals(entries_[first].section, section)) ++first;
  if (first == count_) return -1;
  // The run is told by string identity: a later header of the same name starts another.
  const char* run = entries_[first].section;
  int lastKey = -1;
  int last = first;
  for (int i = first; i < count_ && entries_[i].section == run; ++i) {
    if (entries_[i].key != nullptr) lastKey = i;
    last = i;
  }
  return lastKey >= 0 ? lastKey : last;
}

HResult IniDocument::AppendEntry(char* section, char* key, char* value) {
  if (count_ == kMaxIniEntries) {
    delete[] key;
    delete[] value;
    return E_FAIL;
  }
  entries_[count_++] = IniEntry{section, key, value};
  return S_OK;
}

HResult IniDocument::InsertEntry(const char* section, char* key, char* value) {
  if (count_ == kMaxIniEntries) {
    delete[] key;
    delete[] value;
    return E_FAIL;
  }
  const int after = FindSectionInsertPoint(section);
  if (after < 0) {
    char* newSection = DuplicateString(section);
    if (newSection == nullptr) {  // only when the heap is exhausted
      delete[] key;
      delete[] value;
      return E_FAIL;
    }
    return AppendEntry(newSection, key, value);
  }
  for (int i = count_; i > after + 1; --i) entries_[i] = entries_[i - 1];
  entries_[after + 1] = IniEntry{entries_[after].section, key, value};
  ++count_;
  return S_OK;
}

}  // namespace orvendale
