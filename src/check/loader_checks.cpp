// What the loader cuts, drops or stops at: lines over 255 bytes, entries past the 256th,
// a key line without "=", lines before the first section header.

#include <cstring>
#include <string>

#include "check/checks.h"
#include "settings/line_file.h"

namespace orvendale {
namespace {

constexpr int kMaxLineBytes = kLineBufferSize - 1;

}  // namespace

void CheckLoaderLimits(const CheckContext& context, Report& report) {
  const IniLoadFacts& scan = *context.loadFacts;
  for (const int line : scan.cutLines) {
    report.Warn(line, "the line is longer than " + std::to_string(kMaxLineBytes) +
                          " bytes: a run reads its first " + std::to_string(kMaxLineBytes) +
                          " bytes and drops the rest" +
                          (line == scan.stopLine ? std::string(", and its '=' with it") : std::string()));
  }
  if (scan.stopLine != 0) {
    std::string message = "a line inside a section that begins with a letter or a space and has no "
                          "'=' ends the loading of the file";
    if (scan.linesAfterStop > 0) {
      message += ": the " + std::to_string(scan.linesAfterStop) + " line" +
                 (scan.linesAfterStop == 1 ? "" : "s") + " from line " +
                 std::to_string(scan.stopLine + 1) + " on " +
                 (scan.linesAfterStop == 1 ? "is" : "are") + " ignored";
    }
    message += "; make it a comment with ';' or add '='";
    report.Warn(scan.stopLine, message);
  }
  if (scan.droppedLines > 0) {
    report.Warn(scan.firstDroppedLine,
                "a file holds at most " + std::to_string(kMaxIniEntries) +
                    " lines that count (settings, comments and blank lines; headers do not): "
                    "this line and the " + std::to_string(scan.droppedLines - 1) +
                    " after it that count are ignored");
  }
  // Settings before the first header, or under an empty "[]", belong to no section. A
  // file of hundreds of them gets a few findings and a count, not hundreds.
  constexpr int kShownOutside = 5;
  int outside = 0;
  int lastLine = 0;
  for (int i = 0; i < context.document->count(); ++i) {
    const IniEntry& entry = context.document->entry(i);
    // Read inside a section, such a line would be a key line: one beginning with a
    // letter or a space.
    const char first = entry.value != nullptr ? entry.value[0] : 0;
    const bool keyStart = (first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z') || first == ' ';
    if (entry.section != nullptr || !keyStart) continue;
    if (std::strchr(entry.value, '=') == nullptr) continue;
    if (++outside <= kShownOutside) {
      report.Warn(entry.line, "the setting " + Quote(entry.value) +
                                  " stands before the first section header (or under '[]'): a run ignores it");
    }
    lastLine = entry.line;
  }
  if (outside > kShownOutside) {
    report.Warn(lastLine, std::to_string(outside - kShownOutside) +
                              " more settings outside any section, up to this line, are ignored as well");
  }
}

}  // namespace orvendale
