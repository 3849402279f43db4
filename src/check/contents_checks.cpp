// [Contents]: the picture type, the date pattern and the alignment.

#include <string>
#include <vector>

#include "check/checks.h"
#include "check/known_keys.h"
#include "calendar/date_pattern.h"
#include "check/text_checks.h"
#include "driver/run.h"
#include "platform/system/text.h"

namespace orvendale {
namespace {

std::vector<const char*> TypeNames() {
  std::vector<const char*> names;
  for (const PictureTypeInfo& info : kPictureTypes) names.push_back(info.name);
  return names;
}
constexpr int kLongestType = kContentTypeCapacity - 1;

// The line of the [Contents] header, for findings about a key it lacks.
int ContentsLine(const CheckContext& context) {
  const IniLoadFacts& scan = *context.loadFacts;
  for (std::size_t i = 0; i < scan.headerNames.size(); ++i) {
    if (scan.headerNames[i] == "Contents") return scan.headerLines[i];
  }
  return 0;
}

void CheckType(const CheckContext& context, Report& report) {
  const char* type = context.Value("Contents", "Type");
  const int line = context.LineOf("Contents", "Type");
  if (type == nullptr) {
    report.Warn(ContentsLine(context), "no [Contents] Type: a run draws no picture; write Type=Date, "
                                       "Type=CalendarHeader, Type=Calendar or Type=Agenda");
    return;
  }
  if (type[0] == 0) {
    report.Warn(line, "[Contents] Type is empty: a run draws no picture");
    return;
  }
  if (context.Picture() != PictureType::kNone) return;
  std::string message = "[Contents] Type " + Quote(type) +
                        " is not Date, CalendarHeader, Calendar or Agenda (spelt exactly so, letter case "
                        "included): a run draws no picture";
  if (std::string(type).size() > kLongestType) message += "; it is also longer than 31 characters";
  const std::string nearest = NearestName(type, TypeNames());
  if (!nearest.empty()) message += "; did you mean " + Quote(nearest) + "?";
  report.Warn(line, message);
}

void CheckFormat(const CheckContext& context, Report& report) {
  const std::string type = context.PictureInfo().name;
  const char* format = context.Value("Contents", "Format");
  const int line = context.LineOf("Contents", "Format");
  const bool needed = context.PictureInfo().readsFormat;
  if (needed && format == nullptr) {
    report.Warn(context.LineOf("Contents", "Type"),
                "a " + type + " picture needs a [Contents] Format (for example Format=dddd, MMMM d): "
                              "without it a run draws no picture");
    return;
  }
  if (format == nullptr) return;
  if (needed && format[0] == 0) {
    report.Warn(line, "[Contents] Format is empty: a run draws no picture");
    return;
  }
  const int length = WideTextLength(format);
  if (length > kPatternCapacity - 1) {
    report.Warn(line, "[Contents] Format is " + std::to_string(length) + " characters long, more than the " +
                          std::to_string(kPatternCapacity - 1) + " a run reads: " +
                          (needed ? "it draws no picture" : "it is not used"));
  }
  CheckPrefixCharacters(format, "[Contents] Format", line, report);
}

void CheckAlignment(const CheckContext& context, Report& report) {
  const char* alignment = context.Value("Contents", "Alignment");
  if (alignment == nullptr) return;
  for (const char* word : {"left", "center", "right"}) {
    if (platform::KeywordEquals(alignment, word)) return;
  }
  report.Warn(context.LineOf("Contents", "Alignment"),
              "[Contents] Alignment " + Quote(alignment) + " is not left, center or right: the text is placed left");
}

}  // namespace

void CheckContents(const CheckContext& context, Report& report) {
  CheckType(context, report);
  CheckFormat(context, report);
  CheckAlignment(context, report);
}

}  // namespace orvendale
