#include "platform/system/output_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/fault_injection.h"
#include "support/temp_directory.h"

namespace orvendale::platform {
namespace {

namespace fs = std::filesystem;
using testing::TempDirectory;

const std::string kOld = "old picture\n";
const std::string kPicture = "\x89PNG a new picture, longer than the old one";

// The names in `folder` of the test's directory, sorted, "" for the directory itself.
std::vector<std::string> Entries(const TempDirectory& directory, const std::string& folder = "") {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory.root() / folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

bool WriteWhole(const TempDirectory& directory, const std::string& name, const std::string& bytes) {
  OutputFile output;
  if (!output.Open(directory.PlatformPath(name).c_str())) return false;
  return output.Write(bytes.data(), bytes.size() / 2) &&
         output.Write(bytes.data() + bytes.size() / 2, bytes.size() - bytes.size() / 2) && output.Commit();
}

TEST(OutputFile, LinksStayAndTheirTargetsGetThePicture) {
  const struct {
    const char* what;
    const char* link;     // in folder "links"
    const char* target;   // what the link holds; "@" stands for the directory's path
    bool targetExists;
  } cases[] = {
      {"relative link", "out.png", "../pics/target.png", true},
      {"absolute link", "out.png", "@/pics/target.png", true},
      {"link in the same folder", "out.png", "target.png", true},
      {"dangling link", "out.png", "../pics/target.png", false},
  };
  for (const auto& c : cases) {
    TempDirectory directory;
    fs::create_directory(directory.root() / "links");
    fs::create_directory(directory.root() / "pics");
    std::string target = c.target;
    if (target[0] == '@') target.replace(0, 1, directory.root().string());
    const fs::path targetFile = fs::path(directory.Path("links")) / target;
    if (c.targetExists) directory.Write(fs::relative(targetFile, directory.root()).string(), kOld);
    fs::create_symlink(target, directory.root() / "links" / c.link);

    OutputFile output;
    ASSERT_TRUE(output.Open(directory.PlatformPath(std::string("links/") + c.link).c_str())) << c.what;
    EXPECT_EQ(output.method(), OutputFile::Method::kReplace) << c.what;
    // The temporary file lies beside the target, so that the rename stays on its filesystem.
    int temporaryFiles = 0;
    for (const auto& entry : fs::directory_iterator(targetFile.parent_path())) {
      temporaryFiles += entry.path().filename().string().rfind(".image-", 0) == 0;
    }
    EXPECT_EQ(temporaryFiles, 1) << c.what;
    ASSERT_TRUE(output.Write(kPicture.data(), kPicture.size()));
    ASSERT_TRUE(output.Commit()) << c.what;

    EXPECT_TRUE(fs::is_symlink(directory.root() / "links" / c.link)) << c.what;
    EXPECT_EQ(fs::read_symlink(directory.root() / "links" / c.link).string(), target) << c.what;
    std::ifstream in(targetFile, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), kPicture) << c.what;
    // The link and its target, nothing else.
    EXPECT_EQ(Entries(directory, "links").size() + Entries(directory, "pics").size(), 2u) << c.what;
  }
}

TEST(OutputFile, RefusesWhatNoPictureCanBeWrittenTo) {
  TempDirectory directory;
  fs::create_directory(directory.root() / "folder");
  fs::create_symlink("loop-b", directory.root() / "loop-a");
  fs::create_symlink("loop-a", directory.root() / "loop-b");
  fs::create_symlink("folder", directory.root() / "to-folder");
  fs::create_symlink("missing/new.png", directory.root() / "to-missing-folder");
  const std::vector<std::string> before = Entries(directory);
  for (const char* name : {"folder", "loop-a", "to-folder", "to-missing-folder", "missing/out.png", "folder/"}) {
    OutputFile output;
    EXPECT_FALSE(output.Open(directory.PlatformPath(name).c_str())) << name;
    EXPECT_FALSE(output.Write("x", 1)) << name;
    EXPECT_FALSE(output.Commit()) << name;
  }
  OutputFile output;
  EXPECT_FALSE(output.Open(u""));
  EXPECT_FALSE(output.Open(nullptr));
  EXPECT_EQ(Entries(directory), before);
  EXPECT_TRUE(Entries(directory, "folder").empty());
}

// A folder the user may not write is simulated by the failure of the temporary file;
// the whole-run tests make the same runs as an unprivileged user.
class OutputFileInPlace : public ::testing::Test {
 protected:
  void TearDown() override { ClearFaults(); }
  TempDirectory directory_;
};

TEST_F(OutputFileInPlace, RewritesTheSameFileWhetherItWasShorterOrLonger) {
  for (const std::string& old : {kOld, kPicture + std::string(5000, 'x'), std::string()}) {
    const std::string path = directory_.Write("out.png", old);
    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    struct stat before;
    ASSERT_EQ(::stat(path.c_str(), &before), 0);

    ArmFault(FaultPoint::kCreateTemporaryFile);
    OutputFile output;
    ASSERT_TRUE(output.Open(directory_.PlatformPath("out.png").c_str()));
    EXPECT_EQ(output.method(), OutputFile::Method::kInPlace);
    ASSERT_TRUE(output.Write(kPicture.data(), kPicture.size()));
    EXPECT_EQ(directory_.Read("out.png"), old) << "nothing is written before the commit";
    ASSERT_TRUE(output.Commit());

    EXPECT_EQ(directory_.Read("out.png"), kPicture) << old.size();
    struct stat after;
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0604u);
    EXPECT_EQ(Entries(directory_), std::vector<std::string>{"out.png"});
  }
}

TEST_F(OutputFileInPlace, AWriteThatStopsPartWayPutsTheOldBytesBack) {
  for (const std::string& old : {kOld, kPicture + std::string(5000, 'x'), std::string("z")}) {
    directory_.Write("out.png", old);
    ArmFault(FaultPoint::kCreateTemporaryFile);
    ArmFault(FaultPoint::kRewriteInPlace);
    OutputFile output;
    ASSERT_TRUE(output.Open(directory_.PlatformPath("out.png").c_str()));
    ASSERT_TRUE(output.Write(kPicture.data(), kPicture.size()));
    EXPECT_FALSE(output.Commit());
    EXPECT_EQ(directory_.Read("out.png"), old) << old.size();
    EXPECT_EQ(Entries(directory_), std::vector<std::string>{"out.png"});
  }
}

TEST_F(OutputFileInPlace, OnlyAnExistingRegularFileIsRewritten) {
  // A new file needs the folder; a link still leads to its target.
  ArmFault(FaultPoint::kCreateTemporaryFile);
  EXPECT_FALSE(WriteWhole(directory_, "new.png", kPicture));
  directory_.Write("target.png", kOld);
  fs::create_symlink("target.png", directory_.root() / "link.png");
  ArmFault(FaultPoint::kCreateTemporaryFile);
  EXPECT_TRUE(WriteWhole(directory_, "link.png", kPicture));
  EXPECT_TRUE(fs::is_symlink(directory_.root() / "link.png"));
  EXPECT_EQ(directory_.Read("target.png"), kPicture);
  EXPECT_EQ(Entries(directory_), (std::vector<std::string>{"link.png", "target.png"}));
}

TEST(OutputFile, AnUncommittedPictureLeavesTheOldFileAndNoTemporaryFile) {
  TempDirectory directory;
  directory.Write("out.png", kOld);
  {
    OutputFile output;
    ASSERT_TRUE(output.Open(directory.PlatformPath("out.png").c_str()));
    ASSERT_TRUE(output.Write(kPicture.data(), kPicture.size()));
    EXPECT_EQ(Entries(directory).size(), 2u);
  }
  EXPECT_EQ(directory.Read("out.png"), kOld);
  EXPECT_EQ(Entries(directory), std::vector<std::string>{"out.png"});
}

}  // namespace
}  // namespace orvendale::platform
