#include "platform/system/file.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>

#include "support/temp_directory.h"

namespace orvendale::platform {
namespace {

using testing::TempDirectory;

TEST(HostPathFromPlatformPath, MapsBackslashesAndRefusesWhatDoesNotFit) {
  struct Case {
    const char16_t* path;
    int capacity;
    bool ok;
    std::string host;
  } const cases[] = {
      {u"\\Program Files\\Orvendale\\Orvendale.ini", 64, true, "/Program Files/Orvendale/Orvendale.ini"},
      {u"\\tmp\\pics\\cal.png", 64, true, "/tmp/pics/cal.png"},
      {u"/home/me/pics\\cal.png", 64, true, "/home/me/pics/cal.png"},
      {u"pics\\cal.png", 64, true, "pics/cal.png"},
      {u"\u00E9", 64, true, "\xC3\xA9"},
      {u"", 64, false, ""},
      {nullptr, 64, false, ""},
      {u"abcd", 5, true, "abcd"},
      {u"abcde", 5, false, ""},
  };
  for (const Case& c : cases) {
    char out[64];
    EXPECT_EQ(HostPathFromPlatformPath(c.path, out, c.capacity), c.ok);
    EXPECT_EQ(std::string(out), c.host);
  }
}

TEST(OpenFile, HoldsTheFileExclusivelyUntilClosed) {
  TempDirectory directory;
  directory.Write("a.ini", "x");
  const std::u16string path = directory.PlatformPath("a.ini");
  const FileHandle first = OpenFile(path.c_str(), FileAccess::kRead, FileCreation::kOpenExisting);
  ASSERT_NE(first, kInvalidFileHandle);
  EXPECT_EQ(OpenFile(path.c_str(), FileAccess::kRead, FileCreation::kOpenExisting), kInvalidFileHandle);
  // A second opener that would empty the file must leave it as it is.
  EXPECT_EQ(OpenFile(path.c_str(), FileAccess::kWrite, FileCreation::kCreateAlways), kInvalidFileHandle);
  EXPECT_EQ(directory.Read("a.ini"), "x");
  CloseFile(first);
  const FileHandle again = OpenFile(path.c_str(), FileAccess::kRead, FileCreation::kOpenExisting);
  EXPECT_NE(again, kInvalidFileHandle);
  CloseFile(again);
}

TEST(OpenFile, OpensRegularFilesOnlyAndFollowsTheCreationRule) {
  TempDirectory directory;
  std::filesystem::create_directory(directory.root() / "folder");
  const std::u16string folder = directory.PlatformPath("folder");
  const std::u16string absent = directory.PlatformPath("absent.ini");
  for (const FileCreation creation :
       {FileCreation::kOpenExisting, FileCreation::kCreateAlways, FileCreation::kOpenAlways}) {
    EXPECT_EQ(OpenFile(folder.c_str(), FileAccess::kRead, creation), kInvalidFileHandle);
    EXPECT_EQ(OpenFile(folder.c_str(), FileAccess::kWrite, creation), kInvalidFileHandle);
  }
  EXPECT_EQ(OpenFile(absent.c_str(), FileAccess::kRead, FileCreation::kOpenExisting), kInvalidFileHandle);
  EXPECT_FALSE(directory.Exists("absent.ini"));
  ASSERT_EQ(::mkfifo(directory.Path("pipe").c_str(), 0600), 0);
  const std::u16string pipe = directory.PlatformPath("pipe");
  EXPECT_EQ(OpenFile(pipe.c_str(), FileAccess::kRead, FileCreation::kOpenExisting), kInvalidFileHandle)
      << "a pipe, without waiting for a writer";
  EXPECT_EQ(OpenFile(u"", FileAccess::kRead, FileCreation::kOpenAlways), kInvalidFileHandle);

  // Open always keeps the content and writes from the first byte.
  directory.Write("keep.txt", "0123456789");
  const std::u16string keep = directory.PlatformPath("keep.txt");
  FileHandle file = OpenFile(keep.c_str(), FileAccess::kWrite, FileCreation::kOpenAlways);
  ASSERT_NE(file, kInvalidFileHandle);
  EXPECT_TRUE(WriteFile(file, "ab", 2));
  CloseFile(file);
  EXPECT_EQ(directory.Read("keep.txt"), "ab23456789");

  // Create always empties it.
  file = OpenFile(keep.c_str(), FileAccess::kWrite, FileCreation::kCreateAlways);
  ASSERT_NE(file, kInvalidFileHandle);
  CloseFile(file);
  EXPECT_EQ(directory.Read("keep.txt"), "");
}

}  // namespace
}  // namespace orvendale::platform
