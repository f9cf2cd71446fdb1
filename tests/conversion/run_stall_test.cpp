// An input that keeps the run waiting (a pipe whose writer stalls, a share that
// hangs): the window stays live, a stop takes effect there, and the files hold
// exactly the counted lines.
#include "conversion/run_conversion.h"

#include <chrono>

#include <gtest/gtest.h>

#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "test_support.h"

namespace quenlo::test {
namespace {

// Each case twice: the input as a pipe, and as a disk file of known length whose
// reads a stop must cancel just the same.
class RunStallTest : public ::testing::TestWithParam<bool> {
protected:
    ScratchFolder scratch;
    std::filesystem::path results = scratch.path() / U8("转换结果");
    std::filesystem::path input = scratch.path() / U8("管道.txt");
    FakeHost host{input, results};
    StallingFiles stalling;

    void SetUp() override {
        WriteFile(input, "");
        host.files = &stalling;
    }
    void Stall(std::string before, std::string after) {
        if (GetParam()) {
            stalling.length = before.size() + after.size();
        }
        stalling.before = std::move(before);
        stalling.after = std::move(after);
    }
    std::string Output(std::int64_t n) {
        return ReadFile(results / U8(OutputFileName(n, host.today)));
    }
};

TEST_P(RunStallTest, StopWhileTheInputStallsWithinALineKeepsTheCountedLinesOnly) {
    Stall("a\r\nb\r\nhalf a li", "ne\r\nc\r\n");
    // File 1 at every pump once both whole lines are counted: the run then waits.
    std::vector<std::string> seen;
    host.onPump = [&](FakeHost& h) {
        if (h.Total() < 2) {
            return;  // a slow first read pumps before any file exists
        }
        seen.push_back(Output(1));
        // A stop comes while the run waits: the window was kept live meanwhile.
        h.stopRequested = seen.size() == 2;
    };
    host.Run(RunOptions{std::chrono::milliseconds(1)});
    EXPECT_TRUE(stalling.StallCancelled());
    EXPECT_TRUE(host.messages.empty());  // a stop: no message
    EXPECT_EQ(Output(1), "a\r\nb\r\n");
    EXPECT_EQ(host.Total(), 2);
    // While waiting, the file held the whole lines counted and no piece of the next.
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "a\r\nb\r\n");
    EXPECT_EQ(seen[1], "a\r\nb\r\n");
}

TEST_P(RunStallTest, StopWhileWaitingForTheFirstBytesEndsQuietly) {
    Stall("", "never\r\n");
    host.onPump = [](FakeHost& h) { h.stopRequested = true; };
    host.Run(RunOptions{std::chrono::milliseconds(1)});
    EXPECT_TRUE(stalling.StallCancelled());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.Total(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(results));
}

TEST_P(RunStallTest, StopSeenAtTheEndOfALineDoesNotWaitForTheInput) {
    // The stop comes at a pump after whole lines; whether more input follows is
    // not known while the writer stalls, so the run ends as stopped at once.
    Stall("a\r\nb\r\n", "c\r\n");
    host.onPump = [](FakeHost& h) { h.stopRequested = h.Total() == 2; };
    host.Run();
    EXPECT_TRUE(stalling.StallCancelled());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Output(1), "a\r\nb\r\n");
}

TEST_P(RunStallTest, AWriteThatFailsWhileTheInputStallsIsAWriteError) {
    Stall("a\r\nb\r\n", "c\r\n");
    stalling.diskFull = true;
    // Pumps rare enough that the first comes while the run waits for the input.
    host.Run(RunOptions{std::chrono::milliseconds(200)});
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind(kCannotWriteOutput, 0), 0u) << host.messages[0].text;
    EXPECT_TRUE(stalling.StallCancelled());
}

INSTANTIATE_TEST_SUITE_P(PipeAndDiskFile, RunStallTest, ::testing::Bool());

}  // namespace
}  // namespace quenlo::test
