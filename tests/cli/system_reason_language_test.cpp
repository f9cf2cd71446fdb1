// The system's reasons come in the language the console speaks, where Windows has it;
// where the system's reason misleads, quenlo-split has its own.
#include <windows.h>

#include <gtest/gtest.h>

#include "cli/console_files.h"
#include "cli/language.h"
#include "cli/messages.h"
#include "conversion/texts.h"
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

// Windows says only "access denied" for a folder opened as a file.
TEST_F(SystemReasonLanguageTest, AFolderGivenAsInputIsNamedAsAFolder) {
    const auto reasonFor = [](const std::filesystem::path& input) {
        try {
            ConsoleFiles().OpenForReading(input);
        } catch (const FileError& error) {
            return error.reason();
        }
        return std::string("opened");
    };
    EXPECT_EQ(reasonFor(std::filesystem::current_path()), kInputIsFolder);
    EXPECT_EQ(reasonFor("missing.txt"), SystemErrorText(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(
        JobText(std::string(kCannotOpenInput) + "「D:\\数据」：" + std::string(kInputIsFolder),
                Language::English),
        "cannot open the input file \"D:\\数据\": it is a folder, not a file");
}

}  // namespace
}  // namespace quenlo::test
