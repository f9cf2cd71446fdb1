// The platform's file services as the job relies on them.
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include <chrono>
#include <cstring>

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include "platform/system_path.h"
#include "platform/win32_file_system.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "test_support.h"

namespace quenlo::test {
namespace {

class FileSystemTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    FileSystem& files = NativeFiles();
    std::filesystem::path file = scratch.path() / U8("文件.txt");
};

TEST_F(FileSystemTest, AppendsAfterExistingContentAndReportsTheSizeAtOpen) {
    {
        auto out = files.OpenForAppending(file);
        EXPECT_EQ(out->SizeAtOpen(), 0u);
        out->Write("ab", 2);
        out->Close();
    }
    auto out = files.OpenForAppending(file);
    EXPECT_EQ(out->SizeAtOpen(), 2u);
    out->Write("cd", 2);
    out->Close();
    EXPECT_EQ(ReadFile(file), "abcd");
}

TEST_F(FileSystemTest, CutBackFileTakesLaterWritesAtItsNewEnd) {
    WriteFile(file, "old");
    auto out = files.OpenForAppending(file);
    out->Write("partial", 7);
    out->Truncate(4);
    out->Write("x", 1);
    out->Close();
    EXPECT_EQ(ReadFile(file), "oldpx");
}

TEST_F(FileSystemTest, ReadsEverythingThenZero) {
    WriteFile(file, std::string(100000, 'q'));
    auto in = files.OpenForReading(file);
    // A cancel that finds no read under way takes nothing from a disk file: its end
    // is still its end, not a cut or a cancel.
    in->CancelRead();
    std::string read;
    char buffer[4096];
    while (std::size_t n = in->Read(buffer, sizeof buffer)) {
        read.append(buffer, n);
    }
    EXPECT_EQ(read, std::string(100000, 'q'));
}

TEST_F(FileSystemTest, IdentityFollowsTheFileNotTheSpelling) {
    WriteFile(file, "x");
    WriteFile(scratch.path() / U8("other.txt"), "x");
    const auto identity = files.Identity(file);
    ASSERT_TRUE(identity);
    EXPECT_EQ(files.Identity(scratch.path() / U8(".") / U8("文件.txt")), identity);
    EXPECT_EQ(
        files.Identity(scratch.path() / U8("..") / scratch.path().filename() / U8("文件.txt")),
        identity);
    EXPECT_NE(files.Identity(scratch.path() / U8("other.txt")), identity);
    EXPECT_EQ(files.Identity(scratch.path() / U8("missing.txt")), std::nullopt);
    // Folders have one too: the job compares the input's folder with the results folder.
    EXPECT_TRUE(files.Identity(scratch.path()));
    EXPECT_NE(files.Identity(scratch.path()), identity);
}

TEST_F(FileSystemTest, FolderServices) {
    const std::filesystem::path folder = scratch.path() / U8("转换结果");
    EXPECT_FALSE(files.Exists(folder));
    files.CreateFolder(folder);
    EXPECT_TRUE(files.Exists(folder));
    EXPECT_NO_THROW(files.CreateFolder(folder));  // there already: fine
    // Exactly one level.
    EXPECT_THROW(files.CreateFolder(scratch.path() / U8("a") / U8("b")), FileError);
    WriteFile(file, "x");
    EXPECT_TRUE(files.Exists(file));
    EXPECT_TRUE(files.Remove(file));
    EXPECT_FALSE(files.Exists(file));
    EXPECT_FALSE(files.Remove(file));
}

TEST_F(FileSystemTest, FolderEntriesNameWhatIsInTheFolder) {
    WriteFile(file, "x");
    std::filesystem::create_directory(scratch.path() / U8("转换结果"));
    std::vector<std::filesystem::path> names = files.FolderEntries(scratch.path());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::filesystem::path>{U8("文件.txt"), U8("转换结果")}));
    EXPECT_TRUE(files.FolderEntries(scratch.path() / U8("没有")).empty());
}

TEST_F(FileSystemTest, AFolderNameTakenByAFileIsRefused) {
    WriteFile(file, "x");
    try {
        files.CreateFolder(file);
        FAIL() << "took a file for a folder";
    } catch (const FileError& error) {
        EXPECT_EQ(error.file(), file);
        EXPECT_FALSE(error.reason().empty());
    }
    EXPECT_EQ(ReadFile(file), "x");
}

TEST_F(FileSystemTest, FolderMadeByAnotherRunAtTheSameMomentIsFine) {
    // Runs started together all find the folder missing and all try to make it.
    for (int round = 0; round < 40; ++round) {
        const std::filesystem::path folder = scratch.path() / std::to_string(round);
        std::atomic<int> ready{0};
        std::atomic<int> failures{0};
        std::vector<std::thread> runs;
        for (int i = 0; i < 4; ++i) {
            runs.emplace_back([&] {
                ++ready;
                while (ready < 4) {
                }
                try {
                    files.CreateFolder(folder);
                } catch (const FileError&) {
                    ++failures;
                }
            });
        }
        for (std::thread& run : runs) {
            run.join();
        }
        ASSERT_EQ(failures, 0) << "round " << round;
    }
}

