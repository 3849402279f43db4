#pragma once
// The layout options of the month grid, all keys of the content section, each read
// forgivingly: letter case does not matter, and an absent, empty, overlong or unknown
// value gives the default, which is the grid as it always was.
//
//   FirstDay        Sun | Mon | ... | Sat    weekday of the first column (Sun);
//                   locale                   the first day of the [Contents] Locale's week
//   WeekNumbers     ISO | US                 a column of week numbers left of the days (none)
//   OtherMonthDays  show                     days of the neighbouring months in the empty
//                                            cells (hidden)
//   Rows            auto                     only the week rows the month needs (six)
//   Direction       ltr | rtl | locale       the order of the columns: with rtl the first
//                                            day stands in the rightmost column and the
//                                            week numbers right of the days; locale is rtl
//                                            when the [Contents] Locale is written right
//                                            to left (ltr)
//
// Each Parse function answers whether its word is one it knows (an empty optional when
// not), so that a check of the settings can name a word that was not recognised.

#include <cstdint>
#include <optional>

namespace orvendale {

class IniDocument;

enum class WeekNumbering { kNone, kIso, kUs };
enum class NeighbourDays { kHidden, kShown };
enum class WeekRows { kSix, kAsNeeded };
enum class ColumnOrder { kLeftToRight, kRightToLeft };

struct GridOptions {
  std::int16_t firstDay = 0;  // weekday of the first column, 0 = Sunday .. 6 = Saturday
  WeekNumbering weekNumbers = WeekNumbering::kNone;
  NeighbourDays otherMonthDays = NeighbourDays::kHidden;
  WeekRows rows = WeekRows::kSix;
  ColumnOrder direction = ColumnOrder::kLeftToRight;
};

// Longest value any option word can have, terminator included: a longer value is no
// known word.
inline constexpr int kGridOptionCapacity = 16;

// The weekday, 0 = Sunday .. 6 = Saturday, that `word` names: one of the [ShortName]
// weekday keys "Sun" .. "Sat" in any letter case, or "locale" for
// textSettings.localeFirstWeekday (Sunday without a locale; read after LoadTextSettings).
// Empty for anything else, null included.
std::optional<std::int16_t> ParseFirstDay(const char* word);
// "ISO" or "US" in any letter case; empty for anything else.
std::optional<WeekNumbering> ParseWeekNumbers(const char* word);
// "show" in any letter case; empty for anything else.
std::optional<NeighbourDays> ParseOtherMonthDays(const char* word);
// "auto" in any letter case; empty for anything else.
std::optional<WeekRows> ParseRows(const char* word);

// "ltr" or "rtl" in any letter case, or "locale" for rtl when
// textSettings.localeRightToLeft is 1 (read after LoadTextSettings), else ltr. Empty for
// anything else, null included.
std::optional<ColumnOrder> ParseDirection(const char* word);

// The five options of section `section`, each the default where its word is not known.
GridOptions ReadGridOptions(const IniDocument& document, const char* section);

}  // namespace orvendale
