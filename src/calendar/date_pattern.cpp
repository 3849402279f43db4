#include "calendar/date_pattern.h"

#include <span>

#include "calendar/packed_date.h"
#include "calendar/text_settings.h"

namespace orvendale {
namespace {

constexpr int kMaxLength = kPatternCapacity - 1;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The output under construction: appends are cut at kMaxLength units, and the text is
// terminated once at the end.
class PatternOutput {
 public:
  explicit PatternOutput(std::span<char16_t, kPatternCapacity> buffer) : buffer_(buffer) {}

  // Appends one unit, `next` being the unit that will follow it; false once the text
  // has been cut. A high surrogate goes in only when its low partner still fits behind
  // it, so a cut never leaves half a character.
  bool Append(char16_t unit, char16_t next) {
    const int needed = IsHighSurrogate(unit) && IsLowSurrogate(next) ? 2 : 1;
    if (length_ + needed > kMaxLength) {
      cut_ = true;
      return false;
    }
    buffer_[static_cast<std::size_t>(length_++)] = unit;
    return true;
  }

  // Appends the terminated text held in `slot`, never reading past the slot.
  void AppendName(std::span<const char16_t> slot) {
    for (std::size_t i = 0; i < slot.size() && slot[i] != 0; ++i) {
      const char16_t next = i + 1 < slot.size() ? slot[i + 1] : char16_t{0};
      if (!Append(slot[i], next)) return;
    }
  }

  // Appends `value` in decimal, at least `minimumDigits` digits with leading zeros.
  void AppendNumber(unsigned value, int minimumDigits) {
    char16_t digits[10];
    int count = 0;
    do {
      digits[count++] = static_cast<char16_t>(u'0' + value % 10);
      value /= 10;
    } while (value != 0);
    while (count < minimumDigits) digits[count++] = u'0';
    while (count > 0) {
      if (!Append(digits[--count], 0)) return;
    }
  }

  void Terminate() { buffer_[static_cast<std::size_t>(length_)] = 0; }
  bool cut() const { return cut_; }

 private:
  std::span<char16_t, kPatternCapacity> buffer_;
  int length_ = 0;
  bool cut_ = false;
};

bool IsPatternLetter(char16_t unit) { return unit == u'd' || unit == u'M' || unit == u'y' || unit == u'g'; }

// True when the pattern writes the day of the month: a run of one or two d.
bool WritesDayNumber(const char16_t* pattern) {
  for (const char16_t* cursor = pattern; *cursor != 0;) {
    int run = 0;
    while (*cursor == u'd') {
      ++run;
      ++cursor;
    }
    if (run == 1 || run == 2) return true;
    if (run == 0) ++cursor;
  }
  return false;
}

}  // namespace

void ExpandDatePattern(const char16_t* pattern, const DateRecord& date,
                       std::span<char16_t, kPatternCapacity> out) {
  const std::int16_t weekday =
      WeekdayOf(CutTo16Bits(date.month), CutTo16Bits(date.day), CutTo16Bits(date.year));  // [0, 6]
  const bool monthHasName = date.month >= 1 && date.month <= kMonthsPerYear;
  const std::size_t monthIndex = monthHasName ? date.month - 1u : 0;

  const char16_t* cursor = pattern != nullptr ? pattern : u"";
  // A language that declines month names writes "20 marca" but "marzec 2026".
  const bool monthBesideDay = textSettings.monthNamesWithDayGiven != 0 && WritesDayNumber(cursor);
  const auto& shortMonthNames = monthBesideDay ? textSettings.shortMonthNamesWithDay : textSettings.shortMonthNames;
  const auto& longMonthNames = monthBesideDay ? textSettings.longMonthNamesWithDay : textSettings.longMonthNames;

  PatternOutput output(out);
  while (*cursor != 0 && !output.cut()) {
    const char16_t letter = *cursor;
    if (!IsPatternLetter(letter)) {
      output.Append(letter, cursor[1]);
      ++cursor;
      continue;
    }
    int run = 0;
    while (*cursor == letter) {
      ++run;
      ++cursor;
    }
    switch (letter) {
      case u'd':
        if (run <= 2) {
          output.AppendNumber(date.day, run);
        } else if (run == 3) {
          output.AppendName(textSettings.shortWeekdayNames[weekday]);
        } else {
          output.AppendName(textSettings.longWeekdayNames[weekday]);
        }
        break;
      case u'M':
        if (run <= 2) {
          output.AppendNumber(date.month, run);
        } else if (!monthHasName) {
          // No name to write: the record holds no month of the year.
        } else if (run == 3) {
          output.AppendName(shortMonthNames[monthIndex]);
        } else {
          output.AppendName(longMonthNames[monthIndex]);
        }
        break;
      case u'y':
        if (run <= 2) {
          output.AppendNumber(date.year % 100u, 2);
        } else {
          output.AppendNumber(date.year, 1);
        }
        break;
      default:  // g: an era, which this calendar does not name
        break;
    }
  }
  output.Terminate();
}

}  // namespace orvendale
