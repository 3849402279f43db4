#pragma once

#include "calendar/text_settings.h"

namespace orvendale {

// Puts the built-in weekday and month names into `settings`, as a run without any
// [ShortName] or [LongName] settings has them.
void FillDefaultNames(TextSettings& settings);

}  // namespace orvendale
