#pragma once
// The program with options: --help, --version, --check and --date. A plain run does not
// come here (see HasOptions).

#include <cstdio>

namespace orvendale {

inline constexpr int kExitUsage = 2;  // an unknown option, a missing or wrong value

// Parses the options and does what they ask. Usage, version and check output go to
// `out`, every message to `err`. Returns the exit code: 0, or 1 / 2 as --help lists.
int RunWithOptions(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace orvendale
