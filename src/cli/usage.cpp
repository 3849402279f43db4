#include "cli/usage.h"

#include "cli/version.h"

namespace orvendale {

const char* UsageText() {
  return "Usage: orvendale [--date YYYY-MM-DD] [SETTINGS]\n"
         "       orvendale [--date YYYY-MM-DD] --check [SETTINGS]\n"
         "       orvendale --help | --version | --holiday-regions\n"
         "\n"
         "Draws one PNG picture about today's date as the settings file SETTINGS says\n"
         "(without SETTINGS: /Program Files/Orvendale/Orvendale.ini). A run prints nothing\n"
         "and ends with exit code 0, also when it draws no picture.\n"
         "\n"
         "Options, before SETTINGS:\n"
         "  --check            check SETTINGS and say what a run would draw, writing no file:\n"
         "                     every finding on a line of its own (FILE:LINE: warning: ...),\n"
         "                     then one line with the picture, its size, the output file and\n"
         "                     the font file, or why no picture would be written\n"
         "  --date YYYY-MM-DD  draw, or check, as if today were that day\n"
         "                     (1904-01-01 to 2031-12-31)\n"
         "  --holiday-regions  list the region codes that [Contents] Holidays accepts\n"
         "  -h, --help         show this help and exit\n"
         "  --version          show the version and exit\n"
         "  --                 end of the options: the next argument is SETTINGS\n"
         "\n"
         "A settings file whose name begins with \"--\" is reached as ./--name.ini.\n"
         "\n"
         "Exit codes:\n"
         "  0  a run (always), --help, --version; --check: a picture would be written\n"
         "  1  --check: no picture would be written; --holiday-regions: the region\n"
         "     library cannot be loaded\n"
         "  2  an unknown option, a missing or wrong value, or a wrong --date;\n"
         "     --check: the settings file cannot be read\n";
}

std::string VersionText() {
  std::string text = std::string("orvendale ") + kProgramVersion;
  if (kGitDescription[0] != 0) text += std::string(" (git ") + kGitDescription + ")";
  return text;
}

}  // namespace orvendale