TEST_F(FileSystemTest, AnOpenInputKnowsTheFileItReads) {
    WriteFile(file, "x");
    EXPECT_EQ(files.OpenForReading(file)->Identity(), files.Identity(file));
}

TEST_F(FileSystemTest, FailuresNameTheFileAndTheSystemsReason) {
    const std::filesystem::path missing = scratch.path() / U8("没有.txt");
    try {
        files.OpenForReading(missing);
        FAIL() << "opened a missing file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.file(), missing);
        EXPECT_FALSE(error.reason().empty());
    }
    try {
        files.OpenForAppending(scratch.path() / U8("没有") / U8("1.txt"));
        FAIL() << "created a file in a missing folder";
    } catch (const FileError& error) {
        EXPECT_FALSE(error.reason().empty());
    }
    EXPECT_THROW(files.OpenForAppending(scratch.path()), FileError);
}

// A pipe whose writer stalls: the read that waits for it can be cancelled from
// another thread, and every later read ends at once.
TEST_F(FileSystemTest, AReadThatWaitsOnAStalledPipeCanBeCancelled) {
#ifdef _WIN32
    // Windows cancels a waiting ReadFile with CancelSynchronousIo; Wine 8 does not.
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) {
        GTEST_SKIP() << "Wine cannot cancel a synchronous read";
    }
    const std::filesystem::path pipe =
        L"\\\\.\\pipe\\quenlo-test-" + std::to_wstring(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeW(pipe.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096,
                                     4096, 0, nullptr);
    ASSERT_NE(server, INVALID_HANDLE_VALUE);
    std::unique_ptr<InputFile> input = files.OpenForReading(pipe);
    auto feed = [&](const char* text) {
        DWORD written = 0;
        ::WriteFile(server, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
    };
#else
    const std::filesystem::path pipe = scratch.path() / "fifo";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::unique_ptr<InputFile> input = files.OpenForReading(pipe);
    const int server = ::open(pipe.c_str(), O_WRONLY);
    ASSERT_GE(server, 0);
    auto feed = [&](const char* text) {
        [[maybe_unused]] const ssize_t written = ::write(server, text, std::strlen(text));
    };
#endif
    feed("ab");
    char buffer[16];
    EXPECT_EQ(input->Read(buffer, sizeof buffer), 2u);
    constexpr std::size_t kCancelled = 1000;
    std::atomic<std::size_t> read{99};
    std::thread reader([&] {
        try {
            read = input->Read(buffer, sizeof buffer);
        } catch (const ReadCancelled&) {
            read = kCancelled;
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    // Should the read not be cancelled, data after ten seconds ends it anyway.
    std::atomic<bool> cancelled{false};
    std::thread cancel([&] {
        input->CancelRead();
        for (int i = 0; i < 100 && read == 99; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            input->CancelRead();  // as the job does, in case the read began just after
        }
        cancelled = read != 99;
        if (!cancelled) {
            feed("late");
        }
    });
    reader.join();
    cancel.join();
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(read, kCancelled);
    feed("more");
    EXPECT_THROW(input->Read(buffer, sizeof buffer), ReadCancelled);
#ifdef _WIN32
    CloseHandle(server);
#else
    ::close(server);
#endif
}

#ifdef _WIN32
TEST(Win32FilesTest, The128BitIdKeepsBothHalvesLowFirst) {
    unsigned char id[16] = {};
    id[0] = 1;
    id[15] = 2;
    EXPECT_EQ(IdentityFromFileId(7, id), (FileIdentity{7, 1, std::uint64_t{2} << 56}));
}

TEST(Win32FilesTest, LongPathsGoToTheSystemInTheExtendedForm) {
    const std::wstring name(300, L'n');
    wchar_t current[MAX_PATH * 2] = {};
    GetCurrentDirectoryW(MAX_PATH * 2, current);
    std::wstring here = current;
    if (here.back() != L'\\') {
        here += L'\\';
    }
    const struct {
        std::wstring given;
        std::wstring expected;
    } cases[] = {
        {L"C:\\short\\a.txt", L"C:\\short\\a.txt"},
        // Just under and at the length where a folder can no longer be made without it.
        {L"C:\\d\\" + name.substr(0, 242), L"C:\\d\\" + name.substr(0, 242)},
        {L"C:\\d\\" + name.substr(0, 243), L"\\\\?\\C:\\d\\" + name.substr(0, 243)},
        {L"C:\\dir\\" + name, L"\\\\?\\C:\\dir\\" + name},
        {L"C:/dir/./x/../" + name, L"\\\\?\\C:\\dir\\" + name},
        {L"\\\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + name},
        {name, L"\\\\?\\" + here + name},
        {L"\\\\?\\C:\\dir\\" + name, L"\\\\?\\C:\\dir\\" + name},
        {L"\\\\?\\UNC\\server\\share\\" + name, L"\\\\?\\UNC\\server\\share\\" + name},
        {L"\\\\.\\pipe\\" + name, L"\\\\.\\pipe\\" + name},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SystemPath(c.given), c.expected) << Utf8(c.given.substr(0, 40));
    }
}
#endif

}  // namespace
}  // namespace quenlo::test
