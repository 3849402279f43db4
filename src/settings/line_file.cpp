#include "settings/line_file.h"

#include <algorithm>
#include <cstring>

#include "platform/system/text.h"

namespace orvendale {
namespace {

constexpr char kCarriageReturn = '\r';
constexpr char kLineFeed = '\n';
constexpr char kLineEnd[2] = {kCarriageReturn, kLineFeed};

struct ModeRule {
  platform::FileAccess access;
  platform::FileCreation creation;
};

constexpr ModeRule RuleOf(LineFileMode mode) {
  switch (mode) {
    case LineFileMode::WriteReplace:
      return {platform::FileAccess::kWrite, platform::FileCreation::kCreateAlways};
    case LineFileMode::WriteKeep:
      return {platform::FileAccess::kWrite, platform::FileCreation::kOpenAlways};
    case LineFileMode::ReadExisting:
      break;
  }
  return {platform::FileAccess::kRead, platform::FileCreation::kOpenExisting};
}

// Appends up to `count` bytes of `source` to the `*written` bytes already in `out`, as
// far as they fit before the terminator's place: the line is cut, never overrun.
// Appends what fits of `count` bytes; true when some of them did not fit.
bool CopyTruncated(char* out, int capacity, int* written, const char* source, int count) {
  const int room = capacity - 1 - *written;
  const int copied = count < room ? count : room;
  if (copied > 0) {
    std::memcpy(out + *written, source, static_cast<std::size_t>(copied));
    *written += copied;
  }
  return copied < count;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

}  // namespace

LineFile::~LineFile() { Close(); }

HResult LineFile::Open(const char16_t* path, LineFileMode mode) {
  Close();
  if (path == nullptr || path[0] == 0) return E_FAIL;
  const ModeRule rule = RuleOf(mode);
  const platform::FileHandle handle = platform::OpenFile(path, rule.access, rule.creation);
  if (handle == platform::kInvalidFileHandle) return E_FAIL;
  handle_ = handle;
  length_ = 0;
  atEnd_ = false;
  encodingKnown_ = false;
  encoding_ = TextEncoding::kSystemCodePage;
  unconvertedLength_ = 0;
  fileAtEnd_ = false;
  lineWritten_ = false;
  return S_OK;
}

HResult LineFile::Close() {
  if (IsOpen()) {
    platform::CloseFile(handle_);
    handle_ = platform::kInvalidFileHandle;
  }
  length_ = 0;
  return S_OK;
}

std::uint32_t LineFile::ReadFromFile(void* into, int size) {
  std::uint32_t bytesRead = 0;
  if (!platform::ReadFile(handle_, into, static_cast<std::uint32_t>(size), &bytesRead)) return 0;
  return bytesRead;
}

bool LineFile::Fill() {
  if (length_ == kLineBufferSize || atEnd_) return true;
  if (encoding_ != TextEncoding::kSystemCodePage) return FillConverted();
  const std::uint32_t bytesRead = ReadFromFile(buffer_.data() + length_, kLineBufferSize - length_);
  if (bytesRead == 0) {
    atEnd_ = true;
  } else {
    length_ += static_cast<int>(bytesRead);
  }
  if (encodingKnown_) return true;

  // The first bytes of the file tell its encoding; a mark split over two reads still
  // counts.
  encodingKnown_ = true;
  while (length_ < kUtf8MarkBytes && !atEnd_) {
    const std::uint32_t more = ReadFromFile(buffer_.data() + length_, kLineBufferSize - length_);
    if (more == 0) atEnd_ = true;
    length_ += static_cast<int>(more);
  }
  const ByteOrderMark mark = FindByteOrderMark(buffer_.data(), length_);
  if (mark.length > 0) Consume(mark.length);
  encoding_ = mark.encoding;
  if (encoding_ == TextEncoding::kSystemCodePage) return true;
  // The bytes held so far are UTF-16: they are the first to convert.
  std::memcpy(unconverted_.data(), buffer_.data(), static_cast<std::size_t>(length_));
  unconvertedLength_ = length_;
  length_ = 0;
  fileAtEnd_ = atEnd_;
  atEnd_ = false;
  return FillConverted();
}

bool LineFile::FillConverted() {
  for (;;) {
    if (!fileAtEnd_ && unconvertedLength_ < kLineBufferSize) {
      const std::uint32_t bytesRead =
          ReadFromFile(unconverted_.data() + unconvertedLength_, kLineBufferSize - unconvertedLength_);
      if (bytesRead == 0) fileAtEnd_ = true;
      unconvertedLength_ += static_cast<int>(bytesRead);
    }
    int consumed = 0;
    bool roomShort = false;
    const int produced =
        ConvertUtf16ToUtf8(unconverted_.data(), unconvertedLength_, encoding_, fileAtEnd_,
                           buffer_.data() + length_, kLineBufferSize - length_, &consumed, &roomShort);
    std::memmove(unconverted_.data(), unconverted_.data() + consumed,
                 static_cast<std::size_t>(unconvertedLength_ - consumed));
    unconvertedLength_ -= consumed;
    length_ += produced;
    if (produced > 0) return true;
    if (roomShort) return false;
    if (fileAtEnd_ && unconvertedLength_ == 0) {
      atEnd_ = true;
      return true;
    }
    // Half a character is held and the file goes on: read its rest.
  }
}

int LineFile::FindLineEnd() const {
  for (int i = 0; i < length_; ++i) {
    if (buffer_[i] == kLineFeed || buffer_[i] == kCarriageReturn) return i;
  }
  return -1;
}

void LineFile::Consume(int count) {
  // Callers never consume more than is held.
  if (count >= length_) {
    length_ = 0;
    return;
  }
  std::memmove(buffer_.data(), buffer_.data() + count, static_cast<std::size_t>(length_ - count));
  length_ -= count;
}

HResult LineFile::ReadLine(char* out, int capacity) {
  if (!IsOpen() || out == nullptr || capacity < 1) return E_FAIL;
  int written = 0;
  bool lineStarted = false;
  lastLineCut_ = false;
  for (;;) {
    const int end = FindLineEnd();
    if (end >= 0) {
      if (CopyTruncated(out, capacity, &written, buffer_.data(), end)) lastLineCut_ = true;
      if (buffer_[end] == kLineFeed) {
        Consume(end + 1);
      } else if (end + 1 < length_) {
        Consume(buffer_[end + 1] == kLineFeed ? end + 2 : end + 1);
      } else {
        // The CR is the last held byte: its LF, if any, is still in the file.
        Consume(end + 1);
        Fill();
        if (length_ > 0 && buffer_[0] == kLineFeed) Consume(1);
      }
      break;
    }
    if (length_ < kLineBufferSize && !atEnd_ && Fill()) continue;
    // No line end among the held bytes and none can join them: either the buffer is
    // full of one long line (or as full as whole converted characters make it), or the
    // file ended without a line end.
    if (length_ == 0) {
      if (!lineStarted) return E_FAIL;
      break;  // a long line ran up to the end of the file
    }
    if (CopyTruncated(out, capacity, &written, buffer_.data(), length_)) lastLineCut_ = true;
    lineStarted = true;
    length_ = 0;
    if (atEnd_) break;
  }
  out[written] = 0;
  return S_OK;
}

HResult LineFile::ReadWideLine(char16_t* out, int capacity) {
  if (out == nullptr || capacity < 1) return E_FAIL;
  char narrow[kLineBufferSize];
  const HResult status = ReadLine(narrow, kLineBufferSize);
  if (status != S_OK) return status;
  // 255 bytes never make more than 255 UTF-16 units, so this conversion always fits;
  // only the copy into `out` may have to cut.
  char16_t wide[kLineBufferSize];
  if (platform::WideFromNarrow(narrow, wide, kLineBufferSize) == 0) wide[0] = 0;
  int length = platform::WideLength(wide);
  if (length > capacity - 1) {
    length = capacity - 1;
    if (length > 0 && IsHighSurrogate(wide[length - 1])) --length;
  }
  std::memcpy(out, wide, static_cast<std::size_t>(length) * sizeof(char16_t));
  out[length] = 0;
  return status;
}

HResult LineFile::WriteLine(const char* text) {
  if (!IsOpen()) return E_FAIL;
  const std::size_t length = text != nullptr ? std::strlen(text) : 0;
  if (!lineWritten_) {
    lineWritten_ = true;
    const int start = static_cast<int>(std::min<std::size_t>(length, kUtf8MarkBytes));
    if (FindByteOrderMark(text, start).length > 0) {
      platform::WriteFile(handle_, kUtf8Mark, sizeof kUtf8Mark);
    }
  }
  if (length > 0) platform::WriteFile(handle_, text, static_cast<std::uint32_t>(length));
  platform::WriteFile(handle_, kLineEnd, sizeof kLineEnd);
  return S_OK;
}

HResult LineFile::WriteWideLine(const char16_t* text) {
  if (!IsOpen()) return E_FAIL;
  if (text == nullptr || text[0] == 0) return WriteLine(nullptr);
  // The read buffer holds nothing while the file is open for writing.
  if (platform::NarrowFromWideCut(text, buffer_.data(), kLineBufferSize) == 0) buffer_[0] = 0;
  length_ = 0;
  return WriteLine(buffer_.data());
}

}  // namespace orvendale
