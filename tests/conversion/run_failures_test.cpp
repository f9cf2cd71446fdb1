// Bad input and failing disks: a clear error naming the file, nothing counted that
// did not reach a file, and never a report of success.
#include "conversion/run_conversion.h"

#include <algorithm>

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
    class Input final : public InputFile {
    public:
        Input(FaultyFileSystem& owner, std::filesystem::path path, std::unique_ptr<InputFile> real)
            : owner_(owner), path_(std::move(path)), real_(std::move(real)) {}
        std::size_t Read(char* buffer, std::size_t size) override {
            if (owner_.readsBeforeFailure-- == 0) {
                throw FileError(path_, "The network name is no longer available.");
            }
            return real_->Read(buffer, std::min(size, owner_.readChunk));
        }

    private:
        FaultyFileSystem& owner_;
        std::filesystem::path path_;
        std::unique_ptr<InputFile> real_;
    };

    class Output final : public OutputFile {
    public:
        Output(FaultyFileSystem& owner, std::filesystem::path path,
               std::unique_ptr<OutputFile> real)
            : owner_(owner), path_(std::move(path)), real_(std::move(real)) {}
        std::uint64_t SizeAtOpen() const override { return real_->SizeAtOpen(); }
        void Write(const char* data, std::size_t size) override {
            if (size > owner_.writableBytes) {
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

TEST_F(RunFailuresTest, PlainFileWhereTheResultsFolderBelongs) {
    WriteFile(results, "not a folder");
    WriteFile(input, "a\r\nb\r\n");
    host.Run();
    ExpectOneError(kCannotWriteOutput, OutputPath(1));
    EXPECT_EQ(host.Total(), 0);
    EXPECT_EQ(ReadFile(results), "not a folder");
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
    EXPECT_EQ(ReadFile(OutputPath(1)), "\xEF\xBB\xBF" "a\r\nb\r\n");

    std::filesystem::remove_all(results);
    faulty.readChunk = 3;
    WriteFile(input, "\xFF\xFE" + Utf16LE(u" 中a \r\nb\u0D20 ") + "\x41");
    host.Run();
    EXPECT_EQ(ReadFile(OutputPath(1)),
              "\xFF\xFE" + Utf16LE(u"中a\r\nb\u0D20 ") + "\x41" + Utf16LE(u"\r\n"));
    EXPECT_EQ(host.Total(), 4);
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

TEST_F(RunFailuresTest, InputLinkedToAnOutputIsNeverWrittenNorDeleted) {
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
    ExpectOneError(kInputIsOutput, OutputPath(2));
    EXPECT_EQ(ReadFile(input), "a\r\nb\r\nc\r\n");
    EXPECT_TRUE(std::filesystem::exists(results / U8("输入-2026-12-07.txt")));
    EXPECT_EQ(ReadFile(OutputPath(1)), "a\r\n");
    EXPECT_EQ(host.Total(), 1);
}

}  // namespace
}  // namespace quenlo::test
