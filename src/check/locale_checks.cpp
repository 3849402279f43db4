// [Contents] Locale: a name that is no locale name, a locale the locale data does not
// know, a locale plugin that does not load, a parent locale's names, and scripts the
// drawing does not handle (right to left, letters that join or carry marks).

#include <string>

#include "check/checks.h"
#include "render/locale_names.h"

namespace orvendale {

void CheckLocale(const CheckContext& context, Report& report) {
  if (context.document == nullptr || context.Value("Contents", "Locale") == nullptr) return;
  LocaleSetting locale;
  ReadLocaleSetting(*context.document, locale);
  const int line = context.LineOf("Contents", "Locale");
  const std::string what = "[Contents] Locale " + Quote(locale.value) + " ";
  for (const LocaleFinding& finding : DescribeLocaleSetting(locale)) {
    if (finding.level == LocaleFindingLevel::kWarning) {
      report.Warn(line, what + finding.text);
    } else {
      report.Note(line, what + finding.text);
    }
  }
}

}  // namespace orvendale
