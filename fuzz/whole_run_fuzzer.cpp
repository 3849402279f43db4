// One whole run of the tool in this process, over an arbitrary settings file, with the
// program's own renderers and PNG export, or the options of the command line.
//
// Options: an input whose first line begins with "-" gives the command line in that line,
// words split at spaces; every word that is not an option stands for the settings file,
// the rest of the input. --help, --version and wrong options must end with 0 or 2,
// --check with 0, 1 or 2 and no file written; a run (with --date or not) is confined
// like a plain one.
//
// Confinement: the settings may name any output path, and this target must never write
// outside its scratch folder. The working directory is the scratch folder, and the export
// writes to the composed output path only when that path is a bare file name (no
// backslash, no slash), which the platform resolves inside the working directory; any
// other path is exported as "redirected.png" in the same folder instead. The export is
// the run's only writer, so nothing else needs confining. Image files named by the
// settings, and the holiday files they name, are only read.
//
// After each run the scratch folder must hold the settings, the image and holiday
// fixtures and at most the one output file, a whole PNG: a temporary file left behind or
// a partial picture is a fault. After --check it holds exactly what it held before. Every
// COM initialisation must be balanced.
//
// Inputs whose picture could grow past about a million pixels are skipped: they spend
// seconds in allocation and encoding without reaching new code, and the surface limits
// have tests of their own.

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "check/settings_check.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "driver/run.h"
#include "fuzz_support.h"
#include "imagefile/png_export.h"
#include "platform/imaging/imaging.h"
#include "render/picture_style.h"
#include "settings/ini_document.h"

