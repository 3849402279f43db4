#include "render/surface.h"

#include "platform/system/text.h"
#include "settings/ini_document.h"

namespace orvendale {
namespace {

constexpr std::uint16_t kBitsPerPixel = 32;
constexpr std::uint32_t kRgbColours = 0;  // the colour table holds RGB values
constexpr std::uint32_t kBytesPerPixel = 4;

// Reads `key` as a number and keeps its low 16 bits as a signed value.
std::int32_t GetInt16(const IniDocument& document, const char* section, const char* key) {
  return CutTo16Bits(document.GetInt(section, key, 0));
}

}  // namespace

Surface CreateSurface(platform::DrawingContext* screenContext, std::int32_t width, std::int32_t height,
                      SurfaceAlpha alpha) {
  platform::BitmapInfo info{};
  info.header.size = sizeof(platform::BitmapInfoHeader);
  info.header.width = width;
  info.header.height = height;  // positive: the rows are stored bottom-up
  info.header.planes = 1;
  info.header.bitCount = kBitsPerPixel;
  info.header.compression =
      alpha == SurfaceAlpha::kWithAlpha ? platform::kAlphaBitFields : platform::kUncompressedRgb;
  // Wraps like the platform's 32-bit field for sizes it refuses anyway.
  info.header.sizeImage = static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(height) * kBytesPerPixel;
  info.header.xPelsPerMeter = kPixelsPerMetre;
  info.header.yPelsPerMeter = kPixelsPerMetre;
  info.header.colorsUsed = 0;
  info.header.colorsImportant = 0;
  info.colors[0] = platform::RgbQuad{};
  // The pixel address is not kept: the export asks the bitmap for it.
  return platform::CreateDibSection(screenContext, &info, kRgbColours, nullptr, 0, nullptr);
}

void FillKeyBackground(platform::DrawingContext* context, const Rect& rect) {
  platform::Brush* brush = platform::CreateSolidBrush(KeyColor);
  platform::FillRect(context, &rect, brush);
  platform::DeleteBrush(brush);
  platform::SetBackgroundMode(context, platform::kTransparent);
}

platform::LogicalFont ConfiguredFontRecord(const IniDocument& document, const char* section) {
  platform::LogicalFont record{};
  record.height = GetInt16(document, section, "Height");
  if (record.height == 0) record.height = GetInt16(document, section, "Size");

  char weight[kWeightCapacity] = {};
  if (document.GetString(section, "Weight", weight, kWeightCapacity, nullptr) > 0 &&
      platform::KeywordEquals(weight, "bold")) {
    record.weight = platform::kWeightBold;
  }
  record.charSet = platform::kShiftJisCharSet;

  if (document.GetWideString(section, "Face", record.faceName, platform::kFaceNameCapacity, nullptr) == 0) {
    document.GetWideString(section, "Font", record.faceName, platform::kFaceNameCapacity, kDefaultFaceName);
  }
  // The record's face name is always terminated, whatever the getter left in it.
  record.faceName[platform::kFaceNameCapacity - 1] = 0;
  return record;
}

platform::LogicalFont StyledFontRecord(platform::LogicalFont record, const PictureStyle& style) {
  if (style.smooth) record.quality = platform::kAntialiasedQuality;
  if (style.scale != kSmallestScale) {
    // A 16-bit height times at most 4 stays far inside 32 bits.
    const std::int32_t height = record.height != 0 ? record.height : kDefaultFontCellHeight;
    record.height = height * style.scale;
  }
  return record;
}

platform::Font* CreateConfiguredFont(const IniDocument& document, const char* section) {
  const platform::LogicalFont record = ConfiguredFontRecord(document, section);
  return platform::CreateFontIndirect(&record);
}

DrawingSequence::DrawingSequence(platform::DrawingContext* screenContext, const IniDocument& document,
                                 const PictureStyle& style)
    : screenContext_(screenContext), style_(style) {
  context_ = platform::CreateCompatibleContext(screenContext);
  const platform::LogicalFont record = StyledFontRecord(ConfiguredFontRecord(document, "Font"), style);
  font_ = platform::CreateFontIndirect(&record);
  if (font_ != nullptr) previousFont_ = platform::SelectFont(context_, font_);
}

DrawingSequence::~DrawingSequence() {
  Release();
  platform::DeleteBitmap(surface_);  // drawn but never handed out
}

bool DrawingSequence::PrepareSurface(std::int32_t width, std::int32_t height) {
  if (context_ == nullptr || surface_ != nullptr) return false;
  surface_ = CreateSurface(screenContext_, width, height,
                           style_.UsesAlpha() ? SurfaceAlpha::kWithAlpha : SurfaceAlpha::kKeyed);
  if (surface_ == nullptr) {
    Release();
    return false;
  }
  previousBitmap_ = platform::SelectBitmap(context_, surface_);
  if (!style_.UsesAlpha()) {
    FillKeyBackground(context_, Rect{0, 0, width, height});
    return true;
  }
  // A surface with alpha starts transparent; a background makes it opaque.
  if (style_.backgroundGiven) {
    platform::Brush* brush = platform::CreateSolidBrush(style_.background);
    const Rect whole{0, 0, width, height};
    platform::FillRect(context_, &whole, brush);
    platform::DeleteBrush(brush);
  }
  platform::SetBackgroundMode(context_, platform::kTransparent);
  return true;
}

Surface DrawingSequence::Close() {
  Release();
  Surface surface = surface_;
  surface_ = nullptr;
  return surface;
}

void DrawingSequence::Release() {
  if (font_ != nullptr) {
    platform::SelectFont(context_, previousFont_);
    platform::DeleteFont(font_);
    font_ = nullptr;
  }
  if (surface_ != nullptr && context_ != nullptr) platform::SelectBitmap(context_, previousBitmap_);
  platform::DeleteContext(context_);
  context_ = nullptr;
}

}  // namespace orvendale
