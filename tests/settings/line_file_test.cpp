#include "settings/line_file.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/temp_directory.h"
#include "support/utf16_text.h"

namespace orvendale {
namespace {

using testing::ByteOrder;
using testing::TempDirectory;
using testing::Utf16Bytes;

// Every line of `bytes` as ReadLine delivers it with `capacity`.
std::vector<std::string> ReadAll(const std::string& bytes, int capacity = kLineBufferSize) {
  TempDirectory directory;
  directory.Write("f.txt", bytes);
  LineFile file;
  EXPECT_EQ(file.Open(directory.PlatformPath("f.txt").c_str(), LineFileMode::ReadExisting), S_OK);
  std::vector<std::string> lines;
  std::vector<char> out(static_cast<std::size_t>(capacity) + 16, '#');
  while (file.ReadLine(out.data(), capacity) == S_OK) {
    for (std::size_t i = static_cast<std::size_t>(capacity); i < out.size(); ++i) {
      EXPECT_EQ(out[i], '#') << "written past capacity";
    }
    lines.emplace_back(out.data());  // stops at an embedded zero byte, as callers see it
  }
  EXPECT_EQ(file.ReadLine(out.data(), capacity), E_FAIL) << "the end stays the end";
  return lines;
}

// The lines the reader must give: CR LF, LF and CR each end one line, every line is cut to
// capacity - 1 bytes, and text after the last line end is a line of its own.
std::vector<std::string> ExpectedLines(const std::string& bytes, int capacity = kLineBufferSize) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
      lines.push_back(line.substr(0, static_cast<std::size_t>(capacity - 1)));
      line.clear();
      open = false;
    } else {
      line.push_back(c);
      open = true;
    }
  }
  if (open) lines.push_back(line.substr(0, static_cast<std::size_t>(capacity - 1)));
  for (std::string& each : lines) each = each.c_str();
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineFileRead, EachLineEndEndsExactlyOneLine) {
  struct Case {
    std::string bytes;
    Lines lines;
  } const cases[] = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb\rc\nd", {"a", "", "b", "c", "d"}},
      {"last", {"last"}},
      {"x\r", {"x"}},
      {"x\n", {"x"}},
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {"\r\r", {"", ""}},
      {"\n\r", {"", ""}},
      {"\r\n\n", {"", ""}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadAll(c.bytes), c.lines) << c.bytes;
}

TEST(LineFileRead, LinesAroundTheBufferSizeInEveryEnding) {
  for (const std::string ending : {"\r\n", "\n", "\r"}) {
    for (int length = 250; length <= 262; ++length) {
      std::string first(static_cast<std::size_t>(length), 'a');
      first.back() = 'z';
      const std::string bytes = first + ending + "next" + ending + "tail";
      const Lines lines = ReadAll(bytes);
      ASSERT_EQ(lines.size(), 3u) << length;
      EXPECT_EQ(lines[0], first.substr(0, 255)) << length;
      EXPECT_EQ(lines[1], "next") << length;
      EXPECT_EQ(lines[2], "tail") << length;
    }
  }
}

TEST(LineFileRead, OverlongLineIsCutAndTheRestOfItDropped) {
  std::string line300;
  for (int i = 0; i < 300; ++i) line300.push_back(static_cast<char>('a' + i % 26));
  EXPECT_EQ(ReadAll(line300 + "\r\nafter\r\n"), (Lines{line300.substr(0, 255), "after"}));
  const std::string line10000(10000, 'q');
  EXPECT_EQ(ReadAll("[A]\n" + line10000 + "\nk=1\n" + line10000),
            (Lines{"[A]", std::string(255, 'q'), "k=1", std::string(255, 'q')}));
  // A smaller capacity cuts the same way, whether or not the line end is held.
  EXPECT_EQ(ReadAll("abcdef\r\nxy\r\n" + line300 + "\nz", 4), (Lines{"abc", "xy", "abc", "z"}));
  EXPECT_EQ(ReadAll("abc\n\nde", 1), (Lines{"", "", ""}));
}

