#pragma once
// The settings file read again, line by line, as the settings document reads it, but
// keeping what the document does not: the line number of each entry, and what loading
// cut, dropped or stopped at. A run never scans; only the check does.

#include <string>
#include <vector>

namespace orvendale {

class IniDocument;

// One entry as the document stores it, with the line it came from.
struct ScannedEntry {
  int line = 0;
  bool hasSection = false;
  std::string section;
  bool isKey = false;  // a "key=value" line; otherwise a kept line (comment, blank, ...)
  std::string key;     // trimmed of spaces as the document trims it
  std::string value;   // the value (trimmed of spaces), or a kept line's whole text
};

struct SettingsScan {
  std::vector<ScannedEntry> entries;  // the entries the document holds, at most 256
  std::vector<int> headerLines;       // the line of every section header, in order
  std::vector<std::string> headerNames;
  std::vector<int> cutLines;          // lines longer than 255 bytes, read as their first 255
  int stopLine = 0;                   // a key line without "=": loading ended there (0: none)
  int linesAfterStop = 0;             // lines the document never read, counted on
  int firstDroppedLine = 0;           // the first line past the 256th entry (0: none)
  int droppedLines = 0;               // entries dropped past the 256th
  int lineCount = 0;                  // lines read up to the stop, or all
  // The scan and the document hold the same entries in the same order, so the line
  // numbers belong to the document's entries. When they differ (the document reads
  // something the scan does not), findings are given without line numbers.
  bool matchesDocument = false;

  // The line of the entry the document's getters find for `section` and `key` (the
  // first one); 0 when there is none or line numbers are not known.
  int LineOf(const std::string& section, const std::string& key) const;
};

// Scans the file at platform path `path`. Reads it as the document does (through the
// same line reader) and at most the whole file; keeps at most 256 entries.
SettingsScan ScanSettings(const char16_t* path, const IniDocument& document);

// Whether the document's own reader treats the first byte of a line inside a section as
// the start of a key line: a letter or a space.
bool StartsKeyLine(char c);

}  // namespace orvendale
