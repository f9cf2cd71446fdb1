// The system's reasons come in the language the console speaks, where Windows has it.
#include <windows.h>

#include <gtest/gtest.h>

#include "cli/language.h"
#include "platform/win32_file_system.h"

namespace quenlo::test {
namespace {

class SystemReasonLanguageTest : public ::testing::Test {
protected:
    void TearDown() override { SetSystemErrorLanguage(0); }
};

TEST_F(SystemReasonLanguageTest, ReasonsFollowTheChosenLanguageAndFallBackToTheSystems) {
    SetSystemErrorLanguage(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));
    const std::string chinese = SystemErrorText(ERROR_FILE_NOT_FOUND);
    UseLanguageForSystemReasons(Language::English);
    const std::string english = SystemErrorText(ERROR_FILE_NOT_FOUND);
    EXPECT_NE(english.find("not found"), std::string::npos) << english;
    EXPECT_NE(chinese, english);
    EXPECT_NE(chinese.find("文件"), std::string::npos) << chinese;
    // A language this system has no messages in: its own default, not a bare number.
    SetSystemErrorLanguage(MAKELANGID(LANG_ZULU, SUBLANG_DEFAULT));
    SetLastError(0);
    const std::string fallback = SystemErrorText(ERROR_FILE_NOT_FOUND);
    SetSystemErrorLanguage(0);
    EXPECT_EQ(fallback, SystemErrorText(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace quenlo::test
