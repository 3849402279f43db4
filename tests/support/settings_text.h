#pragma once
// A settings document made from text, as a run would load it: the text is written to a
// file in a fresh temporary folder, and the document loads that file.

#include <gtest/gtest.h>

#include <string>

#include "settings/ini_document.h"
#include "support/temp_directory.h"

namespace orvendale::testing {

class SettingsText {
 public:
  explicit SettingsText(const std::string& text) : document_(directory_.PlatformPath(kName).c_str()) {
    directory_.Write(kName, text);
    EXPECT_EQ(document_.Load(), S_OK) << text;
  }

  IniDocument& document() { return document_; }
  const IniDocument& document() const { return document_; }
  // The file's bytes now, after a Save say.
  std::string Bytes() const { return directory_.Read(kName); }

 private:
  static constexpr const char* kName = "settings.ini";
  TempDirectory directory_;  // made before the document, which names a file in it
  IniDocument document_;
};

}  // namespace orvendale::testing
