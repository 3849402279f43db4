#pragma once
// The findings of a settings check, and how they are printed: one a line, in the form
// compilers use so that editors can jump to them ("settings.ini:12: warning: ...").

#include <string>
#include <string_view>
#include <vector>

namespace orvendale {

enum class Severity { kNote, kWarning, kError };

struct Finding {
  int line = 0;  // 1 for the first line of the file; 0 for the file as a whole
  Severity severity = Severity::kWarning;
  std::string message;
  std::string file;  // another file the settings name, when the finding is about a line of it
};

class Report {
 public:
  void Add(int line, Severity severity, std::string message);
  void Warn(int line, std::string message) { Add(line, Severity::kWarning, std::move(message)); }
  void Note(int line, std::string message) { Add(line, Severity::kNote, std::move(message)); }
  void Error(int line, std::string message) { Add(line, Severity::kError, std::move(message)); }
  // A finding about line `line` of another file that the settings name (a holiday list),
  // printed with that file's name.
  void AddInFile(std::string file, int line, Severity severity, std::string message);

  // In file order: findings about the whole file first, then by line; findings of one
  // line keep the order in which they were made. Findings about other files follow,
  // each file's by line.
  std::vector<Finding> Sorted() const;
  bool Empty() const { return findings_.empty(); }

 private:
  std::vector<Finding> findings_;
};

// "name:line: severity: message" (without ":line" for line 0); the finding's own file
// instead of `fileName` when it has one.
std::string FormatFinding(std::string_view fileName, const Finding& finding);

// Text from a settings file made safe to print: quoted with '...', every control byte,
// every byte that is not part of valid UTF-8 and every C1 control written as \xNN (a tab
// as \t), so that no file can move a terminal's cursor or change its colours.
std::string Quote(std::string_view text);
// The same without the quotes.
std::string Printable(std::string_view text);

}  // namespace orvendale
