// quenlo-split's inputs on Windows, where the system names a folder opened as a file
// only as "access denied".
#include <gtest/gtest.h>

#include "cli/console_files.h"
#include "cli/messages.h"
#include "conversion/texts.h"
#include "tests/conversion/test_support.h"

namespace quenlo::test {
namespace {

TEST(ConsoleFilesTest, AFolderGivenAsInputIsNamedAsAFolder) {
    ScratchFolder scratch;
    ConsoleFiles files;
    try {
        files.OpenForReading(scratch.path());
        FAIL() << "opened a folder";
    } catch (const FileError& error) {
        EXPECT_EQ(error.file(), scratch.path());
        EXPECT_EQ(error.reason(), kInputIsFolder);
    }
    // Anything else keeps the system's own reason.
    try {
        files.OpenForReading(scratch.path() / "missing.txt");
        FAIL() << "opened a missing file";
    } catch (const FileError& error) {
        EXPECT_NE(error.reason(), kInputIsFolder);
    }
    const std::string failure =
        std::string(kCannotOpenInput) + "「D:\\数据」：" + std::string(kInputIsFolder);
    EXPECT_EQ(JobText(failure, Language::English),
              "cannot open the input file \"D:\\数据\": it is a folder, not a file");
}

}  // namespace
}  // namespace quenlo::test
