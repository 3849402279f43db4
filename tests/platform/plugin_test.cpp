#include "platform/system/plugin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/plugin_probe.h"

namespace orvendale::platform {
namespace {

class PluginTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(setenv("ORVENDALE_PLUGIN_DIR", ORVENDALE_PROBE_PLUGIN_DIR, 1), 0); }
};

TEST_F(PluginTest, FindsTheTableOfAPluginInTheNamedFolderOnce) {
  const ProbePlugin* probe = FindPlugin<ProbePlugin>();
  ASSERT_NE(probe, nullptr);
  EXPECT_EQ(probe->answer(), 42);
  // Looked up once: the same table again, also after the folder is no longer named.
  ASSERT_EQ(unsetenv("ORVENDALE_PLUGIN_DIR"), 0);
  EXPECT_EQ(FindPlugin<ProbePlugin>(), probe);
  EXPECT_EQ(PluginAbsence<ProbePlugin>(), "");
}

TEST_F(PluginTest, RefusesWhatIsNotThePluginOfTheVersionAskedFor) {
  const struct {
    const char* name;
    std::uint32_t version;
    PluginState state;
    std::uint32_t foundVersion;
  } cases[] = {
      {"probe", 1, PluginState::kLoaded, 1},
      {"probe", 3, PluginState::kOtherVersion, 1},
      {"probe-v2", 1, PluginState::kOtherVersion, 2},
      {"probe-v2", 2, PluginState::kMissing, 0},  // its descriptor names "probe"
      {"probe-renamed", 1, PluginState::kMissing, 0},
      {"probe-bare", 1, PluginState::kMissing, 0},
      {"no-such-plugin", 1, PluginState::kMissing, 0},
      {"../plugins/orvendale-probe", 1, PluginState::kMissing, 0},
      {"", 1, PluginState::kMissing, 0},
      {nullptr, 1, PluginState::kMissing, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name == nullptr ? "(null)" : c.name) + " version " + std::to_string(c.version));
    const PluginLookup lookup = LookUpPlugin(c.name, c.version);
    EXPECT_EQ(lookup.state, c.state);
    EXPECT_EQ(lookup.foundVersion, c.foundVersion);
    EXPECT_EQ(lookup.functions != nullptr, c.state == PluginState::kLoaded);
  }
}

TEST_F(PluginTest, SaysWhyAPluginCannotBeUsedAndWhichPackageBringsIt) {
  EXPECT_EQ(PluginAbsence("no-such-plugin", 1),
            "orvendale-no-such-plugin.so, or a library it needs, does not load "
            "(install the package orvendale-no-such-plugin)");
  EXPECT_EQ(PluginAbsence("probe-v2", 1),
            "orvendale-probe-v2.so is built for plugin interface 2, this program for 1 "
            "(install the package orvendale-probe-v2 of this program's version)");
}

}  // namespace
}  // namespace orvendale::platform
