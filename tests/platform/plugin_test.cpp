#include "platform/system/plugin.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace orvendale::platform {
namespace {

using Answer = int (*)();

TEST(PluginTest, FindsASymbolOfAPluginInTheNamedFolder) {
  ASSERT_EQ(setenv("ORVENDALE_PLUGIN_DIR", ORVENDALE_PROBE_PLUGIN_DIR, 1), 0);
  auto answer = reinterpret_cast<Answer>(FindPluginSymbol("probe", "orvendale_probe_answer"));
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer(), 42);
  // Loaded once, found again.
  EXPECT_EQ(reinterpret_cast<Answer>(FindPluginSymbol("probe", "orvendale_probe_answer")), answer);
}

TEST(PluginTest, MissingPluginsAndSymbolsGiveNull) {
  ASSERT_EQ(setenv("ORVENDALE_PLUGIN_DIR", ORVENDALE_PROBE_PLUGIN_DIR, 1), 0);
  EXPECT_EQ(FindPluginSymbol("probe", "no_such_symbol"), nullptr);
  EXPECT_EQ(FindPluginSymbol("no-such-plugin", "orvendale_probe_answer"), nullptr);
  EXPECT_EQ(FindPluginSymbol("../probe", "orvendale_probe_answer"), nullptr);
  EXPECT_EQ(FindPluginSymbol(nullptr, "orvendale_probe_answer"), nullptr);
  EXPECT_EQ(FindPluginSymbol("probe", nullptr), nullptr);
}

}  // namespace
}  // namespace orvendale::platform
