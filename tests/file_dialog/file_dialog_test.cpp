#include <gtest/gtest.h>

#include <string>

#include "file_dialog/file_dialog.h"
#include "platform/ansi_text.h"

namespace quenlo {
namespace {

using namespace std::string_literals;

// Stands in for the platform dialog: keeps a copy of what it was handed and answers
// as a user would.
struct FakeDialog {
    BOOL result = FALSE;
    std::string chosenFile;  // written into the file buffer when result is TRUE
    std::string chosenTitle;
    DWORD chosenFilterIndex = 0;

    int calls = 0;
    OPENFILENAMEA seen{};
    std::string seenFile;
    std::string seenTitle;

    cFileDialog::DialogCall Call() {
        return [this](OPENFILENAMEA& record) {
            ++calls;
            seen = record;
            seenFile.assign(record.lpstrFile, record.nMaxFile);
            seenTitle.assign(record.lpstrFileTitle, record.nMaxFileTitle);
            if (result) {
                chosenFile.copy(record.lpstrFile, record.nMaxFile);
                chosenTitle.copy(record.lpstrFileTitle, record.nMaxFileTitle);
                if (chosenFilterIndex) {
                    record.nFilterIndex = chosenFilterIndex;
                }
            }
            return result;
        };
    }
};

class FileDialogTest : public testing::Test {
protected:
    void SetUp() override { dialog.SetDialogCalls(openDialog.Call(), saveDialog.Call()); }