// Lines of every length up to well past the buffer, with mixed endings, so that line ends
// fall on every offset of the buffer, CR LF pairs split across refills included.
TEST(LineFileRead, MixedFileMatchesTheLineRule) {
  std::mt19937 random(20240229);
  std::uniform_int_distribution<int> lengthOf(0, 600);
  std::uniform_int_distribution<int> endingOf(0, 2);
  const char* const endings[] = {"\r\n", "\n", "\r"};
  std::string bytes;
  for (int line = 0; line < 2000; ++line) {
    const int length = line < 600 ? line : lengthOf(random);
    for (int i = 0; i < length; ++i) bytes.push_back(static_cast<char>('A' + (line + i) % 26));
    bytes += endings[endingOf(random)];
  }
  EXPECT_EQ(ReadAll(bytes), ExpectedLines(bytes));
  EXPECT_EQ(ReadAll(bytes, 17), ExpectedLines(bytes, 17));
}

TEST(LineFileRead, LineEndingsDoNotChangeWhatIsRead) {
  std::string crlf;
  for (int i = 0; i < 100000; ++i) crlf += "line" + std::to_string(i) + "\r\n";
  std::string lf;
  std::string cr;
  for (const char c : crlf) {
    if (c == '\r') continue;
    lf.push_back(c);
    cr.push_back(c == '\n' ? '\r' : c);
  }
  const Lines lines = ReadAll(crlf);
  ASSERT_EQ(lines.size(), 100000u);
  EXPECT_EQ(lines[99999], "line99999");
  EXPECT_EQ(ReadAll(lf), lines);
  EXPECT_EQ(ReadAll(cr), lines);
}

TEST(LineFileRead, BinaryGarbageStaysWithinBounds) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> byte(0, 255);
  std::string bytes;
  for (int i = 0; i < 50000; ++i) bytes.push_back(static_cast<char>(byte(random)));
  EXPECT_EQ(ReadAll(bytes), ExpectedLines(bytes));
  EXPECT_EQ(ReadAll(bytes, 2), ExpectedLines(bytes, 2));
}

TEST(LineFileRead, WideLinesAreCutBetweenCharacters) {
  TempDirectory directory;
  // e-acute, then a character outside the BMP (a surrogate pair), then "z".
  directory.Write("w.txt", "\xC3\xA9\xF0\x9F\x98\x80z\r\n\xC3\xA9\xF0\x9F\x98\x80z\r\nabc\r\nabc");
  LineFile file;
  ASSERT_EQ(file.Open(directory.PlatformPath("w.txt").c_str(), LineFileMode::ReadExisting), S_OK);
  char16_t out[8];
  ASSERT_EQ(file.ReadWideLine(out, 8), S_OK);
  EXPECT_EQ(std::u16string(out), u"\u00E9\xD83D\xDE00z");
  ASSERT_EQ(file.ReadWideLine(out, 3), S_OK);  // two units: the pair would be split
  EXPECT_EQ(std::u16string(out), u"\u00E9");
  EXPECT_EQ(file.ReadWideLine(nullptr, 8), E_FAIL);  // refused without reading
  out[3] = u'#';
  ASSERT_EQ(file.ReadWideLine(out, 3), S_OK);
  EXPECT_EQ(std::u16string(out), u"ab");
  EXPECT_EQ(out[3], u'#');
  ASSERT_EQ(file.ReadWideLine(out, 8), S_OK);
  EXPECT_EQ(std::u16string(out), u"abc");
  EXPECT_EQ(file.ReadWideLine(out, 8), E_FAIL);
}

// Random text of one-, two-, three- and four-byte characters in lines of random lengths
// (many around and beyond the 255 bytes a line holds), ended by CR LF, LF or CR.
std::string RandomText(std::mt19937& random) {
  const char* const characters[] = {"a", "=", " ", "[", "\xC3\xA9", "\xE6\x9C\xA8", "\xE6\x97\xA5",
                                    "\xEF\xBC\xAD", "\xF0\x9F\x98\x80"};
  const char* const ends[] = {"\r\n", "\n", "\r"};
  std::uniform_int_distribution<int> character(0, 8);
  std::uniform_int_distribution<int> end(0, 2);
  std::uniform_int_distribution<int> length(0, 140);
  std::string text;
  for (int line = 0; line < 60; ++line) {
    for (int n = length(random); n > 0; --n) text += characters[character(random)];
    text += ends[end(random)];
  }
  return text;
}

