#include "check/settings_check.h"

#include <string>

#include "calendar/date_pattern.h"
#include "check/checks.h"
#include "check/output_target.h"
#include "check/path_text.h"
#include "driver/run.h"
#include "driver/settings_argument.h"
#include "imagefile/image_folder.h"
#include "platform/fonts/font_choice.h"
#include "platform/system/clock.h"
#include "platform/system/resources.h"
#include "platform/system/text.h"
#include "render/surface.h"

namespace orvendale {
namespace {

// What the in-memory run handed to its export. The run is single-threaded and the
// export is a plain function, so the capture lives here for the one check of a process.
struct ExportCapture {
  bool called = false;
  std::int32_t width = 0;
  std::int32_t height = 0;
};
ExportCapture capture;

void CaptureExport(platform::Bitmap* bitmap, const char16_t* /*outputPath*/) {
  platform::BitmapDescription description;
  if (!platform::GetBitmapDescription(bitmap, &description)) return;
  capture.called = true;
  capture.width = description.width;
  capture.height = description.height;
}

// The run with the program's renderers and an export that writes nothing.
RunPreview PreviewRun(const char* settingsArgument, const DateRecord& today) {
  capture = ExportCapture{};
  RunServices services = BuiltInServices();
  services.exportPicture = CaptureExport;
  services.today = &today;
  const char* const argv[] = {"orvendale", settingsArgument != nullptr ? settingsArgument : "", nullptr};
  OutputFilePath[0] = 0;
  ImageFolder[0] = 0;
  RunOrvendale(2, argv, services);
  RunPreview preview;
  preview.imageFolder = ImageFolder;
  preview.outputPath = OutputFilePath;
  preview.pictureDrawn = capture.called;
  preview.width = capture.width;
  preview.height = capture.height;
  return preview;
}

void PrintLine(std::FILE* out, const std::string& line) {
  std::fputs(line.c_str(), out);
  std::fputc('\n', out);
}

std::string Unreadable(const platform::FileFacts& facts) {
  switch (facts.kind) {
    case platform::FileKind::kMissing:
      return facts.missingFolder ? "no such folder" : "no such file";
    case platform::FileKind::kFolder: return "is a folder, not a settings file";
    case platform::FileKind::kOther: return "is not a regular file (a pipe, device or socket)";
    case platform::FileKind::kRegular: break;
  }
  return "cannot be read (no permission)";
}

// Why no picture: the first reason that applies, in the order a run meets them.
std::string WhyNoPicture(const CheckContext& context) {
  const PictureTypeInfo& picture = context.PictureInfo();
  const std::string type = picture.name;
  if (picture.type == PictureType::kNone) return "[Contents] Type does not name a picture";
  char16_t format[kPatternCapacity];
  if (picture.readsFormat &&
      context.document->GetWideString("Contents", "Format", format, kPatternCapacity, nullptr) == 0) {
    return "the " + type + " picture has no usable [Contents] Format (missing, empty or longer than 63 characters)";
  }
  return "the " + type + " picture has a size no surface takes (see the findings above)";
}

}  // namespace

int CheckSettings(const char* settingsArgument, const DateRecord* today, std::FILE* out) {
  // The settings path, as a run takes it: without double quotes, else the default file.
  char16_t path[kPathCapacity] = {};
  const SettingsArgument argument = ReadSettingsArgument(settingsArgument, path);
  if (argument == SettingsArgument::kUnusable) {
    PrintLine(out, Printable(SettingsArgumentText(settingsArgument)) +
                       ": error: the path is longer than 255 characters: a run reads no settings");
    return kCheckUnreadable;
  }
  const bool given = argument == SettingsArgument::kPath;
  if (!given) platform::LoadResourceString(platform::kDefaultSettingsFileString, path, kPathCapacity);
  CheckContext context;
  context.fileName = given ? SettingsArgumentText(settingsArgument) : NarrowPath(path);
  context.settingsPath = path;
  context.hostPath = HostPath(path);
  context.file = platform::QueryHostFile(context.hostPath.c_str());
  if (context.file.kind != platform::FileKind::kRegular || !context.file.readable) {
    PrintLine(out, Printable(context.fileName) + ": error: " + Unreadable(context.file));
    PrintLine(out, Printable(context.fileName) + ": no picture: a run cannot read the settings file");
    return kCheckUnreadable;
  }

  DateRecord day;
  if (today != nullptr) {
    day = *today;
  } else {
    platform::GetLocalTime(&day);
  }
  context.today = day;

  IniDocument document(path);
  IniLoadFacts loadFacts;
  if (document.Load(&loadFacts) != S_OK) {
    PrintLine(out, Printable(context.fileName) + ": error: cannot be opened");
    PrintLine(out, Printable(context.fileName) + ": no picture: a run cannot read the settings file");
    return kCheckUnreadable;
  }
  context.document = &document;
  context.loadFacts = &loadFacts;
  context.preview = PreviewRun(settingsArgument, day);
  context.preview.settingsLoaded = true;

  Report report;
  for (const SettingsCheck check : AllChecks()) check(context, report);
  for (const Finding& finding : report.Sorted()) PrintLine(out, FormatFinding(context.fileName, finding));

  const std::string name = Printable(context.fileName);
  if (!context.preview.pictureDrawn) {
    PrintLine(out, name + ": no picture: " + WhyNoPicture(context));
    return kCheckNoPicture;
  }
  const OutputTarget target = JudgeOutput(context);
  if (!target.writable) {
    PrintLine(out, name + ": no picture: " + target.problem);
    return kCheckNoPicture;
  }
  std::string summary = name + ": a run draws " + context.PictureInfo().article + " " +
                        std::string(context.PictureInfo().name) + " picture of " +
                        std::to_string(context.preview.width) + " x " + std::to_string(context.preview.height) +
                        " pixels into " + Quote(target.shownPath);
  platform::FontChoice font;
  const platform::LogicalFont record = ConfiguredFontRecord(document, "Font");
  if (platform::DescribeFontChoice(record, &font)) {
    summary += " with the font " + Quote(font.family) + " (" + Printable(font.file) + ")";
  }
  PrintLine(out, summary);
  return kCheckPictureWritten;
}

}  // namespace orvendale
