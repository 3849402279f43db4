#pragma once
// What every check of a settings file may look at: the document exactly as a run loads
// it (each entry with its line), what loading cut, dropped or stopped at, the facts of the file, and what a run made of the
// settings when it was tried in memory (paths composed, picture drawn or not).

#include <cstdint>
#include <string>

#include "driver/picture_type.h"
#include "platform/system/file_info.h"
#include "platform/types.h"
#include "settings/ini_document.h"

namespace orvendale {

// What the run, tried without writing anything, did.
struct RunPreview {
  bool settingsLoaded = false;
  std::u16string imageFolder;  // [Image] Path as image placement sees it
  std::u16string outputPath;   // empty when the run composed none
  bool pictureDrawn = false;   // a renderer returned a picture
  std::int32_t width = 0;
  std::int32_t height = 0;
};

struct CheckContext {
  std::string fileName;  // the settings file as the user named it
  const char16_t* settingsPath = nullptr;
  std::string hostPath;
  platform::FileFacts file;
  const IniDocument* document = nullptr;
  const IniLoadFacts* loadFacts = nullptr;
  DateRecord today;
  RunPreview preview;

  // The stored entry the getters find for section/key (the first), or null.
  const IniEntry* Find(const char* section, const char* key) const;
  // The line of that entry; 0 when unknown.
  int LineOf(const char* section, const char* key) const;
  // The entry's value as stored ("" for none), or null when the key is absent.
  const char* Value(const char* section, const char* key) const;
  // The picture [Contents] Type selects; PictureType::kNone when it selects none.
  PictureType Picture() const;
  // Its row: its name ("" for none) and what it reads.
  const PictureTypeInfo& PictureInfo() const { return InfoOf(Picture()); }
};

// A stored string as text: "" for none (the document stores empty text as null).
inline std::string EntryText(const char* text) { return text != nullptr ? std::string(text) : std::string(); }

// An entry read from a key line inside a section; its key is null when it was empty.
inline bool IsSetting(const IniEntry& entry) { return entry.fromKeyLine && entry.section != nullptr; }

}  // namespace orvendale
