#pragma once
// Inside the platform only: the process-wide font libraries. Each is created on first use,
// so a run that draws no text never loads the font configuration, and is released at
// exit. Faces and patterns made from them must be released before exit too; the default
// font's holder makes sure of that for the one font the platform owns itself.

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

namespace orvendale::platform {

// The FreeType library; null when FreeType cannot be initialised.
FT_Library FreeTypeLibrary();

// The font configuration with the installed fonts; null when fontconfig cannot load it.
FcConfig* FontConfiguration();

}  // namespace orvendale::platform
