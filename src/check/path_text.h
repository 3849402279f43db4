#pragma once
// Platform paths turned into text for findings and into host paths for the file system.

#include <string>

namespace orvendale {

// UTF-8 text of a platform path as the system opens it: every backslash is a "/".
std::string NarrowPath(const std::u16string& path);
// The host path ("/" for every backslash), empty when it cannot be made.
std::string HostPath(const std::u16string& path);
// The folder of a host path: the part before its last "/", "/" for the root, "." for a
// bare name.
std::string HostFolder(const std::string& hostPath);

}  // namespace orvendale
