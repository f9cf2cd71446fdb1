// Bad input and failing disks: a clear error naming the file, nothing counted that
// did not reach a file, and never a report of success.
#include "conversion/run_conversion.h"

#include <algorithm>
#include <optional>
#include <utility>

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "test_support.h"

namespace quenlo::test {
namespace {

constexpr CalendarDate kDay{2026, 12, 7};

// The native file system with faults switched in: writes that run out of room,
// folders that refuse new files, reads that fail part way.
class FaultyFileSystem final : public ForwardingFileSystem {
public:
    std::size_t writableBytes = SIZE_MAX;
    bool refuseNewFiles = false;
    std::size_t readsBeforeFailure = SIZE_MAX;
    std::size_t readChunk = SIZE_MAX;
    // Another program cuts the input to this length after the first read.
    std::optional<std::uintmax_t> shrinkInputTo;
    std::atomic<bool> endRead{false};  // set before the end of the input is handed on

    std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) override {
        return std::make_unique<Input>(*this, file, NativeFiles().OpenForReading(file));
    }
    std::unique_ptr<OutputFile> OpenForAppending(const std::filesystem::path& file) override {
        if (refuseNewFiles) {
            throw FileError(file, "Access is denied.");
        }
        return std::make_unique<Output>(*this, file, NativeFiles().OpenForAppending(file));
    }

private:
    class Input final : public ForwardingInput {
    public:
        Input(FaultyFileSystem& owner, std::filesystem::path path, std::unique_ptr<InputFile> real)
            : ForwardingInput(std::move(real)), owner_(owner), path_(std::move(path)) {}
        std::size_t Read(char* buffer, std::size_t size) override {
            if (owner_.readsBeforeFailure-- == 0) {
                throw FileError(path_, "The network name is no longer available.");
            }
            const std::size_t n = ForwardingInput::Read(buffer, std::min(size, owner_.readChunk));
            owner_.endRead = n == 0;
            if (owner_.shrinkInputTo) {
                std::filesystem::resize_file(path_, *owner_.shrinkInputTo);
                owner_.shrinkInputTo.reset();
            }
            return n;
        }

    private:
        FaultyFileSystem& owner_;
        std::filesystem::path path_;
    };

    class Output final : public OutputFile {
    public:
        Output(FaultyFileSystem& owner, std::filesystem::path path,
               std::unique_ptr<OutputFile> real)
            : owner_(owner), path_(std::move(path)), real_(std::move(real)) {}
        std::uint64_t SizeAtOpen() const override { return real_->SizeAtOpen(); }
        std::string LastBytesAtOpen() const override { return real_->LastBytesAtOpen(); }
        void Write(const char* data, std::size_t size) override {
            if (size > owner_.writableBytes) {
                // As a real disk does: what fits is written, then the write fails.
                real_->Write(data, owner_.writableBytes);
                owner_.writableBytes = 0;
                throw FileError(path_, "There is not enough space on the disk.");
            }
            owner_.writableBytes -= size;
            real_->Write(data, size);
        }
        void Truncate(std::uint64_t size) override { real_->Truncate(size); }
        void Close() override { real_->Close(); }

    private:
        FaultyFileSystem& owner_;
        std::filesystem::path path_;
        std::unique_ptr<OutputFile> real_;
    };
};

class RunFailuresTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    std::filesystem::path results = scratch.path() / U8("转换结果");
    std::filesystem::path input = scratch.path() / U8("输入.txt");
    FakeHost host{input, results};
    FaultyFileSystem faulty;

    std::filesystem::path OutputPath(std::int64_t n) {
        return results / U8(OutputFileName(n, kDay));
    }
    // The run ended with one error box that names the file and says why.
    void ExpectOneError(std::string_view what, const std::filesystem::path& file,
                        std::string_view reason = {}) {
        ASSERT_EQ(host.messages.size(), 1u);
        const ShownMessage& message = host.messages[0];
        EXPECT_EQ(message.kind, MessageKind::Error);
        EXPECT_EQ(message.title, kErrorTitle);
        EXPECT_NE(message.text.find(what), std::string::npos) << message.text;
        EXPECT_NE(message.text.find(Utf8(file.filename())), std::string::npos) << message.text;
        EXPECT_NE(message.text.find(reason), std::string::npos) << message.text;
        EXPECT_FALSE(host.timerEnabled);
        EXPECT_EQ(host.startCaption, kStartCaption);
    }
};

