#include "default_names_support.h"

#include "calendar/text_settings.h"
#include "platform/text.h"

namespace orvendale {

void FillDefaultNames(TextSettings& settings) {
  for (int i = 0; i < 7; ++i) {
    platform::WideCopy(settings.shortWeekdayNames[i], kShortNameCapacity, kWeekdayNameKeys[i].shortDefault);
    platform::WideCopy(settings.longWeekdayNames[i], kLongNameCapacity, kWeekdayNameKeys[i].longDefault);
  }
  for (int i = 0; i < 12; ++i) {
    platform::WideCopy(settings.shortMonthNames[i], kShortNameCapacity, kMonthNameKeys[i].shortDefault);
    platform::WideCopy(settings.longMonthNames[i], kLongNameCapacity, kMonthNameKeys[i].longDefault);
  }
}

}  // namespace orvendale
