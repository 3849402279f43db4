#pragma once
// A settings file in INI form, held in memory line by line so that it can be written
// back in file order, with typed getters and setters.
//
// Lines are read by their first byte: "[" opens a section (the name runs to the first
// "]"; an empty name closes the current section); inside a section a line beginning
// with a letter or a space is a key line, split at its first "=" and trimmed of spaces;
// every other line is kept as it is. A key line without "=" ends loading. At most
// kMaxIniEntries entries are held; later lines are read and dropped.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/types.h"

namespace orvendale {

inline constexpr int kMaxIniEntries = 256;

// One line of the file. Every string is owned by the document, never empty (an empty
// text is stored as null), and the section string is shared by all entries of one run
// of lines under one header.
struct IniEntry {
  char* section = nullptr;  // null before the first header
  char* key = nullptr;      // null for a kept line
  char* value = nullptr;    // a key line's value, or a kept line's whole text
  int line = 0;             // the line of the file it was read from, from 1; 0 when set
  // Read from a key line: also when its key was empty after trimming (" =x"), which
  // leaves the key null and the entry kept like any other line.
  bool fromKeyLine = false;
};

// What loading met beyond the entries it keeps, for a caller that reports on the file
// (a run never asks). Lines count from 1; 0 means none.
struct IniLoadFacts {
  std::vector<int> headerLines;           // the line of every section header, in order
  std::vector<std::string> headerNames;   // its name ("" for "[]")
  std::vector<int> cutLines;              // lines longer than 255 bytes, read as their first 255
  int stopLine = 0;                       // a key line without "=": loading ended there
  int linesAfterStop = 0;                 // the lines after it, counted but not read
  int firstDroppedLine = 0;               // the first line past the table's last entry
  int droppedLines = 0;                   // the lines dropped there (headers do not count)
};

class IniDocument {
 public:
  // A document for the file at `path` (copied); null gives a document whose Load and
  // Save fail.
  explicit IniDocument(const char16_t* path);
  ~IniDocument();
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // Reads the file, releasing what the table held before. S_OK, also when loading
  // stopped early; E_FAIL when there is no path or the file cannot be opened (the table
  // is then untouched). Lines are read as LineFile reads them: at most 255 bytes each.
  // With `facts`, also records there what loading cut, dropped and stopped at, and counts
  // the lines after a stop; the table is the same either way.
  HResult Load(IniLoadFacts* facts = nullptr);
  // Writes the table to the file, replacing its content; every line ends in CR LF.
  // A line longer than 255 bytes is written cut to its first 255 bytes, which is all that
  // loading would read of it; a key entry whose key alone is 255 bytes or longer (only
  // setters make one) is left out, since cut it would lose its "=" and end loading.
  // Entries without a section that follow a section are preceded by an empty header
  // "[]", so that loading keeps them out of that section. Every loaded line reads back
  // as the same entry: a key that does not begin with a letter (read from a line that
  // began with spaces) is written after one space, and a kept line under a section that
  // would read back as a key line or a header (the value of a line whose key was empty)
  // is written after " =". E_FAIL when there is no path
  // or the file cannot be opened for writing.
  HResult Save();
  // Releases every string of the table; count becomes 0.
  void Clear();

  // True when the section holds the key, with a value or without one.
  bool HasKey(const char* section, const char* key) const { return FindKey(section, key) >= 0; }
  // The value's decimal conversion; `defaultValue` when the key is absent, 0 when it is
  // present with an empty value.
  std::int32_t GetInt(const char* section, const char* key, std::int32_t defaultValue) const;
  // The value converted to UTF-16 into `out`: the units written including the
  // terminator, or 0 when it does not fit `capacity`. A present key with an empty value
  // gives empty text and 0. An absent key gives `defaultValue` (its length, terminator
  // not counted) or, without a default, empty text and 0. A default that does not fit
  // `capacity` gives empty text and 0, as a value does. Writes at most `capacity` units.
  int GetWideString(const char* section, const char* key, char16_t* out, int capacity,
                    const char16_t* defaultValue) const;
  // As GetWideString with narrow text and no conversion; returns the length in bytes.
  // A value or default that does not fit `capacity` gives empty text and 0. Writes at
  // most `capacity` bytes.
  int GetString(const char* section, const char* key, char* out, int capacity,
                const char* defaultValue) const;

  // Replace the value of an existing key, or insert the key after the last key of the
  // section's first run, or append a new section at the end. Nothing changes for an
  // empty section or key, or when the table is full. An empty value is stored as none
  // (saved as "key="). SetWideString cuts a value whose narrow form exceeds 255 bytes
  // after the last whole character that fits.
  void SetInt(const char* section, const char* key, std::int32_t value);
  void SetWideString(const char* section, const char* key, const char16_t* value);
  void SetString(const char* section, const char* key, const char* value);

  int count() const { return count_; }
  const IniEntry& entry(int index) const { return entries_[index]; }

 private:
  int FindKey(const char* section, const char* key) const;
  int FindSectionInsertPoint(const char* section) const;
  // Both take over `key` and `value`, releasing them when the table is full (E_FAIL).
  // AppendEntry stores `section` as given; InsertEntry shares the run's string or makes
  // a copy of the name for a new run at the end.
  HResult AppendEntry(char* section, char* key, char* value);
  HResult InsertEntry(const char* section, char* key, char* value);
  void SetValue(const char* section, const char* key, char* value);

  char16_t* path_ = nullptr;
  IniEntry entries_[kMaxIniEntries];
  int count_ = 0;
};

}  // namespace orvendale
