#pragma once
// The texts of --help and --version.

#include <string>

namespace orvendale {

// The usage text of --help, every line ending in a line feed.
std::string UsageText();
// "orvendale 1.1.0", with " (git DESCRIPTION)" where the build has one.
std::string VersionText();

}  // namespace orvendale
