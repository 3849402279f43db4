#include "check/known_keys.h"

#include <algorithm>
#include <array>
#include <vector>

namespace orvendale {
namespace {

constexpr const char* kImageKeys[] = {"Path", "File", "Width", "Height", "MarginX", "MarginY"};
constexpr const char* kContentsKeys[] = {
    "Type", "Format", "Alignment", "Offset", "RasterX", "RasterY", "TodayImage",
    // Month grid layouts.
    "FirstDay", "WeekNumbers", "OtherMonthDays", "Rows",
    // Holiday sets.
    "Holidays", "HolidayFile",
    // Names in the user's language.
    "Locale",
    // The agenda.
    "Days", "Lines", "Clock"};
constexpr const char* kFontKeys[] = {"Face", "Font", "Height", "Size", "Weight"};
constexpr const char* kShortNameKeys[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat",
                                          "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                          "Aug", "Sep", "Oct", "Nov", "Dec", "Week"};
constexpr const char* kLongNameKeys[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat",
                                         "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul",
                                         "Aug", "Sep", "Oct", "Nov", "Dec", "NoEvents"};
constexpr const char* kTextKeys[] = {"Color", "SundayColor", "SaturdayColor", "TodayColor",
                                     "WeekNumberColor", "OtherMonthColor"};

constexpr const char* kEventsKeys[] = {"File1",  "File2",  "File3",  "File4",  "File5",  "File6",
                                       "File7",  "File8",  "Color1", "Color2", "Color3", "Color4",
                                       "Color5", "Color6", "Color7", "Color8", "Mark"};

constexpr std::array kSections = {
    KnownSection{"Image", kImageKeys},       KnownSection{"Contents", kContentsKeys},
    KnownSection{"Font", kFontKeys},         KnownSection{"ShortName", kShortNameKeys},
    KnownSection{"LongName", kLongNameKeys}, KnownSection{"Text", kTextKeys},
    KnownSection{"Events", kEventsKeys},
};

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Levenshtein distance, letters compared without regard to case.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      const std::size_t substitution = diagonal + (LowerAscii(a[i - 1]) == LowerAscii(b[j - 1]) ? 0 : 1);
      row[j] = std::min({above + 1, row[j - 1] + 1, substitution});
      diagonal = above;
    }
  }
  return row[b.size()];
}

}  // namespace

std::span<const KnownSection> KnownSections() { return kSections; }

const KnownSection* FindKnownSection(std::string_view name) {
  for (const KnownSection& section : kSections) {
    if (name == section.name) return &section;
  }
  return nullptr;
}

bool IsKnownKey(const KnownSection& section, std::string_view key) {
  return std::any_of(section.keys.begin(), section.keys.end(),
                     [key](const char* known) { return key == known; });
}

std::string NearestName(std::string_view name, std::span<const char* const> candidates) {
  // Names that long are no misspelling of a short key, and the distance table stays small.
  constexpr std::size_t kLongestCompared = 64;
  if (name.empty() || name.size() > kLongestCompared) return std::string();
  std::string best;
  std::size_t bestDistance = 0;
  for (const char* candidate : candidates) {
    const std::size_t distance = EditDistance(name, candidate);
    if (best.empty() || distance < bestDistance) {
      best = candidate;
      bestDistance = distance;
    }
  }
  // A third of the longer name may differ, at least one letter, at most three.
  const std::size_t longer = std::max(name.size(), best.size());
  const std::size_t allowed = std::clamp<std::size_t>(longer / 3, 1, 3);
  return bestDistance <= allowed ? best : std::string();
}

}  // namespace orvendale
