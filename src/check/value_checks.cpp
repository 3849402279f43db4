// Blanks the reader keeps: it trims spaces around keys and values, but not tabs and not
// the spaces that stand between a value and a tab.

#include <string>

#include "check/checks.h"

namespace orvendale {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

bool HasBlankEnd(const std::string& text) {
  return !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
}

}  // namespace

void CheckBlanksKept(const CheckContext& context, Report& report) {
  for (const ScannedEntry& entry : context.scan->entries) {
    if (!entry.isKey || !entry.hasSection) continue;
    if (HasBlankEnd(entry.key)) {
      report.Warn(entry.line, "the key " + Quote(entry.key) +
                                  " begins or ends with a tab, which the reader keeps as part of the key");
    }
    if (HasBlankEnd(entry.value)) {
      report.Warn(entry.line, "the value of " + Quote(entry.key) + " is " + Quote(entry.value) +
                                  ": it begins or ends with a tab (and the spaces beside it), which the "
                                  "reader keeps as part of the value");
    }
  }
}

}  // namespace orvendale
