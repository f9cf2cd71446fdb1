// The platform's file services as the job relies on them.
#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace quenlo::test
