#include <gtest/gtest.h>
TEST(PluginContextTest, Placeholder) {}
