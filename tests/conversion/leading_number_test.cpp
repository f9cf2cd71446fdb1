#include "conversion/leading_number.h"

#include <limits>

#include <gtest/gtest.h>

namespace quenlo {
namespace {

TEST(LeadingNumber, ReadsTheLongestLeadingDecimalNumber) {
    EXPECT_EQ(LeadingNumber("30000"), 30000);
    EXPECT_EQ(LeadingNumber("-12"), -12);
    EXPECT_EQ(LeadingNumber("+7"), 7);
    EXPECT_EQ(LeadingNumber("2.5"), 2.5);
    EXPECT_EQ(LeadingNumber(".5"), 0.5);
    EXPECT_EQ(LeadingNumber("5."), 5);
    EXPECT_EQ(LeadingNumber("1.5e3"), 1500);
    EXPECT_EQ(LeadingNumber("2E-2"), 0.02);
    EXPECT_EQ(LeadingNumber("12abc"), 12);
    EXPECT_EQ(LeadingNumber("3.4.5"), 3.4);
    // An exponent without digits is not part of the number.
    EXPECT_EQ(LeadingNumber("7e"), 7);
    EXPECT_EQ(LeadingNumber("7e+x"), 7);
}

TEST(LeadingNumber, IgnoresBlanksTabsAndLineFeedsAnywhere) {
    EXPECT_EQ(LeadingNumber("  30000  "), 30000);
    EXPECT_EQ(LeadingNumber("3 0\t0\n00"), 30000);
    EXPECT_EQ(LeadingNumber("- 4"), -4);
    EXPECT_EQ(LeadingNumber("1 e 2"), 100);
    // A carriage return is not ignored: it ends the number.
    EXPECT_EQ(LeadingNumber("12\r34"), 12);
}

TEST(LeadingNumber, GivesZeroForTextThatDoesNotBeginWithANumber) {
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("."), 0);
    EXPECT_EQ(LeadingNumber("e5"), 0);
    EXPECT_EQ(LeadingNumber("x12"), 0);
    EXPECT_EQ(LeadingNumber("inf"), 0);
    EXPECT_EQ(LeadingNumber("nan"), 0);
    EXPECT_EQ(LeadingNumber("0x1F"), 0);
}

TEST(LeadingNumber, ReadsHexadecimalAndOctalWholeNumbers) {
    EXPECT_EQ(LeadingNumber("&H1F"), 31);
    EXPECT_EQ(LeadingNumber("&hff"), 255);
    EXPECT_EQ(LeadingNumber("&O17"), 15);
    EXPECT_EQ(LeadingNumber("&o78"), 7);
    EXPECT_EQ(LeadingNumber("& H 1 0"), 16);
    EXPECT_EQ(LeadingNumber("&H"), 0);
    EXPECT_EQ(LeadingNumber("&X1"), 0);
}

TEST(LeadingNumber, SurvivesNumbersOutOfRange) {
    EXPECT_EQ(LeadingNumber("1e999"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(LeadingNumber("-1e999"), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(LeadingNumber("1e-999"), 0);
    EXPECT_EQ(LeadingNumber(std::string(400, '9')), std::numeric_limits<double>::infinity());
}

TEST(FormatWholeNumber, WritesPlainDecimalIntegers) {
    EXPECT_EQ(FormatWholeNumber(0), "0");
    EXPECT_EQ(FormatWholeNumber(7), "7");
    EXPECT_EQ(FormatWholeNumber(-3), "-3");
    EXPECT_EQ(FormatWholeNumber(5000000), "5000000");
    // Beyond 32 bits and where printf would switch to an exponent.
    EXPECT_EQ(FormatWholeNumber(12345678901234.0), "12345678901234");
    EXPECT_EQ(FormatWholeNumber(1e15), "1000000000000000");
    EXPECT_EQ(FormatWholeNumber(-0.0), "0");
    EXPECT_EQ(FormatWholeNumber(std::numeric_limits<double>::quiet_NaN()), "0");
}

TEST(FormatWholeNumber, RoundTripsThroughLeadingNumber) {
    for (double value : {1.0, 29999.0, 30000.0, 4294967297.0, 9007199254740992.0}) {
        EXPECT_EQ(LeadingNumber(FormatWholeNumber(value)), value);
    }
}

}  // namespace
}  // namespace quenlo
