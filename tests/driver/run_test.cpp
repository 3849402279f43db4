#include "driver/run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/clock.h"
#include "support/temp_directory.h"

namespace orvendale {
namespace {

using testing::TempDirectory;

// ASCII host text as UTF-16.
std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

TEST(ComposeOutputPath, JoinsFolderAndFileByTheSeparatorRules) {
  const std::u16string folder250 = u"\\" + std::u16string(249, u'f');
  const std::u16string folder255 = u"\\" + std::u16string(254, u'f');
  struct Case {
    std::u16string folder;
    std::u16string file;
    bool composed;
    std::u16string path;
    std::u16string folderAfter;
  } const cases[] = {
      {u"\\Storage\\Pics", u"cal.png", true, u"\\Storage\\Pics\\cal.png", u"\\Storage\\Pics\\"},
      {u"\\Storage\\Pics\\", u"cal.png", true, u"\\Storage\\Pics\\cal.png", u"\\Storage\\Pics\\"},
      {u"/home/me/pics", u"cal.png", true, u"/home/me/pics\\cal.png", u"/home/me/pics\\"},
      {u"/home/me/pics/", u"cal.png", true, u"/home/me/pics/cal.png", u"/home/me/pics/"},
      {u"\\", u"cal.png", true, u"\\cal.png", u"\\"},
      {u"\\Storage\\Pics", u"\\Other\\x.png", true, u"\\Other\\x.png", u"\\Storage\\Pics"},
      {u"\\Storage", u"/abs/x.png", true, u"/abs/x.png", u"\\Storage"},
      {u"Pics", u"cal.png", true, u"cal.png", u"Pics"},
      {u"", u"cal.png", true, u"cal.png", u""},
      {u"", u"\\Program Files\\Orvendale\\default.png", true, u"\\Program Files\\Orvendale\\default.png", u""},
      // 250 + separator + 4 = 255 characters fit; one more does not.
      {folder250, u"a.pn", true, folder250 + u"\\a.pn", folder250 + u"\\"},
      {folder250, u"a.png", false, u"", folder250},
      {folder250 + u"\\", u"a.pn", true, folder250 + u"\\a.pn", folder250 + u"\\"},
      {folder250 + u"\\", u"a.png", false, u"", folder250 + u"\\"},
      // A full folder has no room for the separator.
      {folder255, u"a", false, u"", folder255},
  };
  for (const Case& c : cases) {
    char16_t folder[kPathCapacity + 8];
    char16_t file[kPathCapacity];
    char16_t path[kPathCapacity + 8];
    std::fill(std::begin(folder), std::end(folder), u'#');
    std::fill(std::begin(path), std::end(path), u'#');
    std::copy(c.folder.c_str(), c.folder.c_str() + c.folder.size() + 1, folder);
    std::copy(c.file.c_str(), c.file.c_str() + c.file.size() + 1, file);
    EXPECT_EQ(ComposeOutputPath(folder, file, path), c.composed) << c.folder.size();
    EXPECT_EQ(std::u16string(path), c.path) << c.folder.size();
    EXPECT_EQ(std::u16string(folder), c.folderAfter) << c.folder.size();
    for (int i = kPathCapacity; i < kPathCapacity + 8; ++i) {
      ASSERT_EQ(folder[i], u'#');
      ASSERT_EQ(path[i], u'#');
    }
  }
}

// What the fake renderers and export saw during one run.
struct Observed {
  std::vector<std::string> calls;
  RenderParams params;
  std::string contentSection;
  DateRecord date;
  std::u16string imageFolder;
  std::u16string exportPath;
  bool returnSurface = true;
};
Observed observed;

Surface Draw(const char* name, const RenderParams& params) {
  observed.calls.push_back(name);
  observed.params = params;
  observed.contentSection = params.contentSection != nullptr ? params.contentSection : "";
  if (params.date != nullptr) observed.date = *params.date;
  observed.imageFolder = ImageFolder;
  if (!observed.returnSurface) return nullptr;
  platform::BitmapInfo info;
  info.header.width = 2;
  info.header.height = 2;
  return platform::CreateDibSection(params.screenContext, &info, 0, nullptr, 0, nullptr);
}

Surface FakeCalendarHeader(const RenderParams& params) { return Draw("CalendarHeader", params); }
Surface FakeCalendar(const RenderParams& params) { return Draw("Calendar", params); }
Surface FakeDate(const RenderParams& params) { return Draw("Date", params); }
void FakeExport(platform::Bitmap* bitmap, const char16_t* path) {
  observed.calls.push_back(bitmap != nullptr ? "export" : "export of nothing");
  observed.exportPath = path;
}

constexpr RunServices kFakeServices{FakeCalendarHeader, FakeCalendar, FakeDate, FakeExport};

class RunTest : public ::testing::Test {
 protected:
  void SetUp() override { observed = Observed{}; }

