// [Contents] FirstDay, WeekNumbers, OtherMonthDays, Rows and Direction: words a run does
// not know, values too long to be a word, options that the picture type does not use, and
// FirstDay=locale or Direction=locale without a locale to take the weekday or the
// direction from.

#include <cstring>
#include <optional>
#include <span>
#include <string>

#include "check/checks.h"
#include "check/known_keys.h"
#include "render/grid_options.h"
#include "platform/system/text.h"
#include "render/locale_names.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

constexpr const char* kFirstDayWords[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "locale"};
constexpr const char* kWeekdayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};

// One option: its key, what it accepts, what a run does without a known word.
struct GridOption {
  const char* key;
  const char* words;     // for the message: "ISO or US"
  const char* fallback;  // what a run does instead: "draws no week numbers"
  bool (*known)(const char* word);
  std::span<const char* const> candidates;
};

constexpr const char* kWeekNumberWords[] = {"ISO", "US"};
constexpr const char* kOtherMonthWords[] = {"show"};
constexpr const char* kRowWords[] = {"auto"};
constexpr const char* kDirectionWords[] = {"ltr", "rtl", "locale"};

constexpr GridOption kOptions[] = {
    {Setting("Contents", "FirstDay").key, "Sun, Mon, Tue, Wed, Thu, Fri, Sat or locale", "starts the week on Sunday",
     [](const char* word) { return ParseFirstDay(word).has_value(); }, kFirstDayWords},
    {Setting("Contents", "WeekNumbers").key, "ISO or US", "draws no week numbers",
     [](const char* word) { return ParseWeekNumbers(word).has_value(); }, kWeekNumberWords},
    {Setting("Contents", "OtherMonthDays").key, "show", "leaves the days of the neighbouring months out",
     [](const char* word) { return ParseOtherMonthDays(word).has_value(); }, kOtherMonthWords},
    {Setting("Contents", "Rows").key, "auto", "draws six week rows", [](const char* word) { return ParseRows(word).has_value(); },
     kRowWords},
    {"Direction", "ltr, rtl or locale", "runs the columns left to right",
     [](const char* word) { return ParseDirection(word).has_value(); }, kDirectionWords},
};


// The word the value most likely means: the nearest by spelling, else a word the value
// begins with ("Monday" means "Mon").
std::string Suggestion(const std::string& value, std::span<const char* const> candidates) {
  std::string nearest = NearestName(value, candidates);
  if (!nearest.empty()) return nearest;
  for (const char* candidate : candidates) {
    const std::size_t length = std::strlen(candidate);
    if (value.size() <= length) continue;
    std::size_t i = 0;
    while (i < length && platform::LowerAscii(value[i]) == platform::LowerAscii(candidate[i])) ++i;
    if (i == length) return candidate;
  }
  return std::string();
}

void CheckWord(const CheckContext& context, const GridOption& option, Report& report) {
  const char* value = context.Value("Contents", option.key);
  if (value == nullptr) return;
  const int line = context.LineOf("Contents", option.key);
  const std::string what = std::string("[Contents] ") + option.key;
  const std::size_t length = std::strlen(value);
  if (length == 0) {
    report.Note(line, what + " is empty: a run " + option.fallback);
    return;
  }
  if (length > kGridOptionCapacity - 1) {
    report.Warn(line, what + " is " + std::to_string(length) + " bytes long, more than the " +
                          std::to_string(kGridOptionCapacity - 1) + " a run reads: it reads no word and " +
                          option.fallback);
    return;
  }
  if (option.known(value)) return;
  std::string message = what + " " + Quote(value) + " is not " + option.words + ": a run " + option.fallback;
  const std::string suggestion = Suggestion(value, option.candidates);
  if (!suggestion.empty()) message += "; did you mean " + Quote(suggestion) + "?";
  report.Warn(line, message);
}

// The options shape the month grid only.
void CheckPictureType(const CheckContext& context, const GridOption& option, Report& report) {
  const PictureTypeInfo& picture = context.PictureInfo();
  if (picture.type == PictureType::kNone || picture.isMonthGrid || context.Value("Contents", option.key) == nullptr) {
    return;
  }
  const std::string type = picture.name;
  report.Note(context.LineOf("Contents", option.key),
              std::string("[Contents] ") + option.key + " shapes the month grid only: a " + type +
                  " picture does not use it");
}

// FirstDay=locale takes the first weekday of [Contents] Locale; without a usable locale
// the week starts on Sunday.
void CheckLocaleFirstDay(const CheckContext& context, Report& report) {
  const char* value = context.Value("Contents", "FirstDay");
  // "locale" in any letter case, as the grid reads FirstDay.
  if (!platform::KeywordEquals(value, "locale") || context.document == nullptr) return;
  const int line = context.LineOf("Contents", "FirstDay");
  LocaleSetting locale;
  ReadLocaleSetting(*context.document, locale);
  if (locale.state == LocaleState::kAbsent) {
    report.Warn(line, "[Contents] FirstDay " + Quote(value) +
                          " takes the first weekday of [Contents] Locale, but there is no Locale: a run "
                          "starts the week on Sunday");
  } else if (locale.state != LocaleState::kKnown) {
    report.Warn(line, "[Contents] FirstDay " + Quote(value) + " takes the first weekday of [Contents] Locale " +
                          Quote(locale.value) + ", which a run cannot use (line " +
                          std::to_string(context.LineOf("Contents", "Locale")) + "): it starts the week on Sunday");
  }
}

// Direction=locale follows the script of [Contents] Locale; without a usable locale the
// columns run left to right.
void CheckLocaleDirection(const CheckContext& context, Report& report) {
  const char* value = context.Value("Contents", "Direction");
  if (!platform::KeywordEquals(value, "locale") || context.document == nullptr) return;
  LocaleSetting locale;
  ReadLocaleSetting(*context.document, locale);
  if (locale.state == LocaleState::kKnown) return;
  report.Note(context.LineOf("Contents", "Direction"),
              "[Contents] Direction " + Quote(value) +
                  (locale.state == LocaleState::kAbsent ? std::string(" follows [Contents] Locale, but there is no Locale")
                                                        : " follows [Contents] Locale " + Quote(locale.value) +
                                                              ", which a run cannot use") +
                  ": the columns run left to right");
}

}  // namespace

void CheckGridOptions(const CheckContext& context, Report& report) {
  for (const GridOption& option : kOptions) {
    CheckWord(context, option, report);
    CheckPictureType(context, option, report);
  }
  CheckLocaleFirstDay(context, report);
  CheckLocaleDirection(context, report);
}

}  // namespace orvendale
