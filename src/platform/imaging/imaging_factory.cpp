#include <array>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/fault_injection.h"
#include "platform/imaging/imaging.h"
#include "platform/imaging/imaging_internal.h"

namespace orvendale::platform {
namespace {

constexpr Guid kPngFormat{
    0x4F52F001, 0x6D0A, 0x4E1C, {0x9A, 0x31, 0x50, 0x4E, 0x47, 0x46, 0x4D, 0x54}};
constexpr Guid kBmpFormat{
    0x4F52F002, 0x6D0A, 0x4E1C, {0x9A, 0x31, 0x42, 0x4D, 0x50, 0x46, 0x4D, 0x54}};

struct EncoderEntry {
  Guid classId;
  Guid formatId;
  const char16_t* codecName;
  const char16_t* formatDescription;
  const char16_t* filenameExtension;
  const char16_t* mimeType;
};

constexpr std::array<EncoderEntry, 2> kEncoders{{
    {kPngEncoderClass, kPngFormat, u"PNG encoder", u"PNG", u"*.PNG", u"image/png"},
    {kBmpEncoderClass, kBmpFormat, u"BMP encoder", u"BMP", u"*.BMP;*.DIB", u"image/bmp"},
}};

// Which encoders are installed; only tests ever change it.
std::array<bool, kEncoders.size()> installed = {true, true};

// Number of UTF-16 units of `text` with its terminator.
std::size_t UnitsWithTerminator(const char16_t* text) {
  std::size_t length = 0;
  while (text[length] != 0) ++length;
  return length + 1;
}

// Copies `text` to `*cursor`, advances the cursor past it and returns where it went.
const char16_t* PlaceText(char16_t*& cursor, const char16_t* text) {
  const std::size_t units = UnitsWithTerminator(text);
  std::memcpy(cursor, text, units * sizeof(char16_t));
  const char16_t* placed = cursor;
  cursor += units;
  return placed;
}

class Factory final : public ImagingFactory {
 public:
  HResult GetInstalledEncoders(std::uint32_t* count, EncoderDescription** encoders) override {
    if (count == nullptr || encoders == nullptr) return E_POINTER;
    *count = 0;
    *encoders = nullptr;
    if (ShouldFail(FaultPoint::kGetInstalledEncoders)) return E_FAIL;

    // One block: the descriptions first, then every text they point to, so that the
    // caller frees everything with one std::free.
    std::uint32_t listed = 0;
    std::size_t textUnits = 0;
    for (std::size_t i = 0; i < kEncoders.size(); ++i) {
      if (!installed[i]) continue;
      ++listed;
      const EncoderEntry& entry = kEncoders[i];
      textUnits += UnitsWithTerminator(entry.codecName) +
                   UnitsWithTerminator(entry.formatDescription) +
                   UnitsWithTerminator(entry.filenameExtension) +
                   UnitsWithTerminator(entry.mimeType);
    }
    const std::size_t arrayBytes = listed * sizeof(EncoderDescription);
    void* block = std::malloc(arrayBytes + textUnits * sizeof(char16_t) + 1);
    if (block == nullptr) return E_OUTOFMEMORY;

    auto* descriptions = static_cast<EncoderDescription*>(block);
    auto* cursor = reinterpret_cast<char16_t*>(static_cast<unsigned char*>(block) + arrayBytes);
    std::uint32_t index = 0;
    for (std::size_t i = 0; i < kEncoders.size(); ++i) {
      if (!installed[i]) continue;
      const EncoderEntry& entry = kEncoders[i];
      EncoderDescription* description = new (&descriptions[index++]) EncoderDescription{};
      description->classId = entry.classId;
      description->formatId = entry.formatId;
      description->codecName = PlaceText(cursor, entry.codecName);
      description->formatDescription = PlaceText(cursor, entry.formatDescription);
      description->filenameExtension = PlaceText(cursor, entry.filenameExtension);
      description->mimeType = PlaceText(cursor, entry.mimeType);
      description->version = 1;
    }
    *count = listed;
    *encoders = descriptions;
    return S_OK;
  }

  HResult CreateImageEncoderToFile(const Guid* encoderClass, const char16_t* path,
                                   ImageEncoder** encoder) override {
    if (encoder == nullptr) return E_POINTER;
    *encoder = nullptr;
    if (encoderClass == nullptr || path == nullptr) return E_INVALIDARG;
    if (ShouldFail(FaultPoint::kCreateImageEncoder)) return E_FAIL;
    if (!IsEncoderInstalled(*encoderClass)) return REGDB_E_CLASSNOTREG;
    return CreateFileEncoder(*encoderClass, path, encoder);
  }

  HResult CreateImageFromFile(const char16_t* path, Image** image) override {
    if (image == nullptr) return E_POINTER;
    *image = nullptr;
    if (path == nullptr) return E_INVALIDARG;
    if (ShouldFail(FaultPoint::kCreateImageFromFile)) return E_FAIL;
    return CreateDecodedImage(path, image);
  }

  std::uint32_t Release() override {
    const std::uint32_t remaining = --references_;
    if (remaining == 0) delete this;
    return remaining;
  }

 private:
  std::uint32_t references_ = 1;
};

}  // namespace

ImagingFactory* NewImagingFactory() { return new (std::nothrow) Factory; }

bool IsEncoderInstalled(const Guid& encoderClass) {
  for (std::size_t i = 0; i < kEncoders.size(); ++i) {
    if (kEncoders[i].classId == encoderClass) return installed[i];
  }
  return false;
}

void SetEncoderInstalled(const Guid& encoderClass, bool isInstalled) {
  for (std::size_t i = 0; i < kEncoders.size(); ++i) {
    if (kEncoders[i].classId == encoderClass) installed[i] = isInstalled;
  }
}

}  // namespace orvendale::platform
