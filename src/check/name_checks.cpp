// Section and key names: unknown ones with the nearest known name, and keys given twice.

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "check/checks.h"
#include "check/known_keys.h"

namespace orvendale {
namespace {

std::vector<const char*> SectionNames() {
  std::vector<const char*> names;
  for (const KnownSection& section : KnownSections()) names.push_back(section.name);
  return names;
}

std::string Suggestion(const std::string& nearest) {
  return nearest.empty() ? std::string() : "; did you mean " + Quote(nearest) + "?";
}

}  // namespace

void CheckKnownNames(const CheckContext& context, Report& report) {
  const IniLoadFacts& scan = *context.loadFacts;
  const std::vector<const char*> sectionNames = SectionNames();
  for (std::size_t i = 0; i < scan.headerLines.size(); ++i) {
    const std::string& name = scan.headerNames[i];
    if (name.empty() || FindKnownSection(name) != nullptr) continue;
    report.Warn(scan.headerLines[i], "unknown section " + Quote("[" + name + "]") +
                                         ": a run reads nothing under it" +
                                         Suggestion(NearestName(name, sectionNames)));
  }
  for (int i = 0; i < context.document->count(); ++i) {
    const IniEntry& entry = context.document->entry(i);
    if (!entry.fromKeyLine || entry.section == nullptr) continue;
    const std::string sectionName = entry.section;
    const KnownSection* section = FindKnownSection(sectionName);
    if (section == nullptr) continue;  // the header has its finding
    if (entry.key == nullptr) {
      report.Warn(entry.line, "a line with '=' but no key in [" + sectionName + "]: a run ignores it");
      continue;
    }
    const std::string key = entry.key;
    if (IsKnownKey(*section, key)) continue;
    report.Warn(entry.line, "unknown key " + Quote(key) + " in [" + sectionName + "]" +
                                Suggestion(NearestName(key, section->keys)));
  }
}

void CheckDuplicateKeys(const CheckContext& context, Report& report) {
  std::map<std::pair<std::string, std::string>, int> firstLine;
  for (int i = 0; i < context.document->count(); ++i) {
    const IniEntry& entry = context.document->entry(i);
    if (!IsSetting(entry) || entry.key == nullptr) continue;
    const auto [at, inserted] =
        firstLine.emplace(std::make_pair(std::string(entry.section), std::string(entry.key)), entry.line);
    if (inserted) continue;
    report.Warn(entry.line, Quote(entry.key) + " in [" + entry.section + "] is given again (first on line " +
                                std::to_string(at->second) + "): the first one counts, this one is ignored");
  }
}

}  // namespace orvendale
