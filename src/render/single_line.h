#pragma once
// The two one-line pictures: a line of date text on a transparent background, sized to
// the text or to the configured size, inset by the margins on all four sides, and
// aligned to the bottom edge of the area inside the margins.
//
// Keys of the content section: Format (the date pattern; without it there is no
// picture), Alignment ("center", "right", else left; ASCII case ignored) and, for the
// month heading only, Offset (months to move today by).

#include "render/render_params.h"

namespace orvendale {

// Today moved by Offset months, in textColor.
Surface RenderCalendarHeader(const RenderParams& params);

// Today, in the colour of today's kind of day.
Surface RenderDate(const RenderParams& params);

}  // namespace orvendale
