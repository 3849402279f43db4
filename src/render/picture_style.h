#pragma once
// How a picture is made for today's screens: three opt-in settings, each giving the
// picture as it always was when its key is absent.
//
//   [Font]  Smooth      yes                 anti-aliased glyphs whose coverage is the
//                                           picture's alpha (no: monochrome)
//   [Image] Scale       1 .. 4              every length in pixels multiplied (1)
//   [Image] Background  RGB(r, g, b)        an opaque picture filled with that colour
//                                           (none: transparent background)
//
// Smooth takes "yes" or "no" in any letter case; any other word is "no". Scale takes a
// whole number (blanks around it allowed); anything outside 1-4, or not wholly a number
// ("2x", empty), is 1. Background is read as the [Text] colours are, its components
// starting at 0: a present key always gives a background, an empty one black.

#include <cstdint>
#include <optional>

#include "platform/types.h"

namespace orvendale {

class IniDocument;

inline constexpr std::int32_t kSmallestScale = 1;
inline constexpr std::int32_t kLargestScale = 4;
// Longest Scale and Smooth text a reader looks at, terminator included: a longer value is
// no valid one.
inline constexpr int kStyleWordCapacity = 16;

struct PictureStyle {
  bool smooth = false;
  std::int32_t scale = kSmallestScale;  // kSmallestScale .. kLargestScale
  bool backgroundGiven = false;
  ColorRef background = 0;  // meaningful only while backgroundGiven
};

// "yes" or "no" in any letter case; empty for anything else, null included.
std::optional<bool> ParseSmooth(const char* word);
// A whole number 1 to 4, optionally signed and surrounded by blanks; empty for anything
// else, null included.
std::optional<std::int32_t> ParseScale(const char* text);

// The three settings of `document`, each its default where its value is not valid.
PictureStyle ReadPictureStyle(const IniDocument& document);

}  // namespace orvendale
