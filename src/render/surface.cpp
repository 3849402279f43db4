#include "render/surface.h"

#include "platform/system/text.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

constexpr std::uint16_t kBitsPerPixel = 32;
constexpr std::uint32_t kRgbColours = 0;  // the colour table holds RGB values
constexpr std::uint32_t kBytesPerPixel = 4;

// Reads `key` as a number and keeps its low 16 bits as a signed value.
std::int32_t GetInt16(const IniDocument& document, const char* section, const SettingRow& row) {
  return CutTo16Bits(document.GetInt(section, row.key, row.defaultNumber));
}

// Paints the whole width x height bitmap of `context` with `color`.
void FillBackground(platform::DrawingContext* context, ColorRef color, std::int32_t width,
                    std::int32_t height) {
  platform::Brush* brush = platform::CreateSolidBrush(color);
  const Rect whole{0, 0, width, height};
  platform::FillRect(context, &whole, brush);
  platform::DeleteBrush(brush);
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
  // Monochrome pictures are drawn keyed, also those that get a background: that is laid
  // under them when the sequence closes, so that they are exactly the transparent picture
  // on that colour. Smooth text needs alpha from the start.
  surface_ = CreateSurface(screenContext_, width, height,
                           style_.smooth ? SurfaceAlpha::kWithAlpha : SurfaceAlpha::kKeyed);
  if (surface_ == nullptr) {
    Release();
    return false;
  }
  width_ = width;
  height_ = height;
  previousBitmap_ = platform::SelectBitmap(context_, surface_);
  if (!style_.smooth) {
    FillKeyBackground(context_, Rect{0, 0, width, height});
    return true;
  }
  // A surface with alpha starts transparent; a background makes it opaque.
  if (style_.backgroundGiven) FillBackground(context_, style_.background, width, height);
  platform::SetBackgroundMode(context_, platform::kTransparent);
  return true;
}

Surface DrawingSequence::Close() {
  if (surface_ != nullptr && context_ != nullptr && style_.backgroundGiven && !style_.smooth) {
    LayOnBackground();
  }
  Release();
  Surface surface = surface_;
  surface_ = nullptr;
  return surface;
}

void DrawingSequence::LayOnBackground() {
  // The opaque picture: the background, and every pixel of the keyed one that is not the
  // key. Without room for it there is no picture, as when a surface cannot be made.
  Surface opaque = CreateSurface(screenContext_, width_, height_, SurfaceAlpha::kWithAlpha);
  platform::DrawingContext* target = platform::CreateCompatibleContext(screenContext_);
  if (opaque != nullptr && target != nullptr) {
    platform::SelectBitmap(target, opaque);
    FillBackground(target, style_.background, width_, height_);
    platform::TransparentBlt(target, 0, 0, width_, height_, context_, 0, 0, width_, height_, KeyColor);
    platform::SelectBitmap(target, nullptr);
  } else {
    platform::DeleteBitmap(opaque);
    opaque = nullptr;
  }
  platform::DeleteContext(target);
  platform::SelectBitmap(context_, previousBitmap_);
  platform::DeleteBitmap(surface_);
  previousBitmap_ = platform::SelectBitmap(context_, opaque);
  surface_ = opaque;
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