namespace orvendale {
namespace {

using fuzzing::Check;

constexpr const char* kSettingsName = "settings.ini";
constexpr const char* kImageName = "today.png";
// Holiday files the settings may name: a plain list and an iCalendar file.
constexpr const char* kHolidayListName = "holidays.txt";
constexpr const char* kHolidayCalendarName = "calendar.ics";
constexpr const char* kHolidayList = "# ours\r\n2008-03-18 Birthday\r\n03-14\r\nbad\r\n";
constexpr const char* kHolidayCalendar =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orvendale//Fuzz//EN\r\nBEGIN:VEVENT\r\n"
    "UID:1\r\nDTSTART;VALUE=DATE:20080310\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:Day\r\n"
    "END:VEVENT\r\nEND:VCALENDAR\r\n";
constexpr const char16_t* kRedirectedName = u"redirected.png";

bool IsBareFileName(const char16_t* path) {
  for (const char16_t* at = path; *at != 0; ++at) {
    if (*at == u'\\' || *at == u'/') return false;
  }
  return true;
}

void ConfinedExport(platform::Bitmap* bitmap, const char16_t* outputPath) {
  SaveBitmapAsPng(bitmap, IsBareFileName(outputPath) ? outputPath : kRedirectedName);
}

bool WithinMagnitude(const IniDocument& document, const char* section, const char* key,
                     std::int32_t limit) {
  const std::int32_t value = CutTo16Bits(document.GetInt(section, key, 0));
  return value >= -limit && value <= limit;
}

// False for settings that could ask for a picture of more than about a million pixels;
// a scale multiplies every length, so the limits shrink by it.
bool SmallPicture(const char16_t* settingsPath) {
  IniDocument document(settingsPath);
  if (document.Load() != S_OK) return true;
  const std::int32_t scale = ReadPictureStyle(document).scale;
  return WithinMagnitude(document, "Image", "Width", 512 / scale) &&
         WithinMagnitude(document, "Image", "Height", 512 / scale) &&
         WithinMagnitude(document, "Image", "MarginX", 256 / scale) &&
         WithinMagnitude(document, "Image", "MarginY", 256 / scale) &&
         WithinMagnitude(document, "Contents", "RasterX", 96 / scale) &&
         WithinMagnitude(document, "Contents", "RasterY", 96 / scale) &&
         WithinMagnitude(document, "Font", "Height", 96 / scale) &&
         WithinMagnitude(document, "Font", "Size", 96 / scale);
}

// A file that begins with the PNG signature and ends with the image-end chunk: an
// export either completes its file or leaves none.
bool IsWholePng(const std::filesystem::path& path) {
  static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  static constexpr unsigned char kEnd[12] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  unsigned char head[8] = {};
  unsigned char tail[12] = {};
  const bool whole = std::fread(head, 1, sizeof head, file) == sizeof head &&
                     std::fseek(file, -static_cast<long>(sizeof tail), SEEK_END) == 0 &&
                     std::fread(tail, 1, sizeof tail, file) == sizeof tail &&
                     std::memcmp(head, kSignature, sizeof head) == 0 &&
                     std::memcmp(tail, kEnd, sizeof tail) == 0;
  std::fclose(file);
  return whole;
}

// The command line of an input whose first line begins with "-": that line's words, each
// word that is not an option replaced by `settingsPath`. Empty for other inputs. The
// settings are what follows the line.
std::vector<std::string> CommandWords(const std::uint8_t*& data, std::size_t& size,
                                      const std::string& settingsPath) {
  std::vector<std::string> words;
  if (size == 0 || data[0] != '-') return words;
  std::size_t end = 0;
  while (end < size && data[end] != '\n') ++end;
  const std::string line(reinterpret_cast<const char*>(data), end);
  const std::size_t consumed = end < size ? end + 1 : end;
  data += consumed;
  size -= consumed;
  words.push_back("orvendale");
  std::size_t start = 0;
  while (start <= line.size() && words.size() < 8) {
    std::size_t space = line.find(' ', start);
    if (space == std::string::npos) space = line.size();
    std::string word = line.substr(start, space - start);
    if (word.empty() || word[0] != '-') word = settingsPath;
    words.push_back(word);
    start = space + 1;
  }
  return words;
}

// A file of the scratch folder as the file system describes it.
struct FileState {
  std::string name;
  std::uintmax_t size = 0;
  std::filesystem::file_time_type written;
  bool operator==(const FileState&) const = default;
};

// Every entry of `folder`, sorted by name.
std::vector<FileState> FolderState(const std::filesystem::path& folder) {
  std::vector<FileState> files;
  for (const std::filesystem::directory_entry& entry : std::filesystem::directory_iterator(folder)) {
    std::error_code ignored;
    files.push_back({entry.path().filename().string(), entry.is_regular_file() ? entry.file_size(ignored) : 0,
                     entry.last_write_time(ignored)});
  }
  std::sort(files.begin(), files.end(), [](const FileState& a, const FileState& b) { return a.name < b.name; });
  return files;
}

std::FILE* NullStream() {
  static std::FILE* stream = std::fopen("/dev/null", "w");
  if (stream == nullptr) std::abort();
  return stream;
}

}  // namespace
}  // namespace orvendale

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  namespace fs = std::filesystem;
  // Runs that name a locale load its plugin, which lives in the build folder.
  if (::setenv("ORVENDALE_PLUGIN_DIR", ORVENDALE_PLUGIN_BUILD_DIR, 1) != 0) std::abort();
  const fs::path& root = orvendale::fuzzing::Scratch().root();
  fs::copy_file(fs::path(ORVENDALE_SOURCE_DIR) / "examples" / orvendale::kImageName,
                root / orvendale::kImageName);
  for (const auto& [name, text] : {std::pair{orvendale::kHolidayListName, orvendale::kHolidayList},
                                   std::pair{orvendale::kHolidayCalendarName, orvendale::kHolidayCalendar}}) {
    orvendale::fuzzing::WriteHostFile((root / name).string(), reinterpret_cast<const std::uint8_t*>(text),
                                      std::strlen(text));
  }
  if (::chdir(root.c_str()) != 0) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orvendale;
  namespace fs = std::filesystem;
  const fs::path& root = fuzzing::Scratch().root();
  const std::string settingsPath = (root / kSettingsName).string();
  const std::vector<std::string> words = CommandWords(data, size, settingsPath);
  fuzzing::WriteHostFile(settingsPath, data, size);
  if (!SmallPicture(fuzzing::PlatformPath(settingsPath).c_str())) return 0;

  RunServices services = BuiltInServices();
  services.exportPicture = ConfinedExport;
  std::vector<const char*> argv = {"orvendale", settingsPath.c_str()};
  if (!words.empty()) {
    argv.clear();
    for (const std::string& word : words) argv.push_back(word.c_str());
  }
  const int argc = static_cast<int>(argv.size());
  argv.push_back(nullptr);
  const CommandLine command = ParseCommandLine(argc, argv.data());
  if (!HasOptions(argc, argv.data()) || command.action == CommandAction::kRun) {
    if (command.dateGiven) services.today = &command.date;
    const char* const runArguments[] = {"orvendale", command.settingsPath != nullptr ? command.settingsPath : "", nullptr};
    // Without a settings argument a run reads the built-in file, outside the scratch folder.
    if (command.settingsPath != nullptr) Check(RunOrvendale(2, runArguments, services) == 0);
  } else if (command.action == CommandAction::kCheck) {
    if (command.settingsPath != nullptr) {
      const std::vector<FileState> before = FolderState(root);
      const int status = CheckSettings(command.settingsPath, command.dateGiven ? &command.date : nullptr, NullStream());
      Check(status >= 0 && status <= 2);
      // The check writes nothing: the folder holds the same files, unchanged.
      Check(FolderState(root) == before);
    }
  } else {
    const int status = RunWithOptions(argc, argv.data(), NullStream(), NullStream());
    Check(status == 0 || status == kExitUsage);
  }
  Check(platform::ComInitializationDepth() == 0);

  // Only the output may have been added; remove it for the next run.
  int outputs = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(root)) {
    const std::string name = entry.path().filename().string();
    if (name == kSettingsName || name == kImageName || name == kHolidayListName ||
        name == kHolidayCalendarName) {
      continue;
    }
    Check(++outputs == 1 && entry.is_regular_file());
    Check(IsWholePng(entry.path()));
    fs::remove(entry.path());
  }
  return 0;
}
