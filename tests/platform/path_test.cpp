#include "platform/system/path.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

namespace orvendale::platform {
namespace {

constexpr char16_t kCanary = 0x5A5A;

TEST(PlatformPath, JoinsANameToItsFolder) {
  const struct {
    const char16_t* folder;
    const char16_t* name;
    const char16_t* resolved;
    bool runTogether;  // the folder's last name runs into the file's
  } table[] = {
      {u"\\pics\\", u"a.png", u"\\pics\\a.png", false},
      {u"/pics/", u"a.png", u"/pics/a.png", false},
      {u"\\pics", u"a.png", u"\\picsa.png", true},  // no separator is put between
      {u"pics/", u"sub\\a.png", u"pics/sub\\a.png", false},
      {u"\\pics\\", u"\\etc\\a.png", u"\\etc\\a.png", false},  // a rooted name is the whole path
      {u"\\pics", u"/a.png", u"/a.png", false},
      {u"", u"a.png", u"a.png", false},
      {nullptr, u"a.png", u"a.png", false},
      {u"\\pics", u"", u"\\pics", false},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(std::string(row.resolved, row.resolved + std::u16string(row.resolved).size()));
    char16_t out[32];
    ASSERT_TRUE(ResolvePath(row.folder, row.name, out, 32));
    EXPECT_EQ(std::u16string(out), row.resolved);
    EXPECT_EQ(JoinsWithoutSeparator(row.folder, row.name), row.runTogether);
  }
  for (char16_t c = 0; c < 0x80; ++c) {
    EXPECT_EQ(IsPathSeparator(c), c == u'\\' || c == u'/') << static_cast<int>(c);
  }
  EXPECT_TRUE(IsRootedPath(kPathSeparator));
  EXPECT_FALSE(IsRootedPath(u""));
  EXPECT_FALSE(IsRootedPath(nullptr));
}

// A path that does not fit is refused whole, never cut: a cut path could name another file.
TEST(PlatformPath, RefusesAPathThatDoesNotFit) {
  const std::u16string folder = u"\\abc\\";
  for (int capacity = 1; capacity <= 12; ++capacity) {
    char16_t out[16];
    std::fill(std::begin(out), std::end(out), kCanary);
    const bool fits = ResolvePath(folder.c_str(), u"de.png", out, capacity);
    EXPECT_EQ(fits, capacity >= 12) << capacity;  // 11 units and the terminator
    EXPECT_EQ(std::u16string(out), fits ? u"\\abc\\de.png" : u"") << capacity;
    for (int i = capacity; i < 16; ++i) ASSERT_EQ(out[i], kCanary) << capacity;
  }
  char16_t out[4] = {kCanary, kCanary, kCanary, kCanary};
  EXPECT_FALSE(ResolvePath(u"\\", nullptr, out, 4));
  EXPECT_EQ(out[0], 0);
  out[0] = kCanary;
  EXPECT_FALSE(ResolvePath(u"\\", u"a", out, 0));
  EXPECT_EQ(out[0], kCanary);  // nothing written
}

}  // namespace
}  // namespace orvendale::platform
