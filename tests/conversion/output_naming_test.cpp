#include "conversion/output_naming.h"

#include <gtest/gtest.h>

namespace quenlo {
namespace {

TEST(OutputNaming, NamesCarryNumberAndZeroPaddedDate) {
    EXPECT_EQ(OutputFileName(1, {2026, 12, 7}), "1-2026-12-07.txt");
    EXPECT_EQ(OutputFileName(12, {2027, 1, 31}), "12-2027-01-31.txt");
    EXPECT_EQ(OutputFileName(3000000000LL, {987, 5, 4}), "3000000000-0987-05-04.txt");
}

TEST(OutputNaming, RecognisesEveryNumberedOutputName) {
    EXPECT_TRUE(IsOutputFileName("1-2026-12-07.txt"));
    EXPECT_TRUE(IsOutputFileName("345-1999-01-01.TXT"));
    EXPECT_FALSE(IsOutputFileName("01-2026-12-07.txt"));
    EXPECT_FALSE(IsOutputFileName("0-2026-12-07.txt"));
    EXPECT_FALSE(IsOutputFileName("a-2026-12-07.txt"));
    EXPECT_FALSE(IsOutputFileName("1-2026-12-7.txt"));
    EXPECT_FALSE(IsOutputFileName("1-2026-12-07.txt.bak"));
    EXPECT_FALSE(IsOutputFileName("data-2026-12-07.txt"));
}

TEST(OutputNaming, BaseNameLiesBetweenLastSeparatorAndLastTxt) {
    EXPECT_EQ(InputBaseName("C:\\数据\\客户.txt"), "客户");
    EXPECT_EQ(InputBaseName("客户.txt"), "客户");
    EXPECT_EQ(InputBaseName("C:\\a.txt.b\\list.txt"), "list");
    EXPECT_EQ(InputBaseName("C:\\a\\x.txt.txt"), "x.txt");
    EXPECT_EQ(InputBaseName("C:\\a\\.txt"), "");
    // ".txt" is compared exactly, and must follow the last separator.
    EXPECT_EQ(InputBaseName("C:\\a\\list.TXT"), std::nullopt);
    EXPECT_EQ(InputBaseName("C:\\a.txt\\list"), std::nullopt);
}

TEST(OutputNaming, BaseNameNeverLeadsOutOfTheResultsFolder) {
    EXPECT_EQ(InputBaseName("C:\\data/../../victim.txt"), "victim");
    EXPECT_EQ(InputBaseName("/home/user/list.txt"), "list");
    EXPECT_EQ(InputBaseName("C:list.txt"), "list");
    EXPECT_EQ(InputBaseName("..\\..\\x.txt"), "x");
}

TEST(OutputNaming, CleanupFileIsNeverANumberedOutput) {
    EXPECT_EQ(CleanupFileName("C:\\d\\客户.txt", {2026, 12, 7}), "客户-2026-12-07.txt");
    EXPECT_EQ(CleanupFileName("C:\\d\\客户.csv", {2026, 12, 7}), std::nullopt);
    // Input "1.txt" would name the day's first numbered file: left alone.
    EXPECT_EQ(CleanupFileName("C:\\d\\1.txt", {2026, 12, 7}), std::nullopt);
}

}  // namespace
}  // namespace quenlo
