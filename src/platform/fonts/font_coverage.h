#pragma once
// Which characters the installed fonts can draw at all, for the checks of the settings.

namespace orvendale::platform {

// True when some installed font has a glyph for `codePoint`. The union of the fonts'
// character sets is built on the first call (a few milliseconds with fontconfig's cache)
// and kept; false for every character when fontconfig cannot be loaded.
bool InstalledFontsHaveCharacter(char32_t codePoint);

}  // namespace orvendale::platform