TEST_F(RunFailuresTest, PlainFileWhereTheResultsFolderBelongsIsRefusedFirst) {
    WriteFile(results, "not a folder");
    for (const char* content : {"a\r\nb\r\n", ""}) {
        host.messages.clear();
        WriteFile(input, content);
        host.Run();
        ExpectOneError(kCannotCreateFolder, results);
        EXPECT_EQ(host.Total(), 0);
        EXPECT_EQ(ReadFile(results), "not a folder");
    }
    // Before the input is even looked at.
    host.messages.clear();
    std::filesystem::remove(input);
    host.Run();
    ExpectOneError(kCannotCreateFolder, results);
}

TEST_F(RunFailuresTest, ResultsFolderThatCannotBeCreated) {
    host.resultsFolder = scratch.path() / U8("没有") / U8("转换结果");
    WriteFile(input, "a\r\n");
    host.Run();
    ExpectOneError(kCannotCreateFolder, host.resultsFolder);
    EXPECT_EQ(host.Total(), 0);
}

TEST_F(RunFailuresTest, FolderThatRefusesNewFiles) {
    host.files = &faulty;
    faulty.refuseNewFiles = true;
    WriteFile(input, "a\r\n");
    host.Run();
    ExpectOneError(kCannotWriteOutput, OutputPath(1), "Access is denied.");
    EXPECT_EQ(host.Total(), 0);
}

TEST_F(RunFailuresTest, FullDiskStopsAtOnceAndCountsOnlyLinesThatReachedTheFile) {
    host.files = &faulty;
    faulty.writableBytes = 6;  // "a\r\nb\r\n"
    WriteFile(input, "a\r\nb\r\nc\r\nd\r\n");
    host.Run();
    ExpectOneError(kCannotWriteOutput, OutputPath(1), "not enough space");
    EXPECT_EQ(ReadFile(OutputPath(1)), "a\r\nb\r\n");
    EXPECT_EQ(host.Total(), 2);
}

// The count must follow the files also when the run ends before its first pump: its
// clock stands still until file 1 holds more than a read block.
TEST_F(RunFailuresTest, TotalShowsTheFilesWhenTheRunEndsBeforeAnyPump) {
    const std::filesystem::path first = OutputPath(1);
    RunOptions stillClock{std::chrono::hours(1)};
    stillClock.clock = [&first] {
        std::error_code missing;
        const bool pastABlock = std::filesystem::file_size(first, missing) > (1u << 20);
        return std::chrono::steady_clock::time_point{} +
               std::chrono::hours(!missing && pastABlock ? 2 : 0);
    };

    // A failure: file 2 cannot be made.
    WriteFile(input, "a\r\nb\r\nc\r\nd\r\n");
    host.linesPerFile = "3";
    std::filesystem::create_directories(OutputPath(2));
    host.Run(stillClock);
    ExpectOneError(kCannotWriteOutput, OutputPath(2));
    EXPECT_EQ(ReadFile(first), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(host.Total(), 3);

    // A stop, taken within a line longer than a read block, where the window is kept
    // live without a pump.
    std::filesystem::remove_all(results);
    WriteFile(input, "a\r\nb\r\n" + std::string(3 << 20, 'x') + "\r\nc\r\n");
    host.messages.clear();
    host.totalCaption = "总共处理行数：0";
    host.linesPerFile = "30000";
    host.onPump = [&first](FakeHost& h) {
        std::error_code missing;
        h.stopRequested = std::filesystem::file_size(first, missing) > (1u << 20) && !missing;
    };
    host.Run(stillClock);
    EXPECT_TRUE(host.stopRequested);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(ReadFile(first), "a\r\nb\r\n");
    EXPECT_EQ(host.Total(), 2);
}

#ifndef _WIN32
TEST_F(RunFailuresTest, RealReadOnlyFolder) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not stop root; FolderThatRefusesNewFiles covers this";
    }
    std::filesystem::create_directory(results);
    std::filesystem::permissions(results, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::remove);
    WriteFile(input, "a\r\n");
    host.Run();
    ExpectOneError(kCannotWriteOutput, OutputPath(1), "Permission denied");
    EXPECT_EQ(host.Total(), 0);
}

