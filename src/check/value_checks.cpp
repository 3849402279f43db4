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
  for (int i = 0; i < context.document->count(); ++i) {
    const IniEntry& entry = context.document->entry(i);
    if (!IsSetting(entry)) continue;
    const std::string key = EntryText(entry.key);
    const std::string value = EntryText(entry.value);
    if (HasBlankEnd(key)) {
      report.Warn(entry.line, "the key " + Quote(key) +
                                  " begins or ends with a tab, which the reader keeps as part of the key");
    }
    if (HasBlankEnd(value)) {
      report.Warn(entry.line, "the value of " + Quote(key) + " is " + Quote(value) +
                                  ": it begins or ends with a tab (and the spaces beside it), which the "
                                  "reader keeps as part of the value");
    }
  }
}

}  // namespace orvendale
