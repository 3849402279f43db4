// Every platform step a run depends on fails once, for each kind of picture, through the
// whole in-process run: the run must release what it made, leave no temporary file, keep
// an existing output byte for byte when no picture is exported, and never write a
// partial one.
//
// Leaks are caught by the sanitizer build's leak check when this test's process exits:
// a check in the middle of the process would count the font library's configuration,
// which it reaches through encoded offsets rather than pointers and frees at exit.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/run.h"
#include "platform/fault_injection.h"
#include "platform/imaging/imaging.h"
#include "support/temp_directory.h"
#include "support/test_images.h"

namespace orvendale {
namespace {

using platform::FaultPoint;
using testing::TempDirectory;

// What a run leaves at the output path.
enum class Outcome {
  kKept,      // the previous file, byte for byte
  kBaseline,  // the picture a run without faults writes
  kWritten,   // a complete picture of the same size, possibly drawn without some part
  kResized,   // a complete picture that may differ in size: a line sized by another font
};

const char* Name(Outcome outcome) {
  switch (outcome) {
    case Outcome::kKept: return "kept";
    case Outcome::kBaseline: return "baseline";
    case Outcome::kWritten: return "written";
    case Outcome::kResized: return "resized";
  }
  return "?";
}

struct PictureType {
  const char* name;
  const char* contents;  // the [Contents] section; $ stands for the image fixture's path
};

const PictureType kPictureTypes[] = {
    {"Date", "Type=Date\nFormat=dddd, MMMM d, yyyy\n"},
    {"CalendarHeader", "Type=CalendarHeader\nFormat=MMMM yyyy\nAlignment=center\n"},
    {"Calendar", "Type=Calendar\nRasterX=24\nRasterY=20\nTodayImage=$\n"},
};

// One failure: the point, how many calls succeed before it, and what a run of each
// picture type then leaves. The month grid places today's image before the export:
// its loads and its imaging factory come first.
struct Failure {
  FaultPoint point;
  const char* name;
  int skip;
  Outcome line;      // Date and CalendarHeader
  Outcome calendar;  // Calendar with a TodayImage
};

const Failure kFailures[] = {
    {FaultPoint::kCreateBitmapSection, "CreateBitmapSection", 0, Outcome::kKept, Outcome::kKept},
    {FaultPoint::kCreateBitmapSection, "CreateBitmapSection", 1, Outcome::kBaseline, Outcome::kBaseline},
    {FaultPoint::kCreateFont, "CreateFont", 0, Outcome::kResized, Outcome::kWritten},
    {FaultPoint::kCreateFont, "CreateFont", 1, Outcome::kBaseline, Outcome::kBaseline},
    {FaultPoint::kOpenFont, "OpenFont", 0, Outcome::kResized, Outcome::kWritten},
    {FaultPoint::kOpenFont, "OpenFont", 1, Outcome::kBaseline, Outcome::kBaseline},
    {FaultPoint::kCreateImagingFactory, "CreateImagingFactory", 0, Outcome::kKept, Outcome::kWritten},
    {FaultPoint::kCreateImagingFactory, "CreateImagingFactory", 1, Outcome::kBaseline, Outcome::kKept},
    {FaultPoint::kCreateImagingFactory, "CreateImagingFactory", 2, Outcome::kBaseline, Outcome::kBaseline},
    {FaultPoint::kGetInstalledEncoders, "GetInstalledEncoders", 0, Outcome::kKept, Outcome::kKept},
    {FaultPoint::kCreateImageEncoder, "CreateImageEncoder", 0, Outcome::kKept, Outcome::kKept},
    {FaultPoint::kGetEncodeSink, "GetEncodeSink", 0, Outcome::kKept, Outcome::kKept},
    {FaultPoint::kBeginSink, "BeginSink", 0, Outcome::kKept, Outcome::kKept},
    {FaultPoint::kSetPalette, "SetPalette", 0, Outcome::kKept, Outcome::kKept},
    {FaultPoint::kPushPixelData, "PushPixelData", 0, Outcome::kKept, Outcome::kKept},
    {FaultPoint::kEndSink, "EndSink", 0, Outcome::kKept, Outcome::kKept},
    {FaultPoint::kTerminateEncoder, "TerminateEncoder", 0, Outcome::kKept, Outcome::kKept},
    {FaultPoint::kTerminateEncoder, "TerminateEncoder", 1, Outcome::kBaseline, Outcome::kBaseline},
    {FaultPoint::kCreateImageFromFile, "CreateImageFromFile", 0, Outcome::kBaseline, Outcome::kWritten},
    {FaultPoint::kCreateImageFromFile, "CreateImageFromFile", 1, Outcome::kBaseline, Outcome::kBaseline},
    {FaultPoint::kLoadBitmapFile, "LoadBitmapFile", 0, Outcome::kBaseline, Outcome::kWritten},
    {FaultPoint::kLoadBitmapFile, "LoadBitmapFile", 1, Outcome::kBaseline, Outcome::kWritten},
    {FaultPoint::kLoadBitmapFile, "LoadBitmapFile", 2, Outcome::kBaseline, Outcome::kBaseline},
    // Without a temporary file the picture is rewritten in place: the same bytes.
    {FaultPoint::kCreateTemporaryFile, "CreateTemporaryFile", 0, Outcome::kBaseline, Outcome::kBaseline},
};

const std::string kPrevious = std::string("an earlier picture\0\x89PNG\r\n", 26);

// Settings lines added to [Image] and [Font]: the pictures as they always were, and smooth
// ones (one surface with alpha), also scaled and on a background.
struct Style {
  const char* name;
  const char* image;
  const char* font;
};
const Style kStyles[] = {
    {"monochrome", "", ""},
    {"smooth", "", "Smooth=yes\n"},
    {"smooth x2 on white", "Scale=2\nBackground=RGB(255, 255, 255)\n", "Smooth=yes\n"},
};

class FaultMatrixTest : public ::testing::Test {
 protected:
  void TearDown() override { platform::ClearFaults(); }

