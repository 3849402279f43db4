// The settings file as a whole: empty, a byte-order mark, UTF-16 text, binary data.
// What a run does with a mark is read from the document it loaded, so the findings
// follow the loader whatever it makes of them.

#include <cstring>
#include <string>

#include "check/checks.h"

namespace orvendale {
namespace {

constexpr unsigned char kUtf8Mark[] = {0xEF, 0xBB, 0xBF};
constexpr int kLeadingBytes = 4096;

bool StartsWith(const unsigned char* bytes, int count, const unsigned char* prefix, int length) {
  return count >= length && std::memcmp(bytes, prefix, static_cast<std::size_t>(length)) == 0;
}

bool DocumentHasSettings(const IniDocument& document) {
  for (int i = 0; i < document.count(); ++i) {
    if (document.entry(i).key != nullptr) return true;
  }
  return false;
}

}  // namespace

void CheckFileEncoding(const CheckContext& context, Report& report) {
  if (context.file.size == 0) {
    report.Warn(0, "the file is empty: a run reads no settings and draws no picture");
    return;
  }
  unsigned char start[kLeadingBytes];
  const int count = platform::ReadFileStart(context.hostPath.c_str(), start, kLeadingBytes);
  const IniDocument& document = *context.document;

  if (StartsWith(start, count, kUtf8Mark, 3)) {
    const char* first = document.count() > 0 ? document.entry(0).value : nullptr;
    if (first != nullptr && std::strncmp(first, reinterpret_cast<const char*>(kUtf8Mark), 3) == 0) {
      report.Warn(1, "the file begins with a UTF-8 byte-order mark, which a run reads as part of the "
                     "first line: " + Quote(first + 3) +
                     " is not a section header, and the lines under it belong to no section; "
                     "save the file as UTF-8 without the mark");
    } else {
      report.Note(1, "the file begins with a UTF-8 byte-order mark; a run skips it");
    }
    return;
  }
  const bool littleEndian = count >= 2 && start[0] == 0xFF && start[1] == 0xFE;
  const bool bigEndian = count >= 2 && start[0] == 0xFE && start[1] == 0xFF;
  if (littleEndian || bigEndian) {
    const std::string form = littleEndian ? "UTF-16 (little endian)" : "UTF-16 (big endian)";
    if (DocumentHasSettings(document)) {
      report.Note(0, "the file is " + form + " text; a run reads it as the same text in UTF-8");
    } else {
      report.Warn(0, "the file is " + form + " text, which a run does not read: it finds no "
                     "settings in it; save the file as UTF-8");
    }
    return;
  }
  if (std::memchr(start, 0, static_cast<std::size_t>(count)) != nullptr) {
    report.Warn(0, "the file holds NUL bytes and is not text: a run reads each line only up to "
                   "its first NUL byte");
  }
}

}  // namespace orvendale
