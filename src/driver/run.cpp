#include "driver/run.h"

#include <cstring>

#include "driver/event_settings.h"
#include "driver/holiday_settings.h"
#include "driver/picture_type.h"
#include "driver/settings_argument.h"
#include "imagefile/png_export.h"
#include "platform/system/clock.h"
#include "platform/system/path.h"
#include "platform/system/resources.h"
#include "platform/system/text.h"
#include "platform/types.h"
#include "render/agenda.h"
#include "render/month_grid.h"
#include "render/picture_style.h"
#include "render/single_line.h"
#include "render/text_settings_loader.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {

char16_t SettingsFilePath[kPathCapacity] = {};
char16_t OutputFileName[kPathCapacity] = {};
char16_t OutputFilePath[kPathCapacity] = {};

namespace {

constexpr const char* kImageSection = "Image";
constexpr const char* kContentSection = "Contents";

// The screen drawing context, held from its getting to the end of the run.
class ScreenContext {
 public:
  ScreenContext() : context_(platform::GetScreenContext()) {}
  ~ScreenContext() { platform::ReleaseScreenContext(context_); }
  ScreenContext(const ScreenContext&) = delete;
  ScreenContext& operator=(const ScreenContext&) = delete;
  platform::DrawingContext* get() const { return context_; }

 private:
  platform::DrawingContext* context_;
};

// The picture a renderer returned, deleted when the run is done with it.
class SurfaceHolder {
 public:
  explicit SurfaceHolder(Surface surface) : surface_(surface) {}
  ~SurfaceHolder() { platform::DeleteBitmap(surface_); }
  SurfaceHolder(const SurfaceHolder&) = delete;
  SurfaceHolder& operator=(const SurfaceHolder&) = delete;
  Surface get() const { return surface_; }

 private:
  Surface surface_;
};

}  // namespace

RunServices BuiltInServices() {
  RunServices services;
  services.calendarHeader = RenderCalendarHeader;
  services.calendar = RenderCalendar;
  services.date = RenderDate;
  services.agenda = RenderAgenda;
  services.exportPicture = SaveBitmapAsPng;
  return services;
}

bool ComposeOutputPath(char16_t* imageFolder, const char16_t* outputFileName,
                       char16_t* outputFilePath) {
  outputFilePath[0] = 0;
  if (platform::IsRootedPath(outputFileName) || !platform::IsRootedPath(imageFolder)) {
    platform::WideCopy(outputFilePath, kPathCapacity, outputFileName);
    return true;
  }
  const int folderLength = platform::WideLength(imageFolder);
  const bool needsSeparator = !platform::IsPathSeparator(imageFolder[folderLength - 1]);
  const int pathLength = folderLength + (needsSeparator ? 1 : 0) + platform::WideLength(outputFileName);
  if (pathLength > kPathCapacity - 1) return false;
  if (needsSeparator) platform::WideAppend(imageFolder, kPathCapacity, platform::kPathSeparator);
  platform::WideCopy(outputFilePath, kPathCapacity, imageFolder);
  platform::WideAppend(outputFilePath, kPathCapacity, outputFileName);
  return true;
}

Renderer SelectRenderer(const char* contentType, const RunServices& services) {
  switch (ParsePictureType(contentType)) {
    case PictureType::kCalendarHeader: return services.calendarHeader;
    case PictureType::kCalendar: return services.calendar;
    case PictureType::kDate: return services.date;
    case PictureType::kAgenda: return services.agenda;
    case PictureType::kNone: break;
  }
  return nullptr;
}

int RunOrvendale(int argc, const char* const* argv) {
  return RunOrvendale(argc, argv, BuiltInServices());
}

int RunOrvendale(int argc, const char* const* argv, const RunServices& services) {
  // 1. The settings file: the first argument without its double quotes, else the
  // built-in default. An argument that does not fit the buffer is refused rather than
  // cut, since a cut path would name another file.
  const char* argument = argc > 1 && argv != nullptr ? argv[1] : nullptr;
  const SettingsArgument given = ReadSettingsArgument(argument, SettingsFilePath);
  if (given == SettingsArgument::kUnusable) return 0;
  if (given == SettingsArgument::kAbsent &&
      platform::LoadResourceString(platform::kDefaultSettingsFileString, SettingsFilePath,
                                   kPathCapacity) == 0) {
    return 0;
  }

  // 2. The document lives to the end of the run and is destroyed on every way out.
  IniDocument document(SettingsFilePath);
  if (document.Load() != S_OK) return 0;

  // 3-5. Folder and file name. A loaded value is at most 254 bytes and so always fits
  // the 256-unit buffers.
  OutputFilePath[0] = 0;
  ImageFolder[0] = 0;
  OutputFileName[0] = 0;
  document.GetWideString(kImageSection, Setting("Image", "Path").key, ImageFolder, kPathCapacity, nullptr);
  document.GetWideString(kImageSection, Setting("Image", "File").key, OutputFileName, kPathCapacity, nullptr);
  if (OutputFileName[0] == 0 &&
      platform::LoadResourceString(platform::kDefaultOutputFileString, OutputFileName,
                                   kPathCapacity) == 0) {
    return 0;
  }

  // 6. A joined path too long for its buffer makes no picture rather than a wrong file.
  if (!ComposeOutputPath(ImageFolder, OutputFileName, OutputFilePath)) return 0;

  // 7. Size and margins, each cut to a signed 16-bit value.
  RenderParams params;
  params.width = CutTo16Bits(document.GetInt(kImageSection, Setting("Image", "Width").key, Setting("Image", "Width").defaultNumber));
  params.height = CutTo16Bits(document.GetInt(kImageSection, Setting("Image", "Height").key, Setting("Image", "Height").defaultNumber));
  params.marginX = CutTo16Bits(document.GetInt(kImageSection, Setting("Image", "MarginX").key, Setting("Image", "MarginX").defaultNumber));
  params.marginY = CutTo16Bits(document.GetInt(kImageSection, Setting("Image", "MarginY").key, Setting("Image", "MarginY").defaultNumber));
  // Smooth text, scale and background, each as it always was when its key is absent.
  params.style = ReadPictureStyle(document);

  // 8. The names and colours of the text, once, before any renderer runs.
  LoadTextSettings(document);

  // 9-10. Screen context and today's date.
  const ScreenContext screen;
  DateRecord today;
  if (services.today != nullptr) {
    today = *services.today;
  } else {
    platform::GetLocalTime(&today);
  }

  // 11. The content type selects the renderer; a value that does not fit its buffer
  // reads as none and selects nothing.
  char contentType[kContentTypeCapacity];
  Renderer renderer = nullptr;
  if (document.GetString(kContentSection, Setting("Contents", "Type").key, contentType, kContentTypeCapacity, nullptr) != 0) {
    renderer = SelectRenderer(contentType, services);
  }
  if (renderer == nullptr) return 0;

  // The holiday set the day colours follow; only a set that needs them reads a file or
  // loads a library, and only when a picture first asks about a day.
  ChooseHolidaysFromSettings(document, kContentSection);
  // The user's calendars, read only when a picture first asks about a day.
  ChooseEventsFromSettings(document);

  params.screenContext = screen.get();
  params.date = &today;
  params.document = &document;
  params.contentSection = kContentSection;

  // 12. Export, then delete the surface; 13-14. the screen context and then the
  // document are released as the run leaves their scopes.
  const SurfaceHolder surface(renderer(params));
  if (surface.get() != nullptr && services.exportPicture != nullptr) {
    services.exportPicture(surface.get(), OutputFilePath);
  }
  return 0;
}

}  // namespace orvendale