TEST_F(RunFailuresTest, RealFullDevice) {
    std::filesystem::create_directory(results);
    std::filesystem::create_symlink("/dev/full", OutputPath(1));
    WriteFile(input, "a\r\n");
    host.Run();
    ExpectOneError(kCannotWriteOutput, OutputPath(1), "No space left on device");
    EXPECT_EQ(host.Total(), 0);
}
#endif

TEST_F(RunFailuresTest, MissingInputGivesAnErrorAndNoOutput) {
    host.Run();
    ExpectOneError(kCannotOpenInput, input);
    EXPECT_TRUE(std::filesystem::is_empty(results));
}

TEST_F(RunFailuresTest, InputThatFailsPartWayKeepsTheLinesReadBefore) {
    host.files = &faulty;
    faulty.readChunk = 4;
    faulty.readsBeforeFailure = 3;  // "a\r\nb" "\r\nc\r" "\nd\r\n"
    WriteFile(input, "a\r\nb\r\nc\r\nd\r\ne\r\n");
    host.Run();
    ExpectOneError(kCannotReadInput, input, "no longer available");
    EXPECT_EQ(ReadFile(OutputPath(1)), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(host.Total(), 4);
}

TEST_F(RunFailuresTest, InputTricklingInOddPiecesIsSplitTheSame) {
    // As a pipe or a network share may deliver it: the byte-order mark in pieces,
    // 16-bit units cut in two at the end of a read.
    host.files = &faulty;
    faulty.readChunk = 1;
    WriteFile(input, "\xEF\xBB\xBF a \r\nb\r\n");
    host.Run();
    EXPECT_EQ(ReadFile(OutputPath(1)),
              "\xEF\xBB\xBF"
              "a\r\nb\r\n");

    std::filesystem::remove_all(results);
    faulty.readChunk = 3;
    WriteFile(input, "\xFF\xFE" + Utf16LE(u" 中a \r\nb\u0D20 ") + "\x41");
    host.Run();
    EXPECT_EQ(ReadFile(OutputPath(1)),
              "\xFF\xFE" + Utf16LE(u"中a\r\nb\u0D20 ") + "\x41" + Utf16LE(u"\r\n"));
    EXPECT_EQ(host.Total(), 4);
}

// Ctrl-C in "producer | quenlo-split -" reaches the producer too: its output ends in a
// cut line just after the handler, on a thread of its own, set the stop. The stop wins.
TEST_F(RunFailuresTest, StopAskedForBeforeThePipeEndsLeavesItsCutLineUncounted) {
    host.files = &faulty;
    faulty.readChunk = 9;  // the end comes third, once the first block is handed back
    host.signalled = &faulty.endRead;
    WriteFile(input, "a\r\nb\r\nhalf");
    host.Run(RunOptions{std::chrono::hours(1)});  // no pump sees the stop first
    EXPECT_TRUE(host.messages.empty());           // stopped, not finished
    EXPECT_EQ(ReadFile(OutputPath(1)), "a\r\nb\r\n");
    EXPECT_EQ(host.Total(), 2);
}

TEST_F(RunFailuresTest, MissingParentFoldersAreMadeOnlyWhenAsked) {
    host.resultsFolder = scratch.path() / U8("甲") / U8("乙") / U8("转换结果");
    WriteFile(input, "a\r\n");
    RunOptions options{std::chrono::milliseconds(0)};
    options.createParentFolders = true;
    host.Run(options);
    EXPECT_EQ(ReadFile(host.resultsFolder / U8(OutputFileName(1, kDay))), "a\r\n");
    EXPECT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].kind, MessageKind::Information);
}

