// Built without the UTF-8 manifest and run in a Chinese locale, so the process works
// in GBK (code page 936) as on the Chinese systems the tool was made for.
#include <windows.h>

#include <gtest/gtest.h>

#include "conversion/output_naming.h"
#include "conversion/run_conversion.h"
#include "platform/ansi_path.h"
#include "platform/ansi_text.h"
#include "test_support.h"

namespace quenlo::test {
namespace {

TEST(AnsiCodePage, ProcessRunsInGbk) {
    ASSERT_EQ(GetACP(), 936u);
}

TEST(AnsiCodePage, ConvertsBetweenGbkAndUtf8) {
    EXPECT_EQ(AnsiToUtf8("\xD6\xD0\xCE\xC4"), "中文");
    EXPECT_EQ(Utf8ToAnsi("转换结果"), "\xD7\xAA\xBB\xBB\xBD\xE1\xB9\xFB");
    EXPECT_EQ(AnsiToUtf8(Utf8ToAnsi("总共处理行数：12 秒")), "总共处理行数：12 秒");
    EXPECT_EQ(Utf8ToAnsi("plain"), "plain");
}

TEST(AnsiCodePage, InputPathGivenInGbkIsSplit) {
    ScratchFolder scratch;
    const std::filesystem::path input = scratch.path() / U8("中文输入.txt");
    WriteFile(input, " \xB0\xA1 \r\nb\r\n");
    // What an ANSI text box holds: the path in GBK bytes, which the A functions open.
    const std::string gbkPath = Utf8ToAnsi(Utf8(input));
    ASSERT_NE(GetFileAttributesA(gbkPath.c_str()), INVALID_FILE_ATTRIBUTES);

    const std::filesystem::path results = scratch.path() / U8("转换结果");
    FakeHost host{{}, results};
    host.inputText = AnsiToUtf8(gbkPath);
    host.Run();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].kind, MessageKind::Information) << host.messages[0].text;
    EXPECT_EQ(ReadFile(results / U8(OutputFileName(1, host.today))), "\xB0\xA1\r\nb\r\n");
    const std::string gbkResults = Utf8ToAnsi(Utf8(results));
    EXPECT_NE(GetFileAttributesA(gbkResults.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

// A path handed over in UTF-16 with characters GBK lacks (Hangul) goes into an ANSI
// text box in its short form, which still names the file; one GBK holds stays whole.
// Without a short form (here: none yet; on ReFS: none ever) there is no spelling.
TEST(AnsiCodePage, PathOutsideTheCodePageKeepsToItsShortForm) {
    ScratchFolder scratch;
    const std::filesystem::path chinese = scratch.path() / U8("客户 名单.txt");
    const std::filesystem::path korean = scratch.path() / U8("고객 명단.txt");
    WriteFile(chinese, "a\r\n");
    WriteFile(korean, "b\r\n");
    EXPECT_EQ(PathForAnsiText(chinese.wstring()), Utf8(chinese));

    EXPECT_EQ(PathForAnsiText((scratch.path() / U8("고객 명단 2.txt")).wstring()), std::nullopt);
    const std::string kept = PathForAnsiText(korean.wstring()).value_or("");
    EXPECT_NE(kept, Utf8(korean));
    const std::string boxText = Utf8ToAnsi(kept);
    EXPECT_EQ(AnsiToUtf8(boxText), kept);
    EXPECT_EQ(ReadFile(PathFromUtf8(AnsiToUtf8(boxText))), "b\r\n");
}

}  // namespace
}  // namespace quenlo::test
