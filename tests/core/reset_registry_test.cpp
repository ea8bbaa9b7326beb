#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/reset_registry.h"

namespace {
std::vector<std::string> reset_log;
void test_reset_a() { reset_log.push_back("a"); }
void test_reset_b() { reset_log.push_back("b"); }
void test_reset_c() { reset_log.push_back("c"); }
}  // namespace

// The object files register their resets in whatever order the program's
// start initialises them: the run order is the names' order all the same,
// a reset registered twice runs once, and a group runs its own alone.
TEST(ResetRegistry, RunsEachResetOnceInTheOrderOfTheirNamesAndAGroupAlone)
{
    RESET_register("test_reset_b", test_reset_b, reset_group::panel);
    RESET_register("test_reset_c", test_reset_c, reset_group::scene);
    RESET_register("test_reset_a", test_reset_a, reset_group::scene);
    RESET_register("test_reset_b", test_reset_b, reset_group::scene);
    reset_log.clear();
    RESET_all();
    EXPECT_EQ(reset_log, (std::vector<std::string>{"a", "b", "c"}));
    reset_log.clear();
    RESET_group(reset_group::scene);
    EXPECT_EQ(reset_log, (std::vector<std::string>{"a", "c"}));
}
