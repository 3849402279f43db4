#include "settings/ini_document.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "settings/line_file.h"
#include "support/settings_text.h"
#include "support/temp_directory.h"
#include "support/utf16_text.h"

namespace orvendale {
namespace {

using testing::TempDirectory;

// Loads `text` and saves it back in place; returns the saved bytes.
std::string RoundTrip(const std::string& text,
                      const std::function<void(IniDocument&)>& change = nullptr) {
  testing::SettingsText settings(text);
  if (change) change(settings.document());
  EXPECT_EQ(settings.document().Save(), S_OK);
  return settings.Bytes();
}

TEST(IniDocumentFormat, SaveGivesBackTheLinesWithTheDocumentedLosses) {
  struct Case {
    const char* name;
    std::string file;
    std::string saved;
  } const cases[] = {
      {"kept lines, trimmed keys and values, header comments",
       "; top\r\nWidth=5\r\n[Image]\r\n  Width = 120  \r\nFile=a=b\r\nTab=\t120\r\n\r\n# c\r\n"
       "[Empty]\r\n[Font] comment\r\nFace=X\r\n",
       "; top\r\nWidth=5\r\n[Image]\r\nWidth=120\r\nFile=a=b\r\nTab=\t120\r\n\r\n# c\r\n"
       "[Font]\r\nFace=X\r\n"},
      {"line ends of any kind", "[A]\nk=1\rj=2\n\n;x", "[A]\r\nk=1\r\nj=2\r\n\r\n;x\r\n"},
      {"a key line without '=' ends loading", "[A]\r\nx=1\r\nbroken\r\ny=2\r\n", "[A]\r\nx=1\r\n"},
      {"so does a line of spaces in a section", "[A]\r\nx=1\r\n   \r\ny=2\r\n", "[A]\r\nx=1\r\n"},
      {"but not before the first header", "broken\r\n   \r\n[A]\r\nx=1\r\n",
       "broken\r\n   \r\n[A]\r\nx=1\r\n"},
      {"other first bytes are kept lines", "[A]\r\n1=2\r\n=v\r\n\tk=v\r\n\xC3\xA9=1\r\n",
       "[A]\r\n1=2\r\n=v\r\n\tk=v\r\n\xC3\xA9=1\r\n"},
      {"a key empty after trimming keeps the trimmed value, written so that it reads back",
       "[A]\r\n  =  v w  \r\n  =#c\r\n", "[A]\r\n =v w\r\n#c\r\n"},
      {"a key that does not begin with a letter keeps its leading space",
       "[A]\r\n  9=1\r\n \xFF k = 2\r\n [x]=3\r\n", "[A]\r\n 9=1\r\n \xFF k=2\r\n [x]=3\r\n"},
      {"a header without ']'", "[Image\r\nWidth=3\r\n", "[Image]\r\nWidth=3\r\n"},
      {"a header name keeps its spaces", "[ A ]\r\nk=1\r\n", "[ A ]\r\nk=1\r\n"},
      {"a repeated header is written again", "[A]\r\nk=1\r\n[A]\r\nk=2\r\n", "[A]\r\nk=1\r\n[A]\r\nk=2\r\n"},
      {"lines under an empty header stay out of the section before",
       "[A]\r\nk=1\r\n[]\r\nWidth=5\r\n[B]\r\nb=1\r\n", "[A]\r\nk=1\r\n[]\r\nWidth=5\r\n[B]\r\nb=1\r\n"},
      {"an empty value", "[A]\r\nk=\r\nj = \r\n", "[A]\r\nk=\r\nj=\r\n"},
      {"an empty file", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(RoundTrip(c.file), c.saved) << c.name;
}

// Loading what Save wrote must give the same table: a line that changes kind on the way
// (a key line read back as a kept line or a header, a kept line read back as a key line
// without "=", which ends loading) loses it and everything after it.
TEST(IniDocumentFormat, SavedFileLoadsBackIntoTheSameTable) {
  const char* const files[] = {
      "[A]\r\n  =word\r\nafter=1\r\n",
      "[A]\r\n  =[B]\r\nafter=1\r\n",
      "[A]\r\n  = \r\nafter=1\r\n",
      "[A]\r\n \xFF\xFF Width = 1+0 \r\nafter=1\r\n",
      "[A]\r\n [x]=1\r\nafter=1\r\n",
      "[A]\r\n 7=1\r\n ;=2\r\n\r\n#c\r\nafter=1\r\n",
      "loose\r\n[A]\r\n =v\r\n[]\r\nfree=1\r\n[A]\r\nafter=1\r\n",
  };
  for (const char* file : files) {
    TempDirectory directory;
    directory.Write("s.ini", file);
    const std::u16string path = directory.PlatformPath("s.ini");
    IniDocument loaded(path.c_str());
    ASSERT_EQ(loaded.Load(), S_OK);
    ASSERT_EQ(loaded.Save(), S_OK);
    IniDocument reloaded(path.c_str());
    ASSERT_EQ(reloaded.Load(), S_OK);
    ASSERT_EQ(reloaded.count(), loaded.count()) << file;
    for (int i = 0; i < loaded.count(); ++i) {
      const auto text = [](const char* s) { return std::string(s != nullptr ? s : "(none)"); };
      EXPECT_EQ(text(reloaded.entry(i).section), text(loaded.entry(i).section)) << file << i;
      EXPECT_EQ(text(reloaded.entry(i).key), text(loaded.entry(i).key)) << file << i;
      EXPECT_EQ(text(reloaded.entry(i).value), text(loaded.entry(i).value)) << file << i;
    }
    EXPECT_EQ(reloaded.GetInt("A", "after", 9), 1) << file;
  }
}

TEST(IniDocumentFormat, LinuxLineEndsLoadLikeTheirCrLfTwin) {
  const std::string crlf = "; c\r\n[Image]\r\nWidth=1\r\n\r\n[Contents]\r\nType=Date\r\n";
  std::string lf;
  for (const char c : crlf) {
    if (c != '\r') lf.push_back(c);
  }
  EXPECT_EQ(RoundTrip(lf), crlf);
}

// A file saved as UTF-16 or with a UTF-8 mark holds the table of its plain UTF-8 twin,
// with the same limits: lines cut at 255 bytes after conversion, 256 entries.
TEST(IniDocumentFormat, WindowsEncodingsLoadLikeTheirUtf8Twin) {
  const std::string kanji = "\xE6\x9C\xA8";  // three bytes in UTF-8, one unit in UTF-16
  std::string line85;
  for (int i = 0; i < 85; ++i) line85 += kanji;
  std::string utf8 = "[LongName]\r\nThu=" + kanji + "\xE6\x9B\x9C\xE6\x97\xA5\r\n; " + line85 + "\r\n";
  for (int i = 0; i < 300; ++i) utf8 += "k" + std::to_string(i) + "=" + kanji + std::to_string(i) + "\n";
  const std::string saved = RoundTrip(utf8);
  EXPECT_NE(saved.find("Thu=" + kanji), std::string::npos);
  EXPECT_NE(saved.find("k253="), std::string::npos);
  EXPECT_EQ(saved.find("k254="), std::string::npos);  // 256 entries: two lines, then k0..k253
  EXPECT_EQ(RoundTrip(testing::kUtf8Mark + utf8), saved);
  EXPECT_EQ(RoundTrip(testing::Utf16Bytes(utf8, testing::ByteOrder::kLittleEndian)), saved);
  EXPECT_EQ(RoundTrip(testing::Utf16Bytes(utf8, testing::ByteOrder::kBigEndian)), saved);
}

class IniDocumentGetters : public ::testing::Test {
 protected:
  testing::SettingsText settings_{"Width=5\n"
                                  "[Image]\n"
                                  "Width = 120\n"
                                  "Tab=\t120\n"
                                  "Empty=\n"
                                  "Unit=12px\n"
                                  "Letters=abc\n"
                                  "Big=99999999999\n"
                                  "Name=Gr\xC3\xBC\xC3\x9F" "e\n"
                                  "Long=" + std::string(70, 'x') + "\n"
                                  "[image]\n"
                                  "Width=9\n"
                                  "[A]\n"
                                  "k=first\n"
                                  "[A]\n"
                                  "k=second\n"
                                  "j=only-second\n"};
  IniDocument* const document_ = &settings_.document();
};

TEST_F(IniDocumentGetters, GetInt) {
  struct Case {
    const char* section;
    const char* key;
    std::int32_t defaultValue;
    std::int32_t value;
  } const cases[] = {
      {"Image", "Width", 7, 120}, {"Image", "Tab", 7, 120},       {"Image", "Empty", 7, 0},
      {"Image", "Missing", 7, 7}, {"Image", "Unit", 7, 12},       {"Image", "Letters", 7, 0},
      {"Image", "Big", 7, INT_MAX},
      {"image", "Width", 1, 9},   // lookups are case-sensitive
      {"IMAGE", "Width", 9, 9},   {"Image", "width", 3, 3},
      {nullptr, "Width", 3, 3},   {"", "Width", 3, 3},  // the line before any header is no key
      {"Image", nullptr, 3, 3},   {"Image", "", 3, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(document_->GetInt(c.section, c.key, c.defaultValue), c.value)
        << (c.section ? c.section : "(null)") << "/" << (c.key ? c.key : "(null)");
  }
}

TEST_F(IniDocumentGetters, GetString) {
  struct Case {
    const char* key;
    int capacity;
    const char* defaultValue;
    int result;
    std::string out;
  } const cases[] = {
      {"Unit", 32, "d", 4, "12px"},
      {"Unit", 5, nullptr, 4, "12px"},
      {"Unit", 4, nullptr, 0, ""},  // does not fit: nothing of it
      {"Empty", 32, "d", 0, ""},    // present but empty: not the default
      {"Missing", 32, "dflt", 4, "dflt"},
      {"Missing", 32, nullptr, 0, ""},
      {"Missing", 4, "dflt", 0, ""},
      {"Long", 32, nullptr, 0, ""},
  };
  for (const Case& c : cases) {
    char out[80];
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(document_->GetString("Image", c.key, out, c.capacity, c.defaultValue), c.result) << c.key;
    EXPECT_EQ(std::string(out), c.out) << c.key;
    for (std::size_t i = static_cast<std::size_t>(c.capacity); i < sizeof out; ++i) {
      ASSERT_EQ(out[i], '#') << c.key << ": written past capacity";
    }
  }
  char out[16];
  EXPECT_EQ(document_->GetString("A", "k", out, 16, nullptr), 5);
  EXPECT_STREQ(out, "first");  // the earlier run wins
  EXPECT_EQ(document_->GetString("A", "j", out, 16, nullptr), 11);
  EXPECT_STREQ(out, "only-second");
}

TEST_F(IniDocumentGetters, GetWideString) {
  struct Case {
    const char* key;
    int capacity;
    const char16_t* defaultValue;
    int result;
    std::u16string out;
  } const cases[] = {
      {"Name", 16, nullptr, 6, u"Gr\u00FC\u00DFe"},  // units written, terminator included
      {"Name", 6, nullptr, 6, u"Gr\u00FC\u00DFe"},
      {"Name", 5, nullptr, 0, u""},
      {"Empty", 16, u"Su", 0, u""},
      {"Missing", 16, u"Su", 2, u"Su"},  // a default counts without its terminator
      {"Missing", 16, nullptr, 0, u""},
      {"Missing", 3, u"Sunday", 0, u""},
      {"Long", 64, nullptr, 0, u""},
      {"Long", 71, nullptr, 71, std::u16string(70, u'x')},
  };
  for (const Case& c : cases) {
    char16_t out[80];
    std::fill(std::begin(out), std::end(out), u'#');
    EXPECT_EQ(document_->GetWideString("Image", c.key, out, c.capacity, c.defaultValue), c.result) << c.key;
    EXPECT_EQ(std::u16string(out), c.out) << c.key;
    for (int i = c.capacity; i < 80; ++i) ASSERT_EQ(out[i], u'#') << c.key << ": written past capacity";
  }
}

TEST(IniDocumentSetters, InsertionPoints) {
  struct Case {
    const char* name;
    std::string file;
    std::function<void(IniDocument&)> change;
    std::string saved;
  } const cases[] = {
      {"after the last key, ahead of closing comments", "[A]\r\nk=1\r\n; c\r\n\r\n[B]\r\nx=1\r\n",
       [](IniDocument& d) { d.SetInt("A", "n", 5); }, "[A]\r\nk=1\r\nn=5\r\n; c\r\n\r\n[B]\r\nx=1\r\n"},
      {"after the last line of a run without keys", "[A]\r\n; only\r\n[B]\r\nx=1\r\n",
       [](IniDocument& d) { d.SetInt("A", "n", 5); }, "[A]\r\n; only\r\nn=5\r\n[B]\r\nx=1\r\n"},
      {"into the first of two runs", "[A]\r\nk=1\r\n[B]\r\nb=1\r\n[A]\r\nm=2\r\n",
       [](IniDocument& d) { d.SetInt("A", "n", 3); }, "[A]\r\nk=1\r\nn=3\r\n[B]\r\nb=1\r\n[A]\r\nm=2\r\n"},
      {"into the first of two adjacent runs", "[A]\r\nk=1\r\n[A]\r\nm=2\r\n",
       [](IniDocument& d) { d.SetInt("A", "n", 3); }, "[A]\r\nk=1\r\nn=3\r\n[A]\r\nm=2\r\n"},
      {"at the end of the table without a second header", "[A]\r\nk=1\r\n",
       [](IniDocument& d) { d.SetInt("A", "n", -4); }, "[A]\r\nk=1\r\nn=-4\r\n"},
      {"a new section at the end", "x\r\n[A]\r\nk=1\r\n",
       [](IniDocument& d) { d.SetInt("New", "w", INT_MIN); }, "x\r\n[A]\r\nk=1\r\n[New]\r\nw=-2147483648\r\n"},
      {"a new section after a section of one header only", "[A]\r\n",
       [](IniDocument& d) { d.SetString("A", "k", "v"); }, "[A]\r\nk=v\r\n"},
      {"replacing values", "[A]\r\nk=1\r\n[A]\r\nm=2\r\n",
       [](IniDocument& d) {
         d.SetString("A", "k", "");
         d.SetWideString("A", "m", u"\u00E9");
       },
       "[A]\r\nk=\r\n[A]\r\nm=\xC3\xA9\r\n"},
      {"nothing for an empty section or key", "[A]\r\nk=1\r\n",
       [](IniDocument& d) {
         d.SetInt("", "k", 1);
         d.SetInt(nullptr, "k", 1);
         d.SetString("A", "", "v");
         d.SetWideString("A", nullptr, u"v");
       },
       "[A]\r\nk=1\r\n"},
      {"lines before the first header form no section", "k=1\r\n",
       [](IniDocument& d) { d.SetInt("A", "k", 2); }, "k=1\r\n[A]\r\nk=2\r\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(RoundTrip(c.file, c.change), c.saved) << c.name;
}

TEST(IniDocumentSetters, OverlongLinesAreCutOnSaveAndReadBackConsistently) {
  TempDirectory directory;
  directory.Write("s.ini", "[A]\r\nk=1\r\n");
  const std::u16string path = directory.PlatformPath("s.ini");
  {
    IniDocument document(path.c_str());
    ASSERT_EQ(document.Load(), S_OK);
    document.SetString("A", "long", std::string(300, 'v').c_str());
    document.SetString("A", std::string(300, 'K').c_str(), "x");  // a key that leaves no room for "="
    document.SetInt("A", "after", 7);
    document.SetWideString("A", "wide", std::u16string(200, u'\u00E9').c_str());
    ASSERT_EQ(document.Save(), S_OK);
  }
  IniDocument reloaded(path.c_str());
  ASSERT_EQ(reloaded.Load(), S_OK);
  char out[300];
  EXPECT_EQ(reloaded.GetString("A", "long", out, 300, nullptr), 255 - 5);
  EXPECT_EQ(reloaded.GetInt("A", "after", 0), 7);  // loading went on past the long key
  EXPECT_EQ(reloaded.GetString("A", "wide", out, 300, nullptr), 250);  // whole characters only
  EXPECT_EQ(reloaded.count(), 4);
}

TEST(IniDocumentLimits, HoldsAtMost256Entries) {
  std::string file = "[S]\r\n";
  for (int i = 0; i < 300; ++i) file += "k" + std::to_string(i) + "=" + std::to_string(i) + "\r\n";
  file += "[T]\r\nt=1\r\n";  // a header after the table is full stores nothing
  TempDirectory directory;
  directory.Write("s.ini", file);
  const std::u16string path = directory.PlatformPath("s.ini");
  IniDocument document(path.c_str());
  ASSERT_EQ(document.Load(), S_OK);
  EXPECT_EQ(document.count(), kMaxIniEntries);
  EXPECT_EQ(document.GetInt("S", "k255", -1), 255);
  EXPECT_EQ(document.GetInt("S", "k256", -1), -1);
  EXPECT_EQ(document.GetInt("T", "t", -1), -1);
  document.SetInt("S", "new", 1);
  document.SetInt("U", "new", 1);
  EXPECT_EQ(document.count(), kMaxIniEntries);
  EXPECT_EQ(document.GetInt("S", "new", -1), -1);
  document.SetInt("S", "k0", 42);  // replacing needs no room
  EXPECT_EQ(document.GetInt("S", "k0", -1), 42);
  // Loading again replaces the table rather than adding to it.
  ASSERT_EQ(document.Load(), S_OK);
  EXPECT_EQ(document.count(), kMaxIniEntries);
  EXPECT_EQ(document.GetInt("S", "k0", -1), 0);
}

TEST(IniDocumentFailures, LoadAndSaveReportWhatTheyCouldNotDo) {
  TempDirectory directory;
  std::filesystem::create_directory(directory.root() / "folder");
  const std::u16string absent = directory.PlatformPath("absent.ini");
  const std::u16string folder = directory.PlatformPath("folder");

  IniDocument noPath(nullptr);
  EXPECT_EQ(noPath.Load(), E_FAIL);
  EXPECT_EQ(noPath.Save(), E_FAIL);
  EXPECT_EQ(noPath.GetInt("A", "k", 3), 3);

  IniDocument missing(absent.c_str());
  EXPECT_EQ(missing.Load(), E_FAIL);
  EXPECT_EQ(missing.count(), 0);
  IniDocument directoryDocument(folder.c_str());
  EXPECT_EQ(directoryDocument.Load(), E_FAIL);
  EXPECT_EQ(directoryDocument.Save(), E_FAIL);

  // A file held by another opener is neither read nor replaced.
  directory.Write("held.ini", "[A]\r\nk=1\r\n");
  const std::u16string held = directory.PlatformPath("held.ini");
  IniDocument document(held.c_str());
  ASSERT_EQ(document.Load(), S_OK);
  LineFile holder;
  ASSERT_EQ(holder.Open(held.c_str(), LineFileMode::ReadExisting), S_OK);
  document.SetInt("A", "k", 2);
  EXPECT_EQ(document.Save(), E_FAIL);
  EXPECT_EQ(document.Load(), E_FAIL);
  EXPECT_EQ(document.GetInt("A", "k", 0), 2) << "a failed load leaves the table untouched";
  holder.Close();
  EXPECT_EQ(directory.Read("held.ini"), "[A]\r\nk=1\r\n");
}

}  // namespace
}  // namespace orvendale

namespace orvendale {
namespace {

struct Loaded {
  std::vector<int> lines;      // the line of each entry, in table order
  std::vector<bool> keyLines;  // whether it came from a key line
  IniLoadFacts facts;
  int count = 0;
};

Loaded LoadWithFacts(const std::string& text) {
  testing::TempDirectory directory;
  directory.Write("s.ini", text);
  const std::u16string path = directory.PlatformPath("s.ini");
  IniDocument document(path.c_str());
  Loaded loaded;
  EXPECT_EQ(document.Load(&loaded.facts), S_OK);
  loaded.count = document.count();
  for (int i = 0; i < document.count(); ++i) {
    loaded.lines.push_back(document.entry(i).line);
    loaded.keyLines.push_back(document.entry(i).fromKeyLine);
  }
  return loaded;
}

// Every line end counts one line (CR LF, LF, a lone CR); headers count but hold no entry.
TEST(IniDocumentLines, EachEntryKnowsItsLine) {
  const Loaded loaded = LoadWithFacts("; top\r\n[Image]\r\nFile=a.png\rWidth=3\n\n[Contents]\r\n =x\r\n=y\r\nType=Date");
  EXPECT_EQ(loaded.lines, (std::vector<int>{1, 3, 4, 5, 7, 8, 9}));
  EXPECT_EQ(loaded.keyLines, (std::vector<bool>{false, true, true, false, true, false, true}));
  EXPECT_EQ(loaded.facts.headerLines, (std::vector<int>{2, 6}));
  EXPECT_EQ(loaded.facts.headerNames, (std::vector<std::string>{"Image", "Contents"}));
  EXPECT_EQ(loaded.facts.stopLine, 0);
  EXPECT_EQ(loaded.facts.droppedLines, 0);
}

TEST(IniDocumentLines, FactsTellWhereLoadingStopsCutsAndDrops) {
  std::string text = "[A]\nk=1\n;" + std::string(300, 'x') + "\n";
  for (int i = 0; i < 300; ++i) text += ";\n";
  text += "stop here\nk=2\n";
  const Loaded loaded = LoadWithFacts(text);
  EXPECT_EQ(loaded.count, kMaxIniEntries);
  EXPECT_EQ(loaded.facts.cutLines, std::vector<int>{3});
  EXPECT_EQ(loaded.facts.firstDroppedLine, 3 + 255);  // entries 1-2 on lines 2-3, 254 comments
  EXPECT_EQ(loaded.facts.droppedLines, 300 - 254);
  EXPECT_EQ(loaded.facts.stopLine, 304);
  EXPECT_EQ(loaded.facts.linesAfterStop, 1);

  // A key line cut before its "=" has none left: loading stops there.
  const Loaded cut = LoadWithFacts("[A]\n" + std::string(300, 'k') + "=1\nj=2\n\n");
  EXPECT_EQ(cut.facts.stopLine, 2);
  EXPECT_EQ(cut.facts.linesAfterStop, 2);
  EXPECT_EQ(cut.facts.cutLines, std::vector<int>{2});
  EXPECT_EQ(cut.count, 0);

  // A line of exactly 255 bytes is whole; one byte more is cut, also in a header.
  const Loaded edge = LoadWithFacts("[" + std::string(254, 'h') + "\n[" + std::string(255, 'h') + "\n");
  EXPECT_EQ(edge.facts.cutLines, std::vector<int>{2});
}

// Asking for the facts changes nothing in the table: same entries, same lines.
TEST(IniDocumentLines, FactsDoNotChangeTheTable) {
  const std::string text = "[A]\nk=1\n[B]\r\nk=2\r[A]\n; c\nj=4\nbroken\nz=1\n";
  testing::TempDirectory directory;
  directory.Write("s.ini", text);
  const std::u16string path = directory.PlatformPath("s.ini");
  IniDocument plain(path.c_str());
  IniDocument withFacts(path.c_str());
  IniLoadFacts facts;
  ASSERT_EQ(plain.Load(), S_OK);
  ASSERT_EQ(withFacts.Load(&facts), S_OK);
  ASSERT_EQ(plain.count(), withFacts.count());
  for (int i = 0; i < plain.count(); ++i) {
    EXPECT_EQ(plain.entry(i).line, withFacts.entry(i).line);
    EXPECT_STREQ(plain.entry(i).key, withFacts.entry(i).key);
    EXPECT_STREQ(plain.entry(i).value, withFacts.entry(i).value);
  }
  EXPECT_EQ(facts.stopLine, 8);
  EXPECT_EQ(facts.linesAfterStop, 1);
}

}  // namespace
}  // namespace orvendale
