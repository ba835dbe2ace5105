// Saving survives being killed at any moment: the crash tool's loop, short.
// (`totem-save-crash FOLDER 1000` runs the long one.)
#include <gtest/gtest.h>

#include <cstdio>

#include "support/ToolTest.h"

namespace {

class SaveCrash : public ToolTest {
protected:
    SaveCrash() : ToolTest("totem-save-crash") {}
};

TEST_F(SaveCrash, FileIsAlwaysOneWholeVersion) {
    const ToolRun run = Tool(Q(dir_ / "saves") + " 60 7");
    EXPECT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("; 0 failures"), std::string::npos) << run.out;
    EXPECT_TRUE(run.err.empty()) << run.err;
    // The kills landed on both sides of the renames.
    int first = 0, second = 0;
    const size_t at = run.out.find("found the first set ");
    ASSERT_NE(at, std::string::npos) << run.out;
    ASSERT_EQ(std::sscanf(run.out.c_str() + at, "found the first set %d times, the second %d times", &first, &second),
              2);
    EXPECT_GT(first, 0);
    EXPECT_GT(second, 0);
}

}  // namespace
