#include "check/settings_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "settings/ini_document.h"
#include "support/temp_directory.h"

namespace orvendale {
namespace {

using testing::TempDirectory;

struct Scanned {
  SettingsScan scan;
  int documentCount = 0;
};

Scanned ScanText(const std::string& text) {
  TempDirectory directory;
  directory.Write("s.ini", text);
  const std::u16string path = directory.PlatformPath("s.ini");
  IniDocument document(path.c_str());
  EXPECT_EQ(document.Load(), S_OK);
  return Scanned{ScanSettings(path.c_str(), document), document.count()};
}

// Every line end counts one line: CR LF, LF and a lone CR.
TEST(SettingsScan, NumbersLinesAsTheyEnd) {
  const Scanned result = ScanText("[Image]\r\nFile=a.png\rWidth=3\n\n[Contents]\r\nType=Date");
  ASSERT_TRUE(result.scan.matchesDocument);
  EXPECT_EQ(result.scan.LineOf("Image", "File"), 2);
  EXPECT_EQ(result.scan.LineOf("Image", "Width"), 3);
  EXPECT_EQ(result.scan.LineOf("Contents", "Type"), 6);
  EXPECT_EQ(result.scan.LineOf("Contents", "Format"), 0);
}

TEST(SettingsScan, FindsTheEntryTheGettersFind) {
  // The first of two equal keys counts, also when its section comes back later.
  const Scanned result = ScanText("[A]\nk=1\n[B]\nk=2\n[A]\nk=3\nj=4\n");
  EXPECT_EQ(result.scan.LineOf("A", "k"), 2);
  EXPECT_EQ(result.scan.LineOf("A", "j"), 7);
  EXPECT_EQ(result.scan.LineOf("B", "k"), 4);
}

TEST(SettingsScan, TellsWhereLoadingStopsCutsAndDrops) {
  std::string text = "[A]\nk=1\n;" + std::string(300, 'x') + "\n";
  for (int i = 0; i < 300; ++i) text += ";\n";
  text += "stop here\nk=2\n";
  const Scanned result = ScanText(text);
  ASSERT_TRUE(result.scan.matchesDocument);
  EXPECT_EQ(result.scan.cutLines, std::vector<int>{3});
  EXPECT_EQ(result.scan.firstDroppedLine, 3 + 255);  // entries 1-2 on lines 2-3, 254 comments
  EXPECT_EQ(result.scan.droppedLines, 300 - 254);
  EXPECT_EQ(result.scan.stopLine, 304);
  EXPECT_EQ(result.scan.linesAfterStop, 1);

  // A key line cut before its "=" has none left: loading stops there.
  const Scanned cut = ScanText("[A]\n" + std::string(300, 'k') + "=1\nj=2\n");
  EXPECT_EQ(cut.scan.stopLine, 2);
  EXPECT_EQ(cut.scan.cutLines, std::vector<int>{2});
}

// The scan must store exactly what the document stores, or its line numbers would
// belong to other entries: random files over the characters that steer the loader.
TEST(SettingsScan, AgreesWithTheDocumentOnRandomFiles) {
  std::mt19937 random(1904);
  const std::string alphabet = "[]= \ta;#\r\n\nKk\x00\xEF";
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int length = static_cast<int>(random() % 2000);
    for (int i = 0; i < length; ++i) text += alphabet[random() % alphabet.size()];
    if (round % 10 == 0) text += std::string(400, 'k') + "\n";
    const Scanned result = ScanText(text);
    ASSERT_TRUE(result.scan.matchesDocument) << "round " << round;
    ASSERT_EQ(static_cast<int>(result.scan.entries.size()), result.documentCount);
  }
}

}  // namespace
}  // namespace orvendale
