#pragma once
// The file a run writes its picture to, by platform path. The picture replaces the file
// whole or not at all, and the file behaves as if it were written in place:
// - A new or existing file in a folder the user may write is written to a temporary file
//   beside it, which is renamed over it once complete. An existing file keeps its
//   permissions.
// - A symbolic link stays a link: the file it points to (through any chain of links) is
//   the one replaced, and the temporary file goes beside that file. A link to a file that
//   does not exist creates that file, as writing through the link would.
// - A file the user may not write is left alone: no picture.
// - A file the user may write in a folder the user may not write is rewritten in place
//   from the picture held whole in memory, so that every failure before the first byte
//   is written leaves the old file whole. The room for the picture is reserved before
//   writing; should a write still fail, the old bytes are put back.
// Folders, missing folders and empty names make no picture.

#include <cstddef>
#include <memory>
#include <string>

namespace orvendale::platform {

// The file that OutputFile::Open writes for host path `hostPath`: the path itself, or the
// file at the end of its chain of symbolic links, which need not exist (kFound, with
// `*target` set). kLinkLoop for links that lead round in a loop or on too long a chain;
// kUnreachable for a link that cannot be read, a folder on the way that cannot be searched
// or is a file, or an empty path. Open writes no picture for either.
enum class OutputLinks { kFound, kLinkLoop, kUnreachable };
OutputLinks FindOutputTarget(const char* hostPath, std::string* target);

class OutputFile {
 public:
  OutputFile();
  ~OutputFile();  // a temporary file not yet renamed is removed
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Chooses how the picture reaches `platformPath` and prepares it (the temporary file,
  // or the existing file opened for writing). False when no picture can be written
  // there; nothing is then created or changed.
  bool Open(const char16_t* platformPath);

  // Adds `size` bytes to the picture. False when they could not be kept (a full disk, no
  // memory); the output is then as it was, and Commit fails.
  bool Write(const void* data, std::size_t size);

  // Makes the bytes written the content of the output. False when that failed; the output
  // is then as it was before Open.
  bool Commit();

  // How Open chose to write; for tests.
  enum class Method { kNone, kReplace, kInPlace };
  Method method() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace orvendale::platform