TEST_F(RunFailuresTest, InputThatIsANumberedOutputIsRefusedBeforeAnythingIsWritten) {
    std::filesystem::create_directory(results);
    const std::filesystem::path earlier = OutputPath(1);
    WriteFile(earlier, "x\r\ny\r\n");
    // Spelled differently from the results folder the host names.
    host.inputText = Utf8(results / U8("..") / U8("转换结果") / U8("1-2026-12-07.txt"));
    host.Run();
    ExpectOneError(kInputIsOutput, earlier);
    EXPECT_EQ(ReadFile(earlier), "x\r\ny\r\n");
    EXPECT_EQ(host.Total(), 0);

    // Also a result of another day: a run crossing midnight could reach it.
    const std::filesystem::path older = results / U8("3-2025-01-31.txt");
    WriteFile(older, "z\r\n");
    host.messages.clear();
    host.inputText = Utf8(older);
    host.Run();
    ExpectOneError(kInputIsOutput, older);
    EXPECT_EQ(ReadFile(older), "z\r\n");
}

TEST_F(RunFailuresTest, InputLinkedToAnOutputIsRefusedBeforeAnythingIsWritten) {
    std::filesystem::create_directory(results);
    WriteFile(input, "a\r\nb\r\nc\r\n");
    std::error_code error;
    std::filesystem::create_hard_link(input, OutputPath(2), error);
    if (error) {
        GTEST_SKIP() << "no hard links here: " << error.message();
    }
    // The cleanup file of this input is the input itself, under another name.
    std::filesystem::create_hard_link(input, results / U8("输入-2026-12-07.txt"));
    host.linesPerFile = "1";
    host.Run();
    ExpectOneError(kInputIsOutput, input);
    EXPECT_EQ(ReadFile(input), "a\r\nb\r\nc\r\n");
    EXPECT_TRUE(std::filesystem::exists(results / U8("输入-2026-12-07.txt")));
    EXPECT_FALSE(std::filesystem::exists(OutputPath(1)));
    EXPECT_EQ(host.Total(), 0);
}

// Files numbered in 128 bits (ReFS): here every file shares the same low 64 bits,
// and only the high half tells them apart.
std::optional<FileIdentity> Collide(std::optional<FileIdentity> identity) {
    if (identity) {
        identity->indexHigh = std::exchange(identity->index, 42);
    }
    return identity;
}

class WideIdFiles final : public ForwardingFileSystem {
public:
    std::optional<FileIdentity> Identity(const std::filesystem::path& file) override {
        return Collide(NativeFiles().Identity(file));
    }
    std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) override {
        class Input final : public ForwardingInput {
        public:
            using ForwardingInput::ForwardingInput;
            std::optional<FileIdentity> Identity() const override {
                return Collide(ForwardingInput::Identity());
            }
        };
        return std::make_unique<Input>(NativeFiles().OpenForReading(file));
    }
};

TEST_F(RunFailuresTest, FilesAlikeInTheLow64BitsOfTheirIdAreStillTwoFiles) {
    WideIdFiles wide;
    host.files = &wide;
    std::filesystem::create_directory(results);
    WriteFile(OutputPath(1), "old\r\n");
    WriteFile(input, "a\r\n");
    host.Run();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, kFinishedText);
    EXPECT_EQ(ReadFile(OutputPath(1)), "old\r\na\r\n");

    // One file by two names still is one.
    host.messages.clear();
    host.inputText = Utf8(results / U8("..") / U8("转换结果") / U8("1-2026-12-07.txt"));
    host.Run();
    ExpectOneError(kInputIsOutput, OutputPath(1));
}

