#pragma once
// Helpers the checks share for drawn text.

#include <string>

#include "check/report.h"

namespace orvendale {

// The length of UTF-8 text in UTF-16 units, as a run reads it into its buffers.
int WideTextLength(const char* text);

// Warns about each "&" in `text` that a run does not draw: "&" followed by a character
// hides itself and underlines that character ("&&" draws one "&"; a lone "&" at the end
// is drawn).
void CheckPrefixCharacters(const char* text, const std::string& what, int line, Report& report);

}  // namespace orvendale