    cFileDialog dialog;
    FakeDialog openDialog;
    FakeDialog saveDialog;
};

TEST_F(FileDialogTest, NewInstanceStartsFromTheDocumentedDefaults) {
    EXPECT_EQ(dialog.FilterIndex(), 1);
    EXPECT_EQ(dialog.Flags(), 0);
    EXPECT_FALSE(dialog.CancelError());
    EXPECT_EQ(dialog.hWnd(), nullptr);
    EXPECT_EQ(dialog.Filename(), "");
    EXPECT_EQ(dialog.FileTitle(), "");
    EXPECT_EQ(dialog.Filter(), "");
    EXPECT_EQ(dialog.DefaultExt(), "");
    EXPECT_EQ(dialog.DialogTitle(), "");
    EXPECT_EQ(dialog.InitDir(), "");

    const OPENFILENAMEA& record = dialog.Record();
    EXPECT_EQ(record.lStructSize, static_cast<DWORD>(OPENFILENAME_SIZE_VERSION_400A));
    EXPECT_EQ(record.lpstrFilter, nullptr);
    EXPECT_EQ(record.lpstrDefExt, nullptr);
    EXPECT_EQ(record.lpstrTitle, nullptr);
    EXPECT_EQ(record.lpstrInitialDir, nullptr);
    EXPECT_EQ(record.lpstrCustomFilter, nullptr);
    EXPECT_EQ(record.hInstance, nullptr);
}

TEST_F(FileDialogTest, FilterIsHandedOverWithNulsAtBarsAndColonsAndTwoMoreAtTheEnd) {
    dialog.SetFilter("文本文件(*.TXT)|*.txt");
    EXPECT_EQ(dialog.Filter(), "文本文件(*.TXT)|*.txt");
    const std::string expected = Utf8ToAnsi("文本文件(*.TXT)") + "\0*.txt\0\0\0"s;
    EXPECT_EQ(std::string(dialog.Record().lpstrFilter, expected.size()), expected);

    dialog.SetFilter("Text:*.txt|All|*.*");
    EXPECT_EQ(std::string(dialog.Record().lpstrFilter, 20), "Text\0*.txt\0All\0*.*\0\0"s);
}

TEST_F(FileDialogTest, TextFieldsGoToTheRecordTwiceTerminatedAndReadBackAsWritten) {
    dialog.SetDefaultExt("txt");
    dialog.SetInitDir("C:\\数据");
    dialog.SetDialogTitle("选择文件");
    EXPECT_EQ(std::string(dialog.Record().lpstrDefExt, 5), "txt\0\0"s);
    const std::string dir = Utf8ToAnsi("C:\\数据");
    EXPECT_EQ(std::string(dialog.Record().lpstrInitialDir, dir.size() + 2), dir + "\0\0"s);
    EXPECT_EQ(dialog.DefaultExt(), "txt");
    EXPECT_EQ(dialog.InitDir(), "C:\\数据");
    EXPECT_EQ(dialog.DialogTitle(), "选择文件");

    dialog.SetDialogTitle("");
    dialog.SetDefaultExt("");
    EXPECT_EQ(dialog.Record().lpstrTitle, nullptr);
    EXPECT_EQ(dialog.Record().lpstrDefExt, nullptr);
}

TEST_F(FileDialogTest, ShowOpenStartsFromTheCurrentNameAndTakesTheChosenOne) {
    dialog.SetFlags(OFN_FILEMUSTEXIST);
    dialog.SetFilename("C:\\old.txt");
    dialog.SetFileTitle("old.txt");
    dialog.SetHWnd(reinterpret_cast<HWND>(0x1234));
    openDialog.result = TRUE;
    openDialog.chosenFile = "C:\\data\\new.txt\0junk"s;
    openDialog.chosenTitle = "new.txt";
    openDialog.chosenFilterIndex = 2;

    dialog.ShowOpen();

    ASSERT_EQ(openDialog.calls, 1);
    EXPECT_EQ(saveDialog.calls, 0);
    EXPECT_EQ(openDialog.seen.Flags, static_cast<DWORD>(OFN_FILEMUSTEXIST));
    EXPECT_EQ(openDialog.seen.nMaxFile, 1024u);
    EXPECT_EQ(openDialog.seen.nMaxFileTitle, 1024u);
    EXPECT_EQ(openDialog.seen.hwndOwner, reinterpret_cast<HWND>(0x1234));
    std::string startName = "C:\\old.txt";
    startName.resize(1024, '\0');
    EXPECT_EQ(openDialog.seenFile, startName);
    EXPECT_EQ(TrimAtNull(openDialog.seenTitle), "old.txt");

    EXPECT_EQ(dialog.Filename(), "C:\\data\\new.txt");
    EXPECT_EQ(dialog.FileTitle(), "new.txt");
    EXPECT_EQ(dialog.FilterIndex(), 2);
    EXPECT_EQ(dialog.LastError().number, 0);
}

TEST_F(FileDialogTest, MultiSelectUsesTheLargeBufferAndExplorerStyleInTheRecordOnly) {
    dialog.SetFlags(OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST);
    openDialog.result = TRUE;
    openDialog.chosenFile = "C:\\data\0a.txt\0b.txt\0\0"s;

    dialog.ShowOpen();

    EXPECT_EQ(openDialog.seen.nMaxFile, 8192u);
    EXPECT_EQ(openDialog.seen.Flags,
              static_cast<DWORD>(OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST | OFN_EXPLORER));
    EXPECT_EQ(dialog.Flags(), OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST);
    // The whole buffer is kept: the parser needs the NULs.
    EXPECT_EQ(dialog.Filename().size(), 8192u);
    EXPECT_EQ(dialog.Filename().substr(0, 21), "C:\\data\0a.txt\0b.txt\0\0"s);

    std::string dir;
    std::vector<std::string> files;
    std::int32_t count = 0;
    dialog.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, "C:\\data");
    EXPECT_EQ(files, (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(count, 2);
}

TEST_F(FileDialogTest, ShowSaveNeverUsesTheMultiSelectForm) {
    dialog.SetFlags(OFN_ALLOWMULTISELECT);
    saveDialog.result = TRUE;
    saveDialog.chosenFile = "C:\\out.txt\0x\0\0"s;

    dialog.ShowSave();

    ASSERT_EQ(saveDialog.calls, 1);
    EXPECT_EQ(openDialog.calls, 0);
    EXPECT_EQ(saveDialog.seen.nMaxFile, 1024u);
    EXPECT_EQ(saveDialog.seen.Flags, static_cast<DWORD>(OFN_ALLOWMULTISELECT));
    EXPECT_EQ(dialog.Filename(), "C:\\out.txt");
}

TEST_F(FileDialogTest, CancelKeepsTheNameAndRecordsTheErrorOnlyWhenAskedTo) {
    dialog.SetFilename("C:\\kept.txt");
    dialog.ShowOpen();
    EXPECT_EQ(dialog.Filename(), "C:\\kept.txt");
    EXPECT_EQ(dialog.LastError().number, 0);

    dialog.SetCancelError(true);
    dialog.ShowOpen();
    EXPECT_EQ(dialog.Filename(), "C:\\kept.txt");
    EXPECT_EQ(dialog.LastError().number, cFileDialog::kCancelErrorNumber);
    EXPECT_EQ(dialog.LastError().source, "file_dialog_test.cFileDialog");
    EXPECT_EQ(dialog.LastError().description, "User selected cancel.");

    dialog.ShowSave();
    EXPECT_EQ(dialog.LastError().source, "file_dialog_test.cFilenDialog");
}

TEST_F(FileDialogTest, OverlongStartNameIsCutSoTheBufferStaysTerminated) {
    dialog.SetFilename(std::string(3000, 'x'));
    dialog.ShowOpen();
    ASSERT_EQ(openDialog.seenFile.size(), 1024u);
    EXPECT_EQ(openDialog.seenFile.back(), '\0');
    EXPECT_EQ(TrimAtNull(openDialog.seenFile).size(), 1023u);
    EXPECT_EQ(dialog.Filename().size(), 3000u);  // nothing chosen: the name stays whole
}

TEST(ParseMultiFileName, SingleFileSplitsAtTheLastBackslashAndKeepsIt) {
    cFileDialog dialog;
    std::string dir = "stale";
    std::vector<std::string> files{"x", "y", "z"};
    std::int32_t count = 7;

    dialog.SetFilename("C:\\data\\a.txt");
    dialog.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, "C:\\data\\");
    EXPECT_EQ(files, std::vector<std::string>{"a.txt"});
    EXPECT_EQ(count, 1);

    dialog.SetFilename("a.txt");
    dialog.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, "");
    EXPECT_EQ(files, std::vector<std::string>{"a.txt"});

