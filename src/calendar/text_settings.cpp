#include "calendar/text_settings.h"

namespace orvendale {

TextSettings textSettings;

}  // namespace orvendale
