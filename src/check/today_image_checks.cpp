// [Contents] TodayImage: the path it resolves to, [Image] Path joined without a
// separator, and whether the file is there, readable, of a kind a run reads and not too
// large.

#include <cstring>
#include <string>

#include "calendar/packed_date.h"
#include "check/checks.h"
#include "check/path_text.h"
#include "imagefile/image_folder.h"
#include "imagefile/image_placement.h"
#include "platform/imaging/imaging.h"
#include "platform/system/path.h"
#include "platform/system/text.h"

namespace orvendale {
namespace {

// The kinds a run reads, told by their first bytes.
bool IsReadableKind(const unsigned char* start, int count) {
  const auto starts = [&](const char* magic, int length) {
    return count >= length && std::memcmp(start, magic, static_cast<std::size_t>(length)) == 0;
  };
  return starts("BM", 2) || starts("\x89PNG\r\n\x1A\n", 8) || starts("\xFF\xD8\xFF", 3) ||
         starts("GIF87a", 6) || starts("GIF89a", 6);
}

}  // namespace

void CheckTodayImage(const CheckContext& context, Report& report) {
  const char* value = context.Value("Contents", "TodayImage");
  if (value == nullptr || value[0] == 0) return;
  const int line = context.LineOf("Contents", "TodayImage");
  // Without a picture type, the image is still checked: the file is meant to draw one.
  const PictureTypeInfo& picture = context.PictureInfo();
  if (picture.type != PictureType::kNone && !picture.isMonthGrid) {
    report.Note(line, "[Contents] TodayImage is drawn only on a Calendar picture: a run does not draw it here");
    return;
  }
  char16_t name[kPathCapacity];
  if (platform::WideFromNarrow(value, name, kPathCapacity) == 0) return;
  const std::u16string& folder = context.preview.imageFolder;
  if (platform::JoinsWithoutSeparator(folder.c_str(), name)) {
    report.Warn(line, "TodayImage " + Quote(value) + " is joined to [Image] Path " + Quote(NarrowPath(folder)) +
                          " without a separator: a run looks for " + Quote(NarrowPath(folder + name)) +
                          "; end Path with '/' (or write a full path)");
  }
  char16_t resolvedPath[kPathCapacity];
  if (!platform::ResolvePath(folder.c_str(), name, resolvedPath, kPathCapacity)) {
    report.Warn(line, "TodayImage resolves to a path longer than 255 characters: a run draws no image");
    return;
  }
  const std::u16string resolved = resolvedPath;
  const std::string host = HostPath(resolved);
  const platform::FileFacts facts = platform::QueryHostFile(host.c_str());
  const std::string where = "TodayImage " + Quote(NarrowPath(resolved));
  if (facts.kind == platform::FileKind::kMissing) {
    report.Warn(line, where + " does not exist: a run draws the calendar without it");
    return;
  }
  if (facts.kind != platform::FileKind::kRegular) {
    report.Warn(line, where + " is " + (facts.kind == platform::FileKind::kFolder ? "a folder" : "not a regular file") +
                          ": a run draws the calendar without it");
    return;
  }
  unsigned char start[8];
  const int count = platform::ReadFileStart(host.c_str(), start, sizeof start);
  if (!facts.readable || count == 0) {
    report.Warn(line, where + (count == 0 && facts.readable ? " is empty" : " cannot be read") +
                          ": a run draws the calendar without it");
    return;
  }
  if (!IsReadableKind(start, count)) {
    report.Warn(line, where + " is not a BMP, PNG, JPEG or GIF file: a run draws the calendar without it");
    return;
  }
  std::int32_t width = 0;
  std::int32_t height = 0;
  GetImageFileSize(resolved.c_str(), &width, &height);
  if (width <= 0 || height <= 0) {
    std::int32_t declaredWidth = 0;
    std::int32_t declaredHeight = 0;
    if (platform::ReadImageFileSize(resolved.c_str(), &declaredWidth, &declaredHeight) && declaredWidth > 0 &&
        static_cast<std::uint64_t>(declaredWidth) * static_cast<std::uint64_t>(declaredHeight) >
            platform::kMaxImagePixels) {
      report.Warn(line, where + " declares " + std::to_string(declaredWidth) + " x " +
                            std::to_string(declaredHeight) + " pixels, more than the " +
                            std::to_string(platform::kMaxImagePixels >> 20) + " megapixels (" +
                            std::to_string(platform::kMaxImagePixelsSide) + " x " +
                            std::to_string(platform::kMaxImagePixelsSide) +
                            ") a run decodes: a run draws the calendar without it");
      return;
    }
    report.Warn(line, where + " cannot be decoded (it is damaged or cut short): a run draws the calendar without it");
    return;
  }
  const std::string size = where + " is " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
  // The image goes on today's own cell only: with an Offset the month drawn may not hold
  // today, and a neighbouring month's day is never today.
  DateRecord shown = context.today;
  const std::int32_t offset = context.document->GetInt("Contents", "Offset", 0);
  if (offset != 0) AddMonths(&shown, CutTo16Bits(offset));
  if (shown.year != context.today.year || shown.month != context.today.month) {
    const std::string month = (shown.month < 10 ? "-0" : "-") + std::to_string(shown.month);
    report.Note(line, size + ", but today is not in the month drawn (" + std::to_string(shown.year) + month +
                          ", by [Contents] Offset): a run does not draw it");
    return;
  }
  report.Note(line, size + ", drawn centred on today's cell");
}

}  // namespace orvendale
