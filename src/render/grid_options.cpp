#include "render/grid_options.h"

#include <iterator>

#include "calendar/text_settings.h"
#include "platform/system/text.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

// True when `word` spells `known` in any letter case; a null word matches nothing.
bool SameWord(const char* word, const char* known) { return word != nullptr && platform::KeywordEquals(word, known); }

// The option's value, or empty text when the key is absent, empty or longer than any
// word (GetString gives empty text then).
struct OptionWord {
  char text[kGridOptionCapacity] = {};
};

OptionWord ReadWord(const IniDocument& document, const char* section, const char* key) {
  OptionWord word;
  document.GetString(section, key, word.text, kGridOptionCapacity, nullptr);
  return word;
}

}  // namespace

std::optional<std::int16_t> ParseFirstDay(const char* word) {
  // The first day of the week of the [Contents] Locale; Sunday without one.
  if (SameWord(word, "locale")) {
    const std::int32_t localeDay = textSettings.localeFirstWeekday;
    return static_cast<std::int16_t>(localeDay >= 0 && localeDay < 7 ? localeDay : 0);
  }
  for (std::size_t weekday = 0; weekday < std::size(kWeekdayNameKeys); ++weekday) {
    if (SameWord(word, kWeekdayNameKeys[weekday].key)) return static_cast<std::int16_t>(weekday);
  }
  return std::nullopt;
}

std::optional<WeekNumbering> ParseWeekNumbers(const char* word) {
  if (SameWord(word, "ISO")) return WeekNumbering::kIso;
  if (SameWord(word, "US")) return WeekNumbering::kUs;
  return std::nullopt;
}

std::optional<NeighbourDays> ParseOtherMonthDays(const char* word) {
  if (SameWord(word, "show")) return NeighbourDays::kShown;
  return std::nullopt;
}

std::optional<WeekRows> ParseRows(const char* word) {
  if (SameWord(word, "auto")) return WeekRows::kAsNeeded;
  return std::nullopt;
}

std::optional<ColumnOrder> ParseDirection(const char* word) {
  if (SameWord(word, "ltr")) return ColumnOrder::kLeftToRight;
  if (SameWord(word, "rtl")) return ColumnOrder::kRightToLeft;
  if (SameWord(word, "locale")) {
    return textSettings.localeRightToLeft == 1 ? ColumnOrder::kRightToLeft : ColumnOrder::kLeftToRight;
  }
  return std::nullopt;
}

GridOptions ReadGridOptions(const IniDocument& document, const char* section) {
  const GridOptions defaults;
  GridOptions options;
  options.firstDay = ParseFirstDay(ReadWord(document, section, Setting("Contents", "FirstDay").key).text).value_or(defaults.firstDay);
  options.weekNumbers =
      ParseWeekNumbers(ReadWord(document, section, Setting("Contents", "WeekNumbers").key).text).value_or(defaults.weekNumbers);
  options.otherMonthDays =
      ParseOtherMonthDays(ReadWord(document, section, Setting("Contents", "OtherMonthDays").key).text).value_or(defaults.otherMonthDays);
  options.rows = ParseRows(ReadWord(document, section, Setting("Contents", "Rows").key).text).value_or(defaults.rows);
  options.direction = ParseDirection(ReadWord(document, section, Setting("Contents", "Direction").key).text).value_or(defaults.direction);
  return options;
}

}  // namespace orvendale