    dialog.SetFilename("");
    dialog.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, "");
    EXPECT_EQ(files, std::vector<std::string>{""});
    EXPECT_EQ(count, 1);
}

// Whatever count a caller passes in, the method returns: the count stops at its
// largest value, and a list that cannot be that long keeps what it held.
TEST(ParseMultiFileName, HugeCountsNeitherThrowNorWrap) {
    cFileDialog dialog;
    dialog.SetFilename("D:\\in\0a.txt\0b.txt\0\0"s);
    for (const std::int32_t start : {std::int32_t{1} << 30, INT32_MAX - 1, INT32_MAX}) {
        std::string dir;
        std::vector<std::string> files{"kept"};
        std::int32_t count = start;
        EXPECT_NO_THROW(dialog.ParseMultiFileName(dir, files, count)) << start;
        EXPECT_EQ(count, start == (std::int32_t{1} << 30) ? start + 2 : INT32_MAX);
        EXPECT_EQ(files, std::vector<std::string>{"kept"});
        EXPECT_EQ(dir, "D:\\in");
    }
}

TEST(ParseMultiFileName, SeveralFilesAreAddedAfterWhatTheCallerAlreadyHolds) {
    cFileDialog dialog;
    dialog.SetFilename("D:\\在\0一.txt\0二.txt\0三.txt\0\0"s);
    std::string dir;
    std::vector<std::string> files{"earlier"};
    std::int32_t count = 1;
    dialog.ParseMultiFileName(dir, files, count);
    EXPECT_EQ(dir, "D:\\在");
    EXPECT_EQ(files, (std::vector<std::string>{"earlier", "一.txt", "二.txt", "三.txt"}));
    EXPECT_EQ(count, 4);
}

}  // namespace
}  // namespace quenlo
