// [Font]: names too long for the record, the weight word, and whether the family asked
// for is installed (and which family and file draw instead).

#include <string>

#include "check/checks.h"
#include "check/text_checks.h"
#include "platform/fonts/font_choice.h"
#include "platform/system/text.h"
#include "render/surface.h"

namespace orvendale {

void CheckFont(const CheckContext& context, Report& report) {
  constexpr int kLongestFace = platform::kFaceNameCapacity - 1;
  for (const char* key : {"Face", "Font"}) {
    const char* name = context.Value("Font", key);
    if (name == nullptr || WideTextLength(name) <= kLongestFace) continue;
    report.Warn(context.LineOf("Font", key),
                std::string("[Font] ") + key + " is longer than " + std::to_string(kLongestFace) +
                    " characters: a run does not use it" +
                    (std::string(key) == "Face" ? " (it falls back to Font, or the default face)" : ""));
  }
  const char* weight = context.Value("Font", "Weight");
  if (weight != nullptr && weight[0] != 0 && !platform::KeywordEquals(weight, "bold") &&
      !platform::KeywordEquals(weight, "normal")) {
    report.Warn(context.LineOf("Font", "Weight"),
                "[Font] Weight " + Quote(weight) + " is not 'bold': the text is drawn in normal weight");
  }

  const platform::LogicalFont record = ConfiguredFontRecord(*context.document, "Font");
  platform::FontChoice choice;
  if (!platform::DescribeFontChoice(record, &choice)) {
    report.Warn(0, "no font is installed: a run draws no text");
    return;
  }
  if (choice.familyInstalled) return;
  const char* key = context.Value("Font", "Face") != nullptr ? "Face" : "Font";
  if (choice.genericFamily) {
    report.Note(context.LineOf("Font", key), "the font family " + Quote(choice.askedFamily) +
                                                 " is a generic family: text is drawn with " + Quote(choice.family) +
                                                 " (" + Printable(choice.file) + ")");
    return;
  }
  report.Warn(context.LineOf("Font", key),
              "the font family " + Quote(choice.askedFamily) + " is not installed: text is drawn with " +
                  Quote(choice.family) + " (" + Printable(choice.file) + ")");
}

}  // namespace orvendale