TEST_F(RunFailuresTest, ResultNameLinkedToTheInputLaterInTheRunIsRefusedWhenReached) {
    std::filesystem::create_directory(results);
    WriteFile(input, "a\r\nb\r\nc\r\n");
    host.linesPerFile = "1";
    std::error_code error;
    host.onPump = [&](FakeHost& h) {
        if (h.Total() == 1) {
            std::filesystem::create_hard_link(input, OutputPath(2), error);
        }
    };
    host.Run();
    if (error) {
        GTEST_SKIP() << "no hard links here: " << error.message();
    }
    ExpectOneError(kInputIsOutput, OutputPath(2));
    EXPECT_EQ(ReadFile(input), "a\r\nb\r\nc\r\n");
    EXPECT_EQ(ReadFile(OutputPath(1)), "a\r\n");
    EXPECT_EQ(host.Total(), 1);
}

TEST_F(RunFailuresTest, ResultNameThatIsASymbolicLinkToTheInputIsRefusedBeforeAnythingIsWritten) {
    std::filesystem::create_directory(results);
    WriteFile(input, "a\r\nb\r\n");
    std::error_code error;
    std::filesystem::create_symlink(input, OutputPath(2), error);
    if (error) {
        GTEST_SKIP() << "no symbolic links here: " << error.message();
    }
    host.linesPerFile = "1";
    host.Run();
    ExpectOneError(kInputIsOutput, input);
    EXPECT_EQ(ReadFile(input), "a\r\nb\r\n");
    EXPECT_FALSE(std::filesystem::exists(OutputPath(1)));
}

TEST_F(RunFailuresTest, InputThatIsASymbolicLinkToAShortResultIsRefused) {
    std::filesystem::create_directory(results);
    WriteFile(OutputPath(2), "x\r\n");
    const std::filesystem::path link = scratch.path() / U8("链接.txt");
    std::error_code error;
    std::filesystem::create_symlink(OutputPath(2), link, error);
    if (error) {
        GTEST_SKIP() << "no symbolic links here: " << error.message();
    }
    host.inputText = Utf8(link);
    host.Run();
    ExpectOneError(kInputIsOutput, link);
    EXPECT_FALSE(std::filesystem::exists(OutputPath(1)));
    EXPECT_EQ(ReadFile(OutputPath(2)), "x\r\n");
}

// Nothing is deleted that the run did not write, and nothing of the user's is taken
// for something else.
class NothingLostTest : public RunFailuresTest {
protected:
    std::filesystem::path cleanupFile = results / U8("输入-2026-12-07.txt");
    void SetUp() override {
        std::filesystem::create_directory(results);
        WriteFile(cleanupFile, "the user's own");
    }
};

TEST_F(NothingLostTest, ARunThatCannotOpenItsInputDeletesNothing) {
    host.Run();
    ExpectOneError(kCannotOpenInput, input);
    EXPECT_EQ(ReadFile(cleanupFile), "the user's own");
}

TEST_F(NothingLostTest, TheWindowStillRemovesTheCleanupFileOnceTheInputIsOpen) {
    WriteFile(input, "a\r\n");
    host.Run();
    EXPECT_FALSE(std::filesystem::exists(cleanupFile));
}

TEST_F(NothingLostTest, TheCleanupFileIsKeptWhenItIsAnotherNameOfTheInput) {
    std::filesystem::remove(cleanupFile);
    WriteFile(input, "a\r\n");
    std::error_code error;
    std::filesystem::create_hard_link(input, cleanupFile, error);
    if (error) {
        GTEST_SKIP() << "no hard links here: " << error.message();
    }
    host.Run();
    EXPECT_EQ(ReadFile(cleanupFile), "a\r\n");
    EXPECT_EQ(ReadFile(OutputPath(1)), "a\r\n");
}

TEST_F(NothingLostTest, CommandLineRulesDeleteNothingAndTakeThePathAsGiven) {
    RunOptions commandLine{std::chrono::milliseconds(0)};
    commandLine.trimInputPath = false;
    commandLine.removeCleanupFile = false;
    WriteFile(input, "trimmed name\r\n");
    const std::filesystem::path spaced = scratch.path() / U8(" 输入.txt");
    WriteFile(spaced, "exact name\r\n");
    const std::filesystem::path spacedCleanupFile = results / U8(" 输入-2026-12-07.txt");
    WriteFile(spacedCleanupFile, "the user's own");
    // A path whose text starts with a space: relative to the working folder.
    const std::filesystem::path workingFolder = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path());
    host.inputText = " 输入.txt";
    host.Run(commandLine);
    std::filesystem::current_path(workingFolder);
    EXPECT_EQ(ReadFile(OutputPath(1)), "exact name\r\n");
    EXPECT_EQ(ReadFile(spacedCleanupFile), "the user's own");
}

