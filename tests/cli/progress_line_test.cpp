// The terminal's progress line, from the figures it is made of.
#include <gtest/gtest.h>

#include "cli/progress_line.h"

namespace quenlo::test {
namespace {

TEST(ProgressLineTest, KnownSizeShowsPercentageRateAndTimeLeft) {
    ProgressFigures progress{"12345", 2.5, 25'000'000, 100'000'000};
    EXPECT_EQ(ProgressLine(progress, Language::English),
              "lines: 12345    2 s    25%    10.0 MB/s    8 s left");
    EXPECT_EQ(ProgressLine(progress, Language::Chinese),
              "总共处理行数：12345    2 秒    25%    10.0 MB/秒    剩余 8 秒");
    // Long waits in minutes and hours; a part second left counts as a second.
    progress = {"1", 10, 1'000'000, 1'000'000'000};
    EXPECT_EQ(ProgressLine(progress, Language::English),
              "lines: 1    10 s    0%    0.1 MB/s    2:46:30 left");
    progress = {"1", 100, 900'000'000, 1'000'000'001};
    EXPECT_EQ(ProgressLine(progress, Language::English),
              "lines: 1    100 s    89%    9.0 MB/s    12 s left");
    progress = {"1", 100, 500'000'000, 1'900'000'000};
    EXPECT_EQ(ProgressLine(progress, Language::Chinese),
              "总共处理行数：1    100 秒    26%    5.0 MB/秒    剩余 4:40");
}

// The time left at the edges of each unit: a whole minute is 1:00, a whole hour 1:00:00.
TEST(ProgressLineTest, TimeLeftTurnsToMinutesAndHoursAtTheirFirstSecond) {
    const std::pair<std::uint64_t, const char*> rows[] = {
        {0, "0 s"},      {59, "59 s"},      {60, "1:00"},      {61, "1:01"},
        {3599, "59:59"}, {3600, "1:00:00"}, {3661, "1:01:01"}, {360000, "100:00:00"}};
    for (const auto& [left, text] : rows) {
        // One MB a second and one MB done: every further MB is a second left.
        const std::string line =
            ProgressLine({"1", 1, 1'000'000, 1'000'000 * (left + 1)}, Language::English);
        EXPECT_TRUE(line.ends_with("MB/s    " + std::string(text) + " left")) << line;
    }
}

TEST(ProgressLineTest, NoRateBeforeTheFirstSecondNorBeyondTheEnd) {
    EXPECT_EQ(ProgressLine({"0", 0.4, 1'000'000, 4'000'000}, Language::English),
              "lines: 0    0 s    25%");
    // A file that grew while it was read, and an empty one, are done, not past done.
    EXPECT_EQ(ProgressLine({"9", 3, 5'000'000, 3'000'000}, Language::English),
              "lines: 9    3 s    100%    1.0 MB/s    0 s left");
    EXPECT_EQ(ProgressLine({"0", 0, 0, 0}, Language::English), "lines: 0    0 s    100%");
}

TEST(ProgressLineTest, APipeKeepsTheCountAndSeconds) {
    EXPECT_EQ(ProgressLine({"777", 61.9, 123'456'789, std::nullopt}, Language::Chinese),
              "总共处理行数：777    61 秒");
}

}  // namespace
}  // namespace quenlo::test
