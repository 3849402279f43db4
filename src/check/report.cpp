#include "check/report.h"

#include <algorithm>
#include <cstdio>

namespace orvendale {
namespace {

const char* SeverityName(Severity severity) {
  switch (severity) {
    case Severity::kNote: return "note";
    case Severity::kWarning: return "warning";
    case Severity::kError: return "error";
  }
  return "warning";
}

// The length of the valid UTF-8 sequence at `text`, 0 when it is not one.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  std::size_t length = 0;
  std::uint32_t codePoint = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0Fu;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07u;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[i]);
    if ((next & 0xC0) != 0x80) return 0;
    codePoint = codePoint << 6 | (next & 0x3Fu);
  }
  const bool overlong = (length == 3 && codePoint < 0x800) || (length == 4 && codePoint < 0x10000);
  const bool invalid = codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF);
  const bool c1Control = codePoint >= 0x80 && codePoint <= 0x9F;
  return overlong || invalid || c1Control ? 0 : length;
}

}  // namespace

void Report::Add(int line, Severity severity, std::string message) {
  findings_.push_back(Finding{line, severity, std::move(message), std::string()});
}

void Report::AddInFile(std::string file, int line, Severity severity, std::string message) {
  findings_.push_back(Finding{line, severity, std::move(message), std::move(file)});
}

std::vector<Finding> Report::Sorted() const {
  std::vector<Finding> sorted = findings_;
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const Finding& a, const Finding& b) {
                     const bool aOther = !a.file.empty();
                     const bool bOther = !b.file.empty();
                     if (aOther != bOther) return bOther;
                     if (a.file != b.file) return a.file < b.file;
                     return a.line < b.line;
                   });
  return sorted;
}

std::string FormatFinding(std::string_view fileName, const Finding& finding) {
  std::string text = Printable(finding.file.empty() ? fileName : std::string_view(finding.file));
  if (finding.line > 0) text += ":" + std::to_string(finding.line);
  text += ": ";
  text += SeverityName(finding.severity);
  text += ": ";
  text += finding.message;
  return text;
}

std::string Printable(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x20 && byte < 0x7F) {
      out += static_cast<char>(byte);
      ++i;
      continue;
    }
    if (byte >= 0x80) {
      const std::size_t length = Utf8SequenceLength(text.substr(i));
      if (length > 0) {
        out.append(text.substr(i, length));
        i += length;
        continue;
      }
    }
    if (byte == '\t') {
      out += "\\t";
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out += escaped;
    }
    ++i;
  }
  return out;
}

std::string Quote(std::string_view text) { return "'" + Printable(text) + "'"; }

}  // namespace orvendale