// Whatever ends a run, every file ends on a whole line and holds exactly the lines
// counted: a later run of the day appends to it, and a piece left at its end would
// merge with that run's first line.
class WholeLinesAfterFailureTest : public RunFailuresTest {
protected:
    static std::string Rows(int first, int last) {
        std::string text;
        for (int i = first; i <= last; ++i) {
            text += "row " + std::to_string(100000 + i) + "\r\n";
        }
        return text;
    }
    // The file holds the first lines of the input, as many as the total shows.
    void ExpectCountedRowsOnly(const std::filesystem::path& file) {
        EXPECT_EQ(ReadFile(file), Rows(1, static_cast<int>(host.Total())));
    }
};

TEST_F(WholeLinesAfterFailureTest, DiskFullPartWayThroughTheBuffer) {
    host.files = &faulty;
    faulty.writableBytes = 7777;  // not a multiple of a line
    WriteFile(input, Rows(1, 5000));
    host.Run(RunOptions{});  // the buffer fills before it is written
    ExpectOneError(kCannotWriteOutput, OutputPath(1), "not enough space");
    ExpectCountedRowsOnly(OutputPath(1));

    // Room again: the next run of the day adds its lines after whole ones.
    const std::string before = ReadFile(OutputPath(1));
    faulty.writableBytes = SIZE_MAX;
    WriteFile(input, "first\r\nsecond\r\n");
    host.Run();
    EXPECT_EQ(ReadFile(OutputPath(1)), before + "first\r\nsecond\r\n");
}

TEST_F(WholeLinesAfterFailureTest, DiskFullWithinALineLongerThanTheBuffer) {
    host.files = &faulty;
    faulty.writableBytes = 3 << 20;
    WriteFile(input, Rows(1, 2) + std::string(5 << 20, 'x') + "\r\n" + Rows(3, 4));
    host.Run();
    ExpectOneError(kCannotWriteOutput, OutputPath(1), "not enough space");
    EXPECT_EQ(host.Total(), 2);
    ExpectCountedRowsOnly(OutputPath(1));
}

TEST_F(WholeLinesAfterFailureTest, ReadErrorWithinALine) {
    host.files = &faulty;
    faulty.readChunk = 9;
    faulty.readsBeforeFailure = 2;  // the second read ends inside row 2
    WriteFile(input, Rows(1, 5));
    host.Run();
    ExpectOneError(kCannotReadInput, input, "no longer available");
    EXPECT_EQ(host.Total(), 1);
    ExpectCountedRowsOnly(OutputPath(1));
}

TEST_F(WholeLinesAfterFailureTest, ReadErrorWithinALineAlreadyPartlyOnDisk) {
    // A line longer than the buffer goes to the file in pieces before it ends.
    host.files = &faulty;
    faulty.readChunk = 1 << 20;
    faulty.readsBeforeFailure = 3;
    WriteFile(input, Rows(1, 2) + std::string(5 << 20, 'x') + "\r\n");
    host.Run();
    ExpectOneError(kCannotReadInput, input);
    EXPECT_EQ(host.Total(), 2);
    ExpectCountedRowsOnly(OutputPath(1));
}

TEST_F(WholeLinesAfterFailureTest, InputCutShortWhileItIsReadIsAFailure) {
    host.files = &faulty;
    faulty.readChunk = 64;
    faulty.shrinkInputTo = 100;  // within row 9
    WriteFile(input, Rows(1, 50));
    host.Run();
    ExpectOneError(kCannotReadInput, input, kInputShrank);
    EXPECT_EQ(host.Total(), 8);
    ExpectCountedRowsOnly(OutputPath(1));
}

}  // namespace
}  // namespace quenlo::test
