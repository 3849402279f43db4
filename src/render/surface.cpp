#include "render/surface.h"

#include "platform/system/text.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

constexpr std::uint16_t kBitsPerPixel = 32;
constexpr std::uint32_t kUncompressedRgb = 0;
constexpr std::uint32_t kRgbColours = 0;  // the colour table holds RGB values
constexpr std::uint32_t kBytesPerPixel = 4;

// Reads `key` as a number and keeps its low 16 bits as a signed value.
std::int32_t GetInt16(const IniDocument& document, const char* section, const SettingRow& row) {
  return CutTo16Bits(document.GetInt(section, row.key, row.defaultNumber));
}

}  // namespace

Surface CreateSurface(platform::DrawingContext* screenContext, std::int32_t width, std::int32_t height) {
  platform::BitmapInfo info{};
  info.header.size = sizeof(platform::BitmapInfoHeader);
  info.header.width = width;
  info.header.height = height;  // positive: the rows are stored bottom-up
  info.header.planes = 1;
  info.header.bitCount = kBitsPerPixel;
  info.header.compression = kUncompressedRgb;
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
  record.height = GetInt16(document, section, Setting("Font", "Height"));
  if (record.height == 0) record.height = GetInt16(document, section, Setting("Font", "Size"));

  char weight[kWeightCapacity] = {};
  if (document.GetString(section, Setting("Font", "Weight").key, weight, kWeightCapacity, nullptr) > 0 &&
      platform::KeywordEquals(weight, "bold")) {
    record.weight = platform::kWeightBold;
  }
  record.charSet = platform::kShiftJisCharSet;

  if (document.GetWideString(section, Setting("Font", "Face").key, record.faceName, platform::kFaceNameCapacity, nullptr) == 0) {
    document.GetWideString(section, Setting("Font", "Font").key, record.faceName, platform::kFaceNameCapacity, kDefaultFaceName);
  }
  // The record's face name is always terminated, whatever the getter left in it.
  record.faceName[platform::kFaceNameCapacity - 1] = 0;
  return record;
}

platform::Font* CreateConfiguredFont(const IniDocument& document, const char* section) {
  const platform::LogicalFont record = ConfiguredFontRecord(document, section);
  return platform::CreateFontIndirect(&record);
}

DrawingSequence::DrawingSequence(platform::DrawingContext* screenContext, const IniDocument& document)
    : screenContext_(screenContext) {
  context_ = platform::CreateCompatibleContext(screenContext);
  font_ = CreateConfiguredFont(document, "Font");
  if (font_ != nullptr) previousFont_ = platform::SelectFont(context_, font_);
}

DrawingSequence::~DrawingSequence() {
  Release();
  platform::DeleteBitmap(surface_);  // drawn but never handed out
}

bool DrawingSequence::PrepareSurface(std::int32_t width, std::int32_t height) {
  if (context_ == nullptr || surface_ != nullptr) return false;
  surface_ = CreateSurface(screenContext_, width, height);
  if (surface_ == nullptr) {
    Release();
    return false;
  }
  previousBitmap_ = platform::SelectBitmap(context_, surface_);
  FillKeyBackground(context_, Rect{0, 0, width, height});
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
