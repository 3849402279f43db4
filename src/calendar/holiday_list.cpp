#include "calendar/holiday_list.h"

#include "calendar/packed_date.h"

namespace orvendale {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr int kLeapYear = 2000;  // an every-year date may be February 29
constexpr std::size_t kMonthCount = (kLastYear - kFirstYear + 1) * kMonthsPerYear;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The number written by `count` digits at `at` of `text`, or -1.
int Digits(std::string_view text, std::size_t at, std::size_t count) {
  if (text.size() < at + count) return -1;
  int value = 0;
  for (std::size_t i = at; i < at + count; ++i) {
    if (!IsDigit(text[i])) return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// A date ends the line or is followed by a blank and a name.
bool EndsAt(std::string_view text, std::size_t at) {
  return text.size() == at || (text.size() > at && IsBlank(text[at]));
}

std::uint32_t DayBit(int day) { return std::uint32_t{1} << (day - 1); }

// The bits of the days that `month` of `year` has.
std::uint32_t MonthDays(int year, int month) {
  const int days = DaysInMonth(static_cast<std::int16_t>(month), static_cast<std::int16_t>(year));
  return days == 0 ? 0 : (std::uint32_t{1} << days) - 1;  // days <= 31
}

}  // namespace

void HolidayList::Parse(std::string_view text) {
  *this = HolidayList();
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  int lineNumber = 0;
  while (!text.empty()) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    AddLine(line, ++lineNumber);
    if (end == std::string_view::npos) break;
    // CR LF is one line end; a lone CR or LF is one too.
    const std::size_t next = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? end + 2 : end + 1;
    text.remove_prefix(next);
  }
}

void HolidayList::AddLine(std::string_view line, int lineNumber) {
  std::size_t start = 0;
  while (start < line.size() && IsBlank(line[start])) ++start;
  line.remove_prefix(start);
  if (line.empty() || line[0] == '#' || line[0] == ';') return;

  int year = 0, month = -1, day = -1;
  if (Digits(line, 0, 4) >= 0 && line.size() > 4 && line[4] == '-' && line.size() > 7 && line[7] == '-' &&
      EndsAt(line, 10)) {
    year = Digits(line, 0, 4);
    month = Digits(line, 5, 2);
    day = Digits(line, 8, 2);
  } else if (line.size() > 2 && line[2] == '-' && EndsAt(line, 5)) {
    month = Digits(line, 0, 2);
    day = Digits(line, 3, 2);
  }
  const int daysInMonth =
      month < 0 || day < 1 ? 0
                           : DaysInMonth(static_cast<std::int16_t>(month), static_cast<std::int16_t>(year == 0 ? kLeapYear : year));
  if (day < 1 || day > daysInMonth) {
    ++skippedLines_;
    if (firstSkippedLine_ == 0) firstSkippedLine_ = lineNumber;
    return;
  }
  ++entries_;
  if (year == 0) {
    everyYear_[month - 1] |= DayBit(day);
    return;
  }
  if (dated_.empty()) dated_.assign(kMonthCount, 0);
  dated_[(year - kFirstYear) * kMonthsPerYear + month - 1] |= DayBit(day);
}

std::uint32_t HolidayList::MonthMask(int year, int month) const {
  const std::uint32_t days = MonthDays(year, month);
  if (days == 0) return 0;
  std::uint32_t mask = everyYear_[month - 1];
  if (!dated_.empty()) mask |= dated_[(year - kFirstYear) * kMonthsPerYear + month - 1];
  return mask & days;
}

}  // namespace orvendale
