#include "render/picture_style.h"

#include "platform/system/text.h"
#include "render/text_settings_loader.h"
#include "settings/ini_document.h"
#include "settings/settings_table.h"

namespace orvendale {
namespace {

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<bool> ParseSmooth(const char* word) {
  if (word == nullptr) return std::nullopt;
  if (platform::KeywordEquals(word, "yes")) return true;
  if (platform::KeywordEquals(word, "no")) return false;
  return std::nullopt;
}

std::optional<std::int32_t> ParseScale(const char* text) {
  if (text == nullptr) return std::nullopt;
  while (IsBlank(*text)) ++text;
  const bool negative = *text == '-';
  if (*text == '+' || *text == '-') ++text;
  if (!IsDigit(*text)) return std::nullopt;
  std::int64_t value = 0;
  for (; IsDigit(*text); ++text) {
    // Past the largest scale the value only needs to stay out of range.
    if (value <= kLargestScale) value = value * 10 + (*text - '0');
  }
  while (IsBlank(*text)) ++text;
  if (*text != 0 || negative || value < kSmallestScale || value > kLargestScale) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

PictureStyle ReadPictureStyle(const IniDocument& document) {
  PictureStyle style;
  char word[kStyleWordCapacity];
  if (document.GetString(Setting("Font", "Smooth").section, Setting("Font", "Smooth").key, word, kStyleWordCapacity, nullptr) != 0) {
    style.smooth = ParseSmooth(word).value_or(false);
  }
  if (document.GetString(Setting("Image", "Scale").section, Setting("Image", "Scale").key, word, kStyleWordCapacity, nullptr) != 0) {
    style.scale = ParseScale(word).value_or(kSmallestScale);
  }
  if (document.HasKey(Setting("Image", "Background").section, Setting("Image", "Background").key)) {
    char16_t text[kColorTextCapacity];
    document.GetWideString(Setting("Image", "Background").section, Setting("Image", "Background").key, text, kColorTextCapacity, nullptr);
    ColorComponents components;
    style.backgroundGiven = true;
    style.background = ParseColorText(text, components);
  }
  return style;
}

}  // namespace orvendale