TEST(LineFileEncodings, MarkedFilesReadAsTheirUtf8Twin) {
  std::mt19937 random(11);
  std::vector<std::string> texts = {
      "; \xE4\xBB\x8A\xE6\x97\xA5\r\n[LongName]\r\nThu=\xE6\x9C\xA8\xE6\x9B\x9C\xE6\x97\xA5\r\n",
      "[Text]\nColor=RGB(1, 2, 3)\n",
      "no line end",
  };
  // Three-byte characters filling a line to 254, 255 and 258 bytes: the character that
  // would pass 255 bytes does not fit the buffer whole.
  for (const int characters : {84, 85, 86}) {
    std::string line;
    for (int i = 0; i < characters; ++i) line += "\xE6\x9C\xA8";
    texts.push_back(line + "\r\n" + line + "x\r\nnext\r\n");
  }
  for (int i = 0; i < 20; ++i) texts.push_back(RandomText(random));
  for (const std::string& text : texts) {
    for (const int capacity : {256, 2, 17, 600}) {
      const Lines expected = ExpectedLines(text, capacity);
      ASSERT_EQ(ReadAll(text, capacity), expected);
      EXPECT_EQ(ReadAll(testing::kUtf8Mark + text, capacity), expected) << "UTF-8 with its mark";
      EXPECT_EQ(ReadAll(Utf16Bytes(text, ByteOrder::kLittleEndian), capacity), expected) << "UTF-16 LE";
      EXPECT_EQ(ReadAll(Utf16Bytes(text, ByteOrder::kBigEndian), capacity), expected) << "UTF-16 BE";
    }
  }
}

