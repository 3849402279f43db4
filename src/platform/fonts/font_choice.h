#pragma once
// Which installed font a logical-font record draws with, told without drawing: for
// diagnostics. A run matches the same way when it first draws text.

#include <string>

#include "platform/drawing/graphics.h"

namespace orvendale::platform {

struct FontChoice {
  std::string askedFamily;      // the family asked for, after the table of installed equivalents
  std::string family;           // the first family name of the font that draws
  std::string file;             // its file
  bool familyInstalled = false; // the font that draws is of the family asked for
  bool genericFamily = false;   // the family asked for is a generic one ("sans-serif", "monospace")
};

// Matches `record` as a run does. False when fontconfig finds no font at all.
bool DescribeFontChoice(const LogicalFont& record, FontChoice* out);

}  // namespace orvendale::platform