  // One run of `type` with the output in the temporary directory.
  void Run(const PictureType& type, const Style& style = kStyles[0]) {
    std::string contents = type.contents;
    const std::string image = std::string(ORVENDALE_SOURCE_DIR) + "/examples/today.png";
    if (const auto at = contents.find('$'); at != std::string::npos) contents.replace(at, 1, image);
    const std::string settings = directory_.Write(
        "s.ini", "[Image]\nPath=" + directory_.root().string() + "\nFile=out.png\nMarginX=2\nMarginY=2\n" +
                 style.image + "[Contents]\n" + contents + "[Font]\nFace=DejaVu Sans\nHeight=-12\n" + style.font +
                 "[Text]\nTodayColor=RGB(230, 120, 20)\n");
    const char* const argv[] = {"orvendale", settings.c_str(), nullptr};
    EXPECT_EQ(RunOrvendale(2, argv), 0);
  }

  TempDirectory directory_;
};

TEST_F(FaultMatrixTest, EveryFailureReleasesEverythingAndKeepsOrCompletesTheOutput) {
  for (const Style& style : kStyles) {
  for (const PictureType& type : kPictureTypes) {
    std::filesystem::remove(directory_.Path("out.png"));
    Run(type, style);
    const std::string baseline = directory_.Read("out.png");
    testing::ArgbImage baselineImage;
    ASSERT_TRUE(testing::ReadPng(directory_.Path("out.png"), &baselineImage)) << type.name;

    for (const Failure& failure : kFailures) {
      const std::string what = std::string(style.name) + " " + type.name + " with " + failure.name + " failing after " +
                               std::to_string(failure.skip) + " calls";
      Outcome expected = std::string(type.name) == "Calendar" ? failure.calendar : failure.line;
      // A scaled line measures its text in a second font too, at the unscaled size: when
      // that one fails the size may come from the larger text alone, or the default font.
      const bool secondFont = (failure.point == FaultPoint::kCreateFont || failure.point == FaultPoint::kOpenFont) &&
                              failure.skip == 1;
      if (secondFont && std::string(style.image).find("Scale") != std::string::npos && expected == Outcome::kBaseline) {
        expected = std::string(type.name) == "Calendar" ? Outcome::kBaseline : Outcome::kResized;
      }
      directory_.Write("out.png", kPrevious);
      platform::ArmFault(failure.point, failure.skip);
      Run(type, style);
      platform::ClearFaults();

      const std::string output = directory_.Read("out.png");
      switch (expected) {
        case Outcome::kKept:
          EXPECT_EQ(output, kPrevious) << what;
          break;
        case Outcome::kBaseline:
          EXPECT_EQ(output, baseline) << what;
          break;
        case Outcome::kWritten:
        case Outcome::kResized: {
          testing::ArgbImage image;
          EXPECT_TRUE(testing::ReadPng(directory_.Path("out.png"), &image)) << what;
          if (expected == Outcome::kWritten) {
            EXPECT_EQ(image.width, baselineImage.width) << what;
            EXPECT_EQ(image.height, baselineImage.height) << what;
          }
          break;
        }
      }
      EXPECT_EQ(testing::FolderEntries(directory_.root()), (std::vector<std::string>{"out.png", "s.ini"}))
          << what << ": " << Name(expected);
      EXPECT_EQ(platform::ComInitializationDepth(), 0) << what;
    }
  }
  }
}

// A monochrome picture on a background is drawn keyed and then laid on a second surface:
// when that one cannot be made there is no picture, and nothing is left behind.
TEST_F(FaultMatrixTest, AMonochromePictureWithoutRoomForItsBackgroundIsNotWritten) {
  const Style onWhite{"monochrome on white", "Background=RGB(255, 255, 255)\n", ""};
  for (const PictureType& type : kPictureTypes) {
    directory_.Write("out.png", kPrevious);
    platform::ArmFault(FaultPoint::kCreateBitmapSection, 1);
    Run(type, onWhite);
    platform::ClearFaults();
    EXPECT_EQ(directory_.Read("out.png"), kPrevious) << type.name;
    EXPECT_EQ(testing::FolderEntries(directory_.root()), (std::vector<std::string>{"out.png", "s.ini"}))
        << type.name;
    Run(type, onWhite);
    testing::ArgbImage image;
    EXPECT_TRUE(testing::ReadPng(directory_.Path("out.png"), &image)) << type.name;
    EXPECT_TRUE(image.colorType == 0 || image.colorType == 3) << type.name << ": grey or palette, opaque";
  }
}

// A rewrite in place that stops part-way leaves the previous file as it was.
TEST_F(FaultMatrixTest, AnInPlaceRewriteThatFailsKeepsThePreviousFile) {
  for (const PictureType& type : kPictureTypes) {
    directory_.Write("out.png", kPrevious);
    platform::ArmFault(FaultPoint::kCreateTemporaryFile);
    platform::ArmFault(FaultPoint::kRewriteInPlace);
    Run(type);
    platform::ClearFaults();
    EXPECT_EQ(directory_.Read("out.png"), kPrevious) << type.name;
    EXPECT_EQ(testing::FolderEntries(directory_.root()), (std::vector<std::string>{"out.png", "s.ini"}))
        << type.name;
  }
}

// A font that was made but cannot be opened draws the picture the default font draws, as
// when the font cannot be made at all: not an empty picture, and not none.
TEST_F(FaultMatrixTest, AFontThatCannotBeOpenedDrawsWithTheDefaultFont) {
  for (const PictureType& type : kPictureTypes) {
    std::filesystem::remove(directory_.Path("out.png"));
    platform::ArmFault(FaultPoint::kCreateFont);
    Run(type);
    const std::string withoutFont = directory_.Read("out.png");
    std::filesystem::remove(directory_.Path("out.png"));
    platform::ArmFault(FaultPoint::kOpenFont);
    Run(type);
    platform::ClearFaults();
    EXPECT_FALSE(withoutFont.empty()) << type.name;
    EXPECT_EQ(directory_.Read("out.png"), withoutFont) << type.name;
    Run(type);
    EXPECT_NE(directory_.Read("out.png"), withoutFont) << type.name << " draws alike in both fonts";
  }
}

// A failure the month grid survives still changes its picture: today's image is missing,
// which shows that the image is really placed when nothing fails.
TEST_F(FaultMatrixTest, CalendarWithoutItsImageDiffersFromTheBaseline) {
  const PictureType& calendar = kPictureTypes[2];
  Run(calendar);
  const std::string baseline = directory_.Read("out.png");
  platform::ArmFault(FaultPoint::kCreateImageFromFile);
  Run(calendar);
  EXPECT_NE(directory_.Read("out.png"), baseline);
}

}  // namespace
}  // namespace orvendale
