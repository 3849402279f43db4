#pragma once
// Folders and whole files by host path, for calendars kept as a folder of files: the
// names a folder holds, and a regular file's bytes up to a limit. Neither waits on a
// named pipe or a device, and neither follows a name into a subfolder.

#include <cstddef>
#include <string>
#include <vector>

namespace orvendale::platform {

enum class FolderListing : unsigned char {
  kListed,      // every name is in the list
  kCut,         // the folder holds more entries than were asked for: the first ones in name order
  kNotAFolder,  // missing, a file, or a path that cannot be looked up
  kUnreadable,  // a folder the running user may not list
};

// The names in folder `hostPath` (UTF-8, "/" separates) that end in `suffix` (ASCII case
// ignored), "." and ".." left out, sorted bytewise; at most `maxNames` names, and at most
// `maxEntries` entries looked at.
FolderListing ListFolder(const char* hostPath, const char* suffix, std::size_t maxNames, std::size_t maxEntries,
                         std::vector<std::string>* names);

enum class WholeFile : unsigned char {
  kRead,        // `text` holds the file
  kUnreadable,  // missing, not a regular file (a folder, pipe, device), a link loop, no access
  kTooLarge,    // more than `maxBytes`: `text` is left empty
};

// The bytes of regular file `hostPath`, at most `maxBytes`.
WholeFile ReadWholeFile(const char* hostPath, std::size_t maxBytes, std::string* text);

}  // namespace orvendale::platform
