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
  const SettingsScan& scan = *context.scan;
  const std::vector<const char*> sectionNames = SectionNames();
  for (std::size_t i = 0; i < scan.headerLines.size(); ++i) {
    const std::string& name = scan.headerNames[i];
    if (name.empty() || FindKnownSection(name) != nullptr) continue;
    report.Warn(scan.headerLines[i], "unknown section " + Quote("[" + name + "]") +
                                         ": a run reads nothing under it" +
                                         Suggestion(NearestName(name, sectionNames)));
  }
  for (const ScannedEntry& entry : scan.entries) {
    if (!entry.isKey || !entry.hasSection) continue;
    const KnownSection* section = FindKnownSection(entry.section);
    if (section == nullptr) continue;  // the header has its finding
    if (entry.key.empty()) {
      report.Warn(entry.line, "a line with '=' but no key in [" + entry.section + "]: a run ignores it");
      continue;
    }
    if (IsKnownKey(*section, entry.key)) continue;
    report.Warn(entry.line, "unknown key " + Quote(entry.key) + " in [" + entry.section + "]" +
                                Suggestion(NearestName(entry.key, section->keys)));
  }
}

void CheckDuplicateKeys(const CheckContext& context, Report& report) {
  std::map<std::pair<std::string, std::string>, int> firstLine;
  for (const ScannedEntry& entry : context.scan->entries) {
    if (!entry.isKey || !entry.hasSection || entry.key.empty()) continue;
    const auto [at, inserted] = firstLine.emplace(std::make_pair(entry.section, entry.key), entry.line);
    if (inserted) continue;
    report.Warn(entry.line, Quote(entry.key) + " in [" + entry.section + "] is given again (first on line " +
                                std::to_string(at->second) + "): the first one counts, this one is ignored");
  }
}

}  // namespace orvendale
