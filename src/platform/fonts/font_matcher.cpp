#include "platform/fonts/font_matcher.h"

#include <algorithm>
#include <array>

#include "platform/fonts/font_runtime.h"
#include "platform/system/text.h"

namespace orvendale::platform {
namespace {

struct FamilySubstitute {
  const char* faceName;
  const char* family;
};

// Stock fontconfig knows none of the handheld's face names; without this table
// "ＭＳ ゴシック" would reach IPAGothic only through the Japanese language, and a Latin
// face name would reach whatever the default sans-serif family is.
constexpr std::array kFamilySubstitutes = {
    FamilySubstitute{"ＭＳ ゴシック", "IPAGothic"},
    FamilySubstitute{"MS Gothic", "IPAGothic"},
    FamilySubstitute{"ＭＳ Ｐゴシック", "IPAPGothic"},
    FamilySubstitute{"MS PGothic", "IPAPGothic"},
    FamilySubstitute{"MS UI Gothic", "IPAPGothic"},
    FamilySubstitute{"ＭＳ 明朝", "IPAMincho"},
    FamilySubstitute{"MS Mincho", "IPAMincho"},
    FamilySubstitute{"ＭＳ Ｐ明朝", "IPAPMincho"},
    FamilySubstitute{"MS PMincho", "IPAPMincho"},
    FamilySubstitute{"Tahoma", "DejaVu Sans"},
    FamilySubstitute{"Arial", "DejaVu Sans"},
    FamilySubstitute{"Verdana", "DejaVu Sans"},
    FamilySubstitute{"Segoe UI", "DejaVu Sans"},
    FamilySubstitute{"Times New Roman", "DejaVu Serif"},
    FamilySubstitute{"Courier New", "DejaVu Sans Mono"},
};

// The languages of the platform's East Asian character sets.
const char* LanguageOf(std::uint8_t charSet) {
  switch (charSet) {
    case 128: return "ja";     // Shift JIS
    case 129: return "ko";     // Hangul
    case 134: return "zh-cn";  // GB 2312
    case 136: return "zh-tw";  // Big5
    default: return nullptr;
  }
}

constexpr std::int32_t kBoldWeightThreshold = 600;
constexpr std::int32_t kMaxWeight = 1000;

// The match's file, face index and emboldening; false without a file.
bool ReadMatch(FcPattern* match, bool boldWanted, FontFileMatch* out) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
    return false;
  }
  int index = 0;
  if (FcPatternGetInteger(match, FC_INDEX, 0, &index) != FcResultMatch) index = 0;
  FcBool embolden = FcFalse;
  if (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) != FcResultMatch) embolden = FcFalse;
  // The configuration usually marks a regular face matched for bold as to be emboldened;
  // the same rule here keeps bold working without that configuration file.
  int weight = FC_WEIGHT_REGULAR;
  if (FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) != FcResultMatch) weight = FC_WEIGHT_REGULAR;
  if (boldWanted && weight < FC_WEIGHT_DEMIBOLD) embolden = FcTrue;

  out->file = reinterpret_cast<const char*>(file);
  out->faceIndex = index & 0xFFFF;  // the upper bits name a named instance, not a face
  out->embolden = embolden ? Embolden::kYes : Embolden::kNo;
  return true;
}

}  // namespace

const char* SubstituteFamily(const char* faceName) {
  if (faceName == nullptr) return "";
  for (const FamilySubstitute& substitute : kFamilySubstitutes) {
    if (KeywordEquals(faceName, substitute.faceName)) return substitute.family;
  }
  return faceName;
}

std::unique_ptr<FontMatcher> FontMatcher::ForRecord(const LogicalFont* record, std::int32_t pixelSize) {
  if (record == nullptr) return nullptr;
  FcConfig* config = FontConfiguration();
  if (config == nullptr) return nullptr;

  // The record's face name need not be terminated inside its 32 units: read at most 31.
  char16_t faceName[kFaceNameCapacity];
  WideCopy(faceName, kFaceNameCapacity, record->faceName);
  // Each unit becomes at most 3 bytes (a surrogate pair 4 bytes for 2 units).
  char narrowName[kFaceNameCapacity * 3 + 1];
  if (NarrowFromWide(faceName, narrowName, static_cast<int>(sizeof narrowName)) == 0) {
    narrowName[0] = 0;
  }

  FcPattern* pattern = FcPatternCreate();
  if (pattern == nullptr) return nullptr;
  const char* family = SubstituteFamily(narrowName);
  if (*family != 0) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  if (const char* language = LanguageOf(record->charSet)) {
    FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(language));
  }
  const bool boldWanted = record->weight >= kBoldWeightThreshold;
  if (record->weight > 0) {
    FcPatternAddDouble(pattern, FC_WEIGHT,
                       FcWeightFromOpenTypeDouble(std::min(record->weight, kMaxWeight)));
  }
  FcPatternAddDouble(pattern, FC_PIXEL_SIZE, std::max(pixelSize, 1));
  FcConfigSubstitute(config, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  return std::unique_ptr<FontMatcher>(new FontMatcher(pattern, boldWanted));
}

FontMatcher::FontMatcher(_FcPattern* pattern, bool boldWanted)
    : pattern_(pattern), boldWanted_(boldWanted) {}

FontMatcher::~FontMatcher() {
  if (sorted_ != nullptr) FcFontSetDestroy(sorted_);
  FcPatternDestroy(pattern_);
}

bool FontMatcher::BestMatch(FontFileMatch* out, std::vector<std::string>* families) const {
  FcConfig* config = FontConfiguration();
  if (config == nullptr) return false;
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(config, pattern_, &result);
  if (match == nullptr) return false;
  const bool found = ReadMatch(match, boldWanted_, out);
  FcChar8* family = nullptr;
  for (int i = 0; families != nullptr && FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch; ++i) {
    families->emplace_back(reinterpret_cast<const char*>(family));
  }
  FcPatternDestroy(match);
  return found;
}

bool FontMatcher::FindFallback(char32_t codePoint,
                               const std::function<bool(const FontFileMatch&)>& accept) {
  FcConfig* config = FontConfiguration();
  if (config == nullptr) return false;
  if (!sortTried_) {
    sortTried_ = true;
    FcResult result = FcResultNoMatch;
    // Trimmed: a font that adds no character to the ones before it is left out.
    sorted_ = FcFontSort(config, pattern_, FcTrue, nullptr, &result);
  }
  if (sorted_ == nullptr) return false;
  for (int i = 0; i < sorted_->nfont; ++i) {
    FcCharSet* characters = nullptr;
    if (FcPatternGetCharSet(sorted_->fonts[i], FC_CHARSET, 0, &characters) != FcResultMatch ||
        !FcCharSetHasChar(characters, codePoint)) {
      continue;
    }
    FcPattern* prepared = FcFontRenderPrepare(config, pattern_, sorted_->fonts[i]);
    if (prepared == nullptr) continue;
    FontFileMatch match;
    const bool read = ReadMatch(prepared, boldWanted_, &match);
    FcPatternDestroy(prepared);
    if (read && accept(match)) return true;
  }
  return false;
}

}  // namespace orvendale::platform
