#pragma once
// Every section and key a settings file may hold, as the settings table declares them,
// and the nearest known name to a misspelt one.

#include <span>
#include <string>
#include <string_view>

namespace orvendale {

struct KnownSection {
  const char* name;
  std::span<const char* const> keys;
};

std::span<const KnownSection> KnownSections();

// The known section of that exact name (letter case counts), or null.
const KnownSection* FindKnownSection(std::string_view name);
bool IsKnownKey(const KnownSection& section, std::string_view key);

// The candidate nearest to `name` by edit distance, letters compared without regard to
// case (so that "type" finds "Type" and "Fomat" finds "Format"); empty when none is
// near enough to be a likely misspelling.
std::string NearestName(std::string_view name, std::span<const char* const> candidates);

}  // namespace orvendale
