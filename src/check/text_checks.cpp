#include "check/text_checks.h"

#include <cstring>
#include <memory>

#include "platform/system/text.h"

namespace orvendale {

int WideTextLength(const char* text) {
  if (text == nullptr) return 0;
  // Every byte becomes at most one UTF-16 unit.
  const std::size_t capacity = std::strlen(text) + 1;
  const auto wide = std::make_unique<char16_t[]>(capacity);
  const int written = platform::WideFromNarrow(text, wide.get(), static_cast<int>(capacity));
  return written > 0 ? written - 1 : 0;
}

void CheckPrefixCharacters(const char* text, const std::string& what, int line, Report& report) {
  for (const char* at = text; *at != 0; ++at) {
    if (*at != '&') continue;
    if (at[1] == '&') {
      ++at;
      continue;
    }
    if (at[1] == 0) return;
    report.Warn(line, what + " " + Quote(text) +
                          ": '&' is not drawn; it underlines the character after it (write '&&' for an '&')");
    return;
  }
}

}  // namespace orvendale
