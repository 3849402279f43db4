#pragma once
// The whole run of the tool, from the argument vector to the exit code: the settings
// file, the output path, the picture's size, dispatch on [Contents] Type, the export of
// the picture and the release of everything the run obtained. Nothing is printed and
// the exit code is always 0.

#include "imagefile/image_folder.h"
#include "platform/drawing/graphics.h"
#include "render/render_params.h"

namespace orvendale {

// The run's path buffers, kPathCapacity UTF-16 units each (at most 255 characters).
// ImageFolder, read by image placement, lives with the image files.
extern char16_t SettingsFilePath[kPathCapacity];
extern char16_t OutputFileName[kPathCapacity];
extern char16_t OutputFilePath[kPathCapacity];

inline constexpr int kContentTypeCapacity = 32;  // [Contents] Type: 31 bytes and the terminator

// Writes a finished picture to a platform path; reports nothing.
using PictureExport = void (*)(platform::Bitmap* bitmap, const char16_t* outputPath);

// What a run calls to draw and to save a picture. A null renderer makes no picture.
struct RunServices {
  Renderer calendarHeader = nullptr;  // [Contents] Type "CalendarHeader"
  Renderer calendar = nullptr;        // "Calendar"
  Renderer date = nullptr;            // "Date"
  PictureExport exportPicture = nullptr;
  const DateRecord* today = nullptr;  // the day to draw; null reads the local clock
  Renderer agenda = nullptr;          // [Contents] Type "Agenda"
};

// The renderers and the PNG export of this program.
RunServices BuiltInServices();

// Composes the output path from `imageFolder` and `outputFileName` (kPathCapacity units
// each, terminated) into `outputFilePath` (kPathCapacity units):
// - a file name that begins with a separator, or a folder that does not begin with one
//   (an empty folder included), is the whole output path; the folder stays as it is;
// - otherwise a backslash is appended to the folder itself when it does not end in a
//   separator, and the output path is the folder followed by the file name.
// A backslash and a slash both count as separators. Returns false, with an empty output
// path and the folder unchanged, when the joined path would exceed kPathCapacity - 1
// characters: a cut path would name another file.
bool ComposeOutputPath(char16_t* imageFolder, const char16_t* outputFileName,
                       char16_t* outputFilePath);

// The renderer that an exact, case-sensitive [Contents] Type selects among `services`,
// tried in the order "CalendarHeader", "Calendar", "Date"; null for any other text.
Renderer SelectRenderer(const char* contentType, const RunServices& services);

// One run with the program's own renderers and export. `argv[0]` is the program's path;
// `argv[1]` without its double-quote characters, when present and not empty, is the
// settings file, otherwise the built-in default. A settings path longer than kPathCapacity - 1 characters ends the run before
// anything is read. Returns 0.
int RunOrvendale(int argc, const char* const* argv);
// The same run with the given renderers and export.
int RunOrvendale(int argc, const char* const* argv, const RunServices& services);

}  // namespace orvendale
