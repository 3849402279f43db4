#include "check/known_keys.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "platform/system/text.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

// The sections of the settings table in the order of their first rows, each with its
// keys in table order.
struct KnownNames {
  std::vector<KnownSection> sections;
  std::vector<std::vector<const char*>> keys;
};

const KnownNames& Names() {
  static const KnownNames names = [] {
    KnownNames built;
    std::vector<const char*> order;
    for (const SettingRow& row : SettingsTable()) {
      auto at = std::find_if(order.begin(), order.end(), [&](const char* name) { return std::string_view(name) == row.section; });
      if (at == order.end()) {
        order.push_back(row.section);
        built.keys.emplace_back();
        at = order.end() - 1;
      }
      built.keys[static_cast<std::size_t>(at - order.begin())].push_back(row.key);
    }
    for (std::size_t i = 0; i < order.size(); ++i) built.sections.push_back(KnownSection{order[i], built.keys[i]});
    return built;
  }();
  return names;
}


// Edit distance, letters compared without regard to case: an insertion, a deletion, a
// substitution or a swap of two neighbouring letters ("Widht" for "Width") each count as
// one edit (the optimal string alignment distance).
std::size_t EditDistance(std::string_view a, std::string_view b) {
  // Three rows of the table: the one before the previous, the previous and the current.
  std::vector<std::size_t> beforePrevious(b.size() + 1);
  std::vector<std::size_t> previous(b.size() + 1);
  std::vector<std::size_t> current(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) previous[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const bool same = platform::LowerAscii(a[i - 1]) == platform::LowerAscii(b[j - 1]);
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + (same ? 0 : 1)});
      if (i > 1 && j > 1 && platform::LowerAscii(a[i - 1]) == platform::LowerAscii(b[j - 2]) &&
          platform::LowerAscii(a[i - 2]) == platform::LowerAscii(b[j - 1])) {
        current[j] = std::min(current[j], beforePrevious[j - 2] + 1);
      }
    }
    std::swap(beforePrevious, previous);
    std::swap(previous, current);
  }
  return previous[b.size()];
}

}  // namespace

std::span<const KnownSection> KnownSections() { return Names().sections; }

const KnownSection* FindKnownSection(std::string_view name) {
  for (const KnownSection& section : Names().sections) {
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
