#include "check/settings_scan.h"

#include <cstring>
#include <memory>

#include "settings/ini_document.h"
#include "settings/line_file.h"

namespace orvendale {
namespace {

// Lines are read whole up to this, enough to tell every line longer than the 255 bytes
// the document keeps; a longer line is still read as one (its rest is dropped).
constexpr int kScanLineCapacity = 4096;
constexpr std::size_t kKeptLineBytes = kLineBufferSize - 1;

std::string TrimSpaces(std::string text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

bool Same(const char* stored, const std::string& scanned) {
  return stored == nullptr ? scanned.empty() : scanned == stored;
}

}  // namespace

bool StartsKeyLine(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == ' '; }

int SettingsScan::LineOf(const std::string& section, const std::string& key) const {
  if (!matchesDocument || section.empty() || key.empty()) return 0;
  for (const ScannedEntry& entry : entries) {
    if (entry.isKey && entry.hasSection && entry.section == section && entry.key == key) return entry.line;
  }
  return 0;
}

SettingsScan ScanSettings(const char16_t* path, const IniDocument& document) {
  SettingsScan scan;
  LineFile file;
  if (file.Open(path, LineFileMode::ReadExisting) != S_OK) return scan;

  const auto line = std::make_unique<char[]>(kScanLineCapacity);
  bool inSection = false;
  std::string section;
  int storedCount = 0;
  while (file.ReadLine(line.get(), kScanLineCapacity) == S_OK) {
    const int number = ++scan.lineCount;
    if (scan.stopLine != 0) {
      ++scan.linesAfterStop;
      continue;
    }
    std::string text(line.get());
    if (text.size() > kKeptLineBytes) {
      scan.cutLines.push_back(number);
      text.resize(kKeptLineBytes);
    }
    if (!text.empty() && text[0] == '[') {
      const std::size_t close = text.find(']');
      section = text.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      inSection = !section.empty();  // "[]" closes the current section
      scan.headerLines.push_back(number);
      scan.headerNames.push_back(section);
      continue;
    }
    ScannedEntry entry;
    entry.line = number;
    entry.hasSection = inSection;
    entry.section = inSection ? section : std::string();
    if (inSection && !text.empty() && StartsKeyLine(text[0])) {
      const std::size_t equals = text.find('=');
      if (equals == std::string::npos) {
        scan.stopLine = number;
        continue;
      }
      entry.isKey = true;
      entry.key = TrimSpaces(text.substr(0, equals));
      entry.value = TrimSpaces(text.substr(equals + 1));
    } else {
      entry.value = text;
    }
    if (storedCount == kMaxIniEntries) {
      if (scan.droppedLines++ == 0) scan.firstDroppedLine = number;
      continue;
    }
    ++storedCount;
    scan.entries.push_back(std::move(entry));
  }
  file.Close();

  scan.matchesDocument = static_cast<int>(scan.entries.size()) == document.count();
  for (int i = 0; scan.matchesDocument && i < document.count(); ++i) {
    const IniEntry& stored = document.entry(i);
    const ScannedEntry& scanned = scan.entries[static_cast<std::size_t>(i)];
    scan.matchesDocument = (stored.section != nullptr) == scanned.hasSection &&
                           Same(stored.section, scanned.section) &&
                           (stored.key != nullptr || !scanned.isKey || scanned.key.empty()) &&
                           Same(stored.key, scanned.key) && Same(stored.value, scanned.value);
  }
  return scan;
}

}  // namespace orvendale
