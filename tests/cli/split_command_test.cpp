// quenlo-split as a script sees it: exit statuses, output files, Ctrl-C.
#include <cstdio>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "tests/conversion/test_support.h"

namespace quenlo::test {
namespace {

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

class SplitCommandTest : public ::testing::Test {
protected:
    ScratchFolder scratch;

    std::string Quote(const std::filesystem::path& path) {
        std::string quoted(1, '\'');
        quoted += Utf8(path);
        quoted += '\'';
        return quoted;
    }

    // Runs a shell command line with "$SPLIT" standing for quenlo-split.
    Outcome Shell(const std::string& command) {
        const auto out = scratch.path() / "stdout";
        const auto err = scratch.path() / "stderr";
        std::string line = "SPLIT='";
        line += QUENLO_SPLIT;
        line += "'; ";
        line += command;
        line += " >" + Quote(out) + " 2>" + Quote(err);
        const int raw = std::system(line.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
    }

    std::size_t FileCount(const std::filesystem::path& folder) {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) {
            ++count;
        }
        return count;
    }
};

TEST_F(SplitCommandTest, SplitsIntoTheOutFolderAndSaysSo) {
    WriteFile(scratch.path() / "in.txt", " a \r\nb\r\nc\r\n");
    const auto out = scratch.path() / U8("结果");
    const Outcome outcome =
        Shell("\"$SPLIT\" --out " + Quote(out) + " " + Quote(scratch.path() / "in.txt") + " 2");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "转换处理完成！\n");
    EXPECT_EQ(outcome.err, "");  // no progress line when stderr is not a terminal
    EXPECT_EQ(FileCount(out), 2u);
}

TEST_F(SplitCommandTest, FailureIsOneLineOnStderrAndStatusOne) {
    const Outcome outcome = Shell("\"$SPLIT\" --out " + Quote(scratch.path() / "r") + " " +
                                  Quote(scratch.path() / U8("没有.txt")));
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_NE(outcome.err.find("没有.txt"), std::string::npos) << outcome.err;
    EXPECT_EQ(outcome.err.find('\n'), outcome.err.size() - 1) << outcome.err;
}

TEST_F(SplitCommandTest, UsageErrorsGiveStatusTwoAndHelpAndVersionZero) {
    for (const char* arguments : {"", "a b c", "--bogus in.txt", "--out"}) {
        SCOPED_TRACE(arguments);
        const Outcome outcome = Shell(std::string("\"$SPLIT\" ") + arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find("Usage: quenlo-split"), std::string::npos);
    }
    EXPECT_EQ(Shell("\"$SPLIT\" --help").status, 0);
    const Outcome version = Shell("\"$SPLIT\" --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("quenlo-split ")) << version.out;
}

TEST_F(SplitCommandTest, CtrlCStopsWithTheCountedLinesOnDiskAndStatus130) {
    // The input is a pipe the test feeds: two lines, then Ctrl-C, then more lines,
    // which are never written.
    const auto fifo = scratch.path() / "in.txt";
    const auto out = scratch.path() / "r";
    const Outcome outcome =
        Shell("mkfifo " + Quote(fifo) + " && { \"$SPLIT\" --out " + Quote(out) + " " + Quote(fifo) +
              " 1 & pid=$!; exec 3>" + Quote(fifo) +
              "; printf 'a\\r\\nb\\r\\n' >&3; sleep 0.5; kill -INT $pid; sleep 0.2;"
              " printf 'c\\r\\nd\\r\\n' >&3; exec 3>&-; wait $pid; }");
    EXPECT_EQ(outcome.status, 130) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(FileCount(out), 2u);
}

}  // namespace
}  // namespace quenlo::test