  // Runs with the settings text in a file of the temporary directory; `$` in the text
  // stands for the directory's path.
  void Run(std::string settings, const RunServices& services = kFakeServices) {
    for (std::size_t at = settings.find('$'); at != std::string::npos; at = settings.find('$')) {
      settings.replace(at, 1, directory_.root().string());
    }
    RunWithArgument(directory_.Write("s.ini", settings), services);
  }

  void RunWithArgument(const std::string& argument, const RunServices& services = kFakeServices) {
    const char* const argv[] = {"orvendale", argument.c_str(), "ignored.ini", nullptr};
    EXPECT_EQ(RunOrvendale(3, argv, services), 0);
  }

  TempDirectory directory_;
};

TEST_F(RunTest, SizeAndMarginsAreCutTo16Bits) {
  struct Case {
    std::string image;
    std::int32_t width, height, marginX, marginY;
  } const cases[] = {
      {"Width=70000\nHeight=40000\nMarginX=-1\nMarginY=65536\n", 4464, -25536, -1, 0},
      {"Width=120\nHeight=12px\n", 120, 12, 0, 0},
      {"Width=\nHeight=abc\nMarginX=99999999999\nMarginY=-99999999999\n", 0, 0, -1, 0},
      {"", 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SetUp();
    Run("[Image]\n" + c.image + "File=$/out.png\n[Contents]\nType=Date\n");
    ASSERT_EQ(observed.calls, (std::vector<std::string>{"Date", "export"})) << c.image;
    EXPECT_EQ(observed.params.width, c.width) << c.image;
    EXPECT_EQ(observed.params.height, c.height) << c.image;
    EXPECT_EQ(observed.params.marginX, c.marginX) << c.image;
    EXPECT_EQ(observed.params.marginY, c.marginY) << c.image;
  }
}

TEST_F(RunTest, TypeSelectsTheRendererByExactText) {
  struct Case {
    std::string contents;
    std::vector<std::string> calls;
  } const cases[] = {
      {"Type=CalendarHeader", {"CalendarHeader", "export"}},
      {"Type=Calendar", {"Calendar", "export"}},
      {"Type=Date", {"Date", "export"}},
      {"Type =  Date  ", {"Date", "export"}},
      {"Type=calendar", {}},
      {"Type=CALENDAR", {}},
      {"Type=Calendars", {}},
      {"Type=Date\t", {}},
      {"Type=", {}},
      {"Kind=Date", {}},
      {"Type=" + std::string(31, 'D'), {}},
      {"Type=CalendarHeaderCalendarHeaderCalendarHeader", {}},
  };
  for (const Case& c : cases) {
    SetUp();
    Run("[Image]\nFile=$/out.png\n[Contents]\n" + c.contents + "\n");
    EXPECT_EQ(observed.calls, c.calls) << c.contents;
  }
}

TEST_F(RunTest, RendererGetsTheDocumentTheDateAndTheFolder) {
  DateRecord today;
  platform::GetLocalTime(&today);
  Run("[Image]\nPath=$\nFile=pic.png\n[Contents]\nType=Calendar\n");
  ASSERT_EQ(observed.calls, (std::vector<std::string>{"Calendar", "export"}));
  EXPECT_EQ(observed.contentSection, "Contents");
  EXPECT_NE(observed.params.document, nullptr);
  EXPECT_NE(observed.params.screenContext, nullptr);
  EXPECT_EQ(observed.date.year, today.year);
  EXPECT_EQ(observed.date.month, today.month);
  EXPECT_EQ(observed.date.day, today.day);  // unless the test runs across midnight
  // The folder is read as the settings give it; the run appends the separator.
  const std::u16string folder = Widen(directory_.root().string()) + u"\\";
  EXPECT_EQ(observed.imageFolder, folder);  // the separator is there while drawing
  EXPECT_EQ(observed.exportPath, folder + u"pic.png");
}

TEST_F(RunTest, NoPictureNoExport) {
  observed.returnSurface = false;
  Run("[Image]\nFile=$/out.png\n[Contents]\nType=Date\n");
  EXPECT_EQ(observed.calls, (std::vector<std::string>{"Date"}));
}

TEST_F(RunTest, DefaultOutputFileIsTheWholePath) {
  Run("[Image]\nPath=\\Storage\\Pics\n[Contents]\nType=Date\n");
  EXPECT_EQ(std::u16string(OutputFilePath), u"\\Program Files\\Orvendale\\default.png");
  EXPECT_EQ(std::u16string(ImageFolder), u"\\Storage\\Pics");  // neither used nor changed
}

TEST_F(RunTest, SettingsPathComesFromTheFirstArgumentOrTheBuiltInString) {
  for (const std::string& argument : {std::string(), std::string("")}) {
    const char* const argv[] = {"orvendale", argument.c_str(), nullptr};
    EXPECT_EQ(RunOrvendale(2, argv, kFakeServices), 0);
    EXPECT_EQ(std::u16string(SettingsFilePath), u"\\Program Files\\Orvendale\\Orvendale.ini");
  }
  const char* const programOnly[] = {"orvendale", nullptr};
  SettingsFilePath[0] = 0;
  EXPECT_EQ(RunOrvendale(1, programOnly, kFakeServices), 0);
  EXPECT_EQ(std::u16string(SettingsFilePath), u"\\Program Files\\Orvendale\\Orvendale.ini");
  EXPECT_EQ(RunOrvendale(0, nullptr, kFakeServices), 0);

  Run("[Contents]\nType=Date\n");
  EXPECT_EQ(std::u16string(SettingsFilePath), Widen(directory_.Path("s.ini")));
  EXPECT_EQ(observed.calls, (std::vector<std::string>{"Date", "export"}));
}

TEST_F(RunTest, DoubleQuotesAreRemovedFromTheSettingsArgument) {
  std::filesystem::create_directory(directory_.root() / "with space");
  const std::string path = directory_.Write("with space/s.ini", "[Contents]\nType=Date\n");
  const std::string folder = directory_.Path("with space");
  const std::string defaultPath = "\\Program Files\\Orvendale\\Orvendale.ini";
  const struct {
    std::string argument;
    std::string settingsPath;  // as read, "" when the run ended before it
  } cases[] = {
      {"\"" + path + "\"", path},
      {"\"" + folder + "\"/s.ini", path},
      {"\"\"" + path + "\"\"\"", path},
      {"\"\"", defaultPath},
      {"\"", defaultPath},
      // Quotes do not count toward the 255 characters; what is left does.
      {"\"" + std::string(250, '"') + "/x.ini", "/x.ini"},
      {"/" + std::string(255, 'q'), ""},
  };
  for (const auto& c : cases) {
    SetUp();
    SettingsFilePath[0] = 0;
    const char* const argv[] = {"orvendale", c.argument.c_str(), nullptr};
    EXPECT_EQ(RunOrvendale(2, argv, kFakeServices), 0);
    EXPECT_EQ(std::u16string(SettingsFilePath), Widen(c.settingsPath)) << c.argument;
    const std::vector<std::string> calls =
        c.settingsPath == path ? std::vector<std::string>{"Date", "export"} : std::vector<std::string>{};
    EXPECT_EQ(observed.calls, calls) << c.argument;
  }
}

TEST_F(RunTest, BadSettingsMakeNoPicture) {
  std::filesystem::create_directory(directory_.root() / "folder.ini");
  const std::string longLine = std::string(10000, 'x');
  const std::string longPath = "Path=$/" + std::string(300, 'p');
  struct Case {
    const char* name;
    std::string argument;
  } const cases[] = {
      {"missing file", directory_.Path("absent.ini")},
      {"directory", directory_.Path("folder.ini")},
      {"argument longer than 255 characters", directory_.Path(std::string(300, 'a'))},
      {"empty file", directory_.Write("empty.ini", "")},
      {"binary garbage", directory_.Write("garbage.ini", std::string("\0\xFF[\x01=\r\x80\n", 8) + longLine)},
      {"type after a 10,000-byte line without '='",
       directory_.Write("long.ini", "[Contents]\n" + longLine + "\nType=Date\n")},
      {"joined output path too long",
       directory_.Write("join.ini", "[Image]\nPath=/" + std::string(250, 'p') + "\nFile=out.png\n"
                                    "[Contents]\nType=Date\n")},
  };
  for (const Case& c : cases) {
    SetUp();
    RunWithArgument(c.argument);
    EXPECT_TRUE(observed.calls.empty()) << c.name;
  }
}

TEST_F(RunTest, ExistingOutputStaysByteIdenticalWithoutAPicture) {
  const std::string before = "not a picture \x01\x02\r\n";
  directory_.Write("out.png", before);
  Run("[Image]\nPath=$\nFile=out.png\n[Contents]\nType=calendar\n", BuiltInServices());
  observed.returnSurface = false;
  Run("[Image]\nPath=$\nFile=out.png\n[Contents]\nType=Date\n");
  EXPECT_EQ(directory_.Read("out.png"), before);
  EXPECT_EQ(directory_.EntryCount(), 2);  // the settings and the old output, nothing else
}

}  // namespace
}  // namespace orvendale
