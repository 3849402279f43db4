#pragma once
// A text file read line by line through one small buffer, and written line by line with
// CR LF line ends. Lines are narrow text (bytes in the system code page).
//
// Reading: CR LF, a lone LF and a lone CR each end exactly one line, also when the line
// end straddles a refill of the buffer; no byte of the next line is ever lost. A line
// longer than the caller's capacity is cut to capacity - 1 bytes and the rest of that
// line is dropped; it never comes back as another line.
//
// Files saved on Windows: a UTF-8 byte-order mark at the start of the file is skipped,
// and a file that starts with a UTF-16 mark (little or big endian) reads as the same text
// in UTF-8, with the same limits on the converted lines; unpaired surrogates and an odd
// last byte read as U+FFFD. A file without a mark reads as its bytes stand.

#include <array>
#include <cstdint>

#include "platform/system/file.h"
#include "platform/types.h"
#include "settings/text_encoding.h"

namespace orvendale {

inline constexpr int kLineBufferSize = 256;

enum class LineFileMode : std::uint8_t {
  ReadExisting = 0,  // read; fails when the file is absent
  WriteReplace = 1,  // write; created, or emptied when it exists
  WriteKeep = 2,     // write; created, or opened with its content, overwritten from its start
};

class LineFile {
 public:
  LineFile() = default;
  ~LineFile();
  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;

  // Opens the file at platform path `path` without sharing. S_OK, or E_FAIL for a null or
  // empty path, or a file that cannot be opened (absent in ReadExisting, a folder,
  // held by another opener, no access); the LineFile then stays closed. An open
  // LineFile is closed first.
  HResult Open(const char16_t* path, LineFileMode mode);
  // Closes the file, if one is open. Always S_OK.
  HResult Close();

  // The next line without its line end into `out`, cut to `capacity` - 1 bytes and
  // terminated. S_OK with a line (an empty line gives empty text); E_FAIL at the end of
  // the file, after a read error, when no file is open, or for a null `out` or a
  // `capacity` below 1. Writes at most `capacity` bytes.
  HResult ReadLine(char* out, int capacity);
  // As ReadLine with a capacity of kLineBufferSize bytes, converted to UTF-16 into `out`;
  // E_FAIL without reading for a null `out` or a `capacity` below 1.
  // Text that does not fit is cut to `capacity` - 1 units, never inside a surrogate pair.
  // Writes at most `capacity` units; nothing when `capacity` < 1.
  HResult ReadWideLine(char16_t* out, int capacity);
  // Whether the line the last ReadLine gave was cut to its capacity (bytes were dropped).
  bool LastLineCut() const { return lastLineCut_; }

  // Writes the text's bytes followed by CR LF; null or empty text writes CR LF alone.
  // When the first line written begins with the bytes of a byte-order mark, a UTF-8 mark
  // goes before it, so that the line reads back as written.
  // S_OK once a file is open (write errors are not detected), E_FAIL when none is.
  HResult WriteLine(const char* text);
  // As WriteLine, after converting to the system code page. Text whose narrow form needs
  // more than kLineBufferSize - 1 bytes is cut after the last whole character that fits.
  HResult WriteWideLine(const char16_t* text);

  bool IsOpen() const { return handle_ != platform::kInvalidFileHandle; }

 private:
  // Adds bytes of the stream behind the held ones, or sets atEnd_. False only when that
  // was impossible because the next character of a UTF-16 file does not fit the room
  // left; a full buffer counts as done.
  bool Fill();
  bool FillConverted();
  std::uint32_t ReadFromFile(void* into, int size);
  int FindLineEnd() const;
  void Consume(int count);

  platform::FileHandle handle_ = platform::kInvalidFileHandle;
  // Held bytes always start at the first byte; length_ counts them.
  std::array<char, kLineBufferSize> buffer_{};
  int length_ = 0;
  // Set once a read failed or gave no bytes; no further reads until the next Open.
  // With a UTF-16 file, once the file is at its end and every byte is converted.
  bool atEnd_ = false;
  // Known once the first bytes were read (TextEncoding::kSystemCodePage until then).
  bool encodingKnown_ = false;
  TextEncoding encoding_ = TextEncoding::kSystemCodePage;
  // A UTF-16 file's bytes not yet converted, from the first byte; the file's end reached.
  std::array<unsigned char, kLineBufferSize> unconverted_{};
  int unconvertedLength_ = 0;
  bool fileAtEnd_ = false;
  bool lineWritten_ = false;
  bool lastLineCut_ = false;
};

}  // namespace orvendale
