#pragma once
// A user's own list of holidays as plain text, one entry a line:
//   YYYY-MM-DD [name]   that day
//   MM-DD [name]        that day of every year
// A name, if any, follows the date after a space or a tab and is not used. Lines end in
// CR LF, LF or CR; leading spaces and tabs are ignored; blank lines and lines beginning
// with "#" or ";" are comments. Any other line, and a date that is not a real day of
// 1904..2031, is skipped. A UTF-8 byte-order mark at the start is ignored.

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace orvendale {

class HolidayList {
 public:
  // Reads `text`, replacing what the list held. Work is linear in the text's length.
  void Parse(std::string_view text);

  // The listed days of `month` (1-12) of `year` as a bit mask (bit d - 1 for day d);
  // 0 for a month outside 1904..2031.
  std::uint32_t MonthMask(int year, int month) const;

  int entries() const { return entries_; }                   // dates read
  int skippedLines() const { return skippedLines_; }         // lines neither date nor comment
  int firstSkippedLine() const { return firstSkippedLine_; }  // 1-based; 0 when none

 private:
  void AddLine(std::string_view line, int lineNumber);

  std::array<std::uint32_t, 12> everyYear_{};
  std::vector<std::uint32_t> dated_;  // one mask per month of 1904..2031, made on first use
  int entries_ = 0;
  int skippedLines_ = 0;
  int firstSkippedLine_ = 0;
};

}  // namespace orvendale
