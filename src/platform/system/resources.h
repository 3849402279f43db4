#pragma once
// The program's built-in strings, looked up by number.

namespace orvendale::platform {

inline constexpr int kDefaultSettingsFileString = 101;  // "\Program Files\Orvendale\Orvendale.ini"
inline constexpr int kDefaultOutputFileString = 102;    // "\Program Files\Orvendale\default.png"

// Copies built-in string `id` into `out`, cut to `capacity` - 1 characters and
// terminated. Returns the number of characters copied, terminator not counted; 0 when
// there is no string `id`, `out` is null or `capacity` < 1 (then nothing is written).
// Writes at most `capacity` units.
int LoadResourceString(int id, char16_t* out, int capacity);

}  // namespace orvendale::platform