TEST(LineFileEncodings, MarksAloneAndBrokenUtf16) {
  const std::string replacement = "\xEF\xBF\xBD";
  const struct {
    const char* what;
    std::string bytes;
    Lines lines;
  } cases[] = {
      {"UTF-8 mark alone", "\xEF\xBB\xBF", {}},
      {"UTF-16 mark alone", "\xFF\xFE", {}},
      {"a mark is skipped once", "\xEF\xBB\xBF\xEF\xBB\xBFx", {"\xEF\xBB\xBFx"}},
      {"half a UTF-8 mark is text", "\xEF\xBB", {"\xEF\xBB"}},
      {"a mark later is text", "a\xEF\xBB\xBF\n\xFF\xFE", {"a\xEF\xBB\xBF", "\xFF\xFE"}},
      {"odd last byte", std::string("\xFF\xFE" "a\0b", 5), {"a" + replacement}},
      {"odd byte alone", "\xFF\xFEx", {replacement}},
      {"odd byte after a line end", std::string("\xFF\xFE" "a\0\n\0b", 7), {"a", replacement}},
      {"leading surrogate, then a character", std::string("\xFF\xFE\0\xD8" "a\0", 6), {replacement + "a"}},
      {"leading surrogate at the end", std::string("\xFF\xFE" "a\0\0\xD8", 6), {"a" + replacement}},
      {"two leading surrogates, then a trailing one", std::string("\xFF\xFE\0\xD8\0\xD8\0\xDC", 8),
       {replacement + "\xF0\x90\x80\x80"}},
      {"trailing surrogate alone", std::string("\xFE\xFF\xDC\0\0a", 6), {replacement + "a"}},
      {"a pair, big endian", std::string("\xFE\xFF\0a\xD8\x3D\xDE\0", 8), {"a\xF0\x9F\x98\x80"}},
      {"zero unit cuts the line", std::string("\xFF\xFE" "a\0\0\0b\0\r\0\n\0c\0", 14), {"a", "c"}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadAll(c.bytes), c.lines) << c.what;

  // A pair split by the refill of the buffer, at every offset around it.
  for (int offset = 250; offset < 262; ++offset) {
    const std::string text = std::string(static_cast<std::size_t>(offset), 'a') + "\xF0\x9F\x98\x80z\r\nb";
    const std::string bytes = Utf16Bytes(text, ByteOrder::kLittleEndian);
    EXPECT_EQ(ReadAll(bytes, 600), ExpectedLines(text, 600)) << offset;
    std::string lone = bytes;
    lone.erase(lone.size() - 12, 2);  // the pair's trailing half
    EXPECT_EQ(ReadAll(lone, 600), (Lines{std::string(static_cast<std::size_t>(offset), 'a') + replacement + "z", "b"}))
        << offset;
  }
}

TEST(LineFileWrite, AFirstLineThatReadsAsAMarkGetsAUtf8MarkFirst) {
  TempDirectory directory;
  const std::u16string path = directory.PlatformPath("out.txt");
  for (const std::string first : {"\xFF\xFEx", "\xFE\xFF", "\xEF\xBB\xBF[S]", "[S]"}) {
    {
      LineFile file;
      ASSERT_EQ(file.Open(path.c_str(), LineFileMode::WriteReplace), S_OK);
      file.WriteLine(first.c_str());
      file.WriteLine("\xFF\xFE");
    }
    const bool marked = first != "[S]";
    EXPECT_EQ(directory.Read("out.txt"), (marked ? "\xEF\xBB\xBF" : "") + first + "\r\n\xFF\xFE\r\n");
    LineFile file;
    ASSERT_EQ(file.Open(path.c_str(), LineFileMode::ReadExisting), S_OK);
    char line[kLineBufferSize];
    ASSERT_EQ(file.ReadLine(line, kLineBufferSize), S_OK);
    EXPECT_EQ(std::string(line), first);
  }
}

TEST(LineFileWrite, LinesEndInCrLf) {
  TempDirectory directory;
  const std::u16string path = directory.PlatformPath("out.txt");
  const std::u16string longWide(200, u'\u00E9');  // 400 bytes in UTF-8
  {
    LineFile file;
    ASSERT_EQ(file.Open(path.c_str(), LineFileMode::WriteReplace), S_OK);
    EXPECT_EQ(file.WriteLine(""), S_OK);
    EXPECT_EQ(file.WriteLine(nullptr), S_OK);
    EXPECT_EQ(file.WriteLine("abc"), S_OK);
    EXPECT_EQ(file.WriteWideLine(u"\u00E9\xD83D\xDE00"), S_OK);
    EXPECT_EQ(file.WriteWideLine(u""), S_OK);
    EXPECT_EQ(file.WriteWideLine(longWide.c_str()), S_OK);
  }  // destruction closes
  std::string longNarrow;
  for (int i = 0; i < 127; ++i) longNarrow += "\xC3\xA9";  // 254 bytes: a 128th would need 256
  EXPECT_EQ(directory.Read("out.txt"),
            "\r\n\r\nabc\r\n\xC3\xA9\xF0\x9F\x98\x80\r\n\r\n" + longNarrow + "\r\n");
}

TEST(LineFileOpen, ModesAndRefusals) {
  TempDirectory directory;
  const std::u16string path = directory.PlatformPath("f.txt");
  directory.Write("f.txt", "0123456789");
  {
    LineFile file;
    ASSERT_EQ(file.Open(path.c_str(), LineFileMode::WriteKeep), S_OK);
    file.WriteLine("ab");
  }
  EXPECT_EQ(directory.Read("f.txt"), "ab\r\n456789");
  {
    LineFile file;
    ASSERT_EQ(file.Open(path.c_str(), LineFileMode::WriteReplace), S_OK);
    EXPECT_EQ(directory.Read("f.txt"), "");
  }

  LineFile holder;
  ASSERT_EQ(holder.Open(path.c_str(), LineFileMode::ReadExisting), S_OK);
  LineFile second;
  EXPECT_EQ(second.Open(path.c_str(), LineFileMode::ReadExisting), E_FAIL);
  EXPECT_EQ(second.Open(path.c_str(), LineFileMode::WriteReplace), E_FAIL);

  std::filesystem::create_directory(directory.root() / "folder");
  const std::u16string absent = directory.PlatformPath("absent.txt");
  const std::u16string folder = directory.PlatformPath("folder");
  EXPECT_EQ(second.Open(absent.c_str(), LineFileMode::ReadExisting), E_FAIL);
  EXPECT_EQ(second.Open(folder.c_str(), LineFileMode::ReadExisting), E_FAIL);
  EXPECT_EQ(second.Open(folder.c_str(), LineFileMode::WriteKeep), E_FAIL);
  EXPECT_EQ(second.Open(u"", LineFileMode::ReadExisting), E_FAIL);
  EXPECT_EQ(second.Open(nullptr, LineFileMode::ReadExisting), E_FAIL);

  char out[8];
  EXPECT_EQ(second.ReadLine(out, 8), E_FAIL);
  EXPECT_EQ(second.WriteLine("x"), E_FAIL);
  EXPECT_EQ(second.WriteWideLine(u"x"), E_FAIL);
  EXPECT_EQ(holder.ReadLine(nullptr, 8), E_FAIL);
  EXPECT_EQ(holder.ReadLine(out, 0), E_FAIL);
  EXPECT_EQ(second.Close(), S_OK);
  EXPECT_FALSE(directory.Exists("absent.txt"));
}

}  // namespace
}  // namespace orvendale
