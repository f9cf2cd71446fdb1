// An input that keeps the run waiting (a pipe whose writer stalls, a share that
// hangs): the window stays live, a stop takes effect there, and the files hold
// exactly the counted lines.
#include "conversion/run_conversion.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

#include <gtest/gtest.h>

#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "test_support.h"

namespace quenlo::test {
namespace {

// Gives what it holds, then waits in its next read until the read is cancelled
// (or, should a run never cancel it, for ten seconds, then gives the rest).
class StallingFiles final : public ForwardingFileSystem {
public:
    std::string before;  // delivered at once
    std::string after;   // only after the stall

    std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) override {
        return std::make_unique<Input>(*this, NativeFiles().OpenForReading(file));
    }

    bool Cancelled() {
        std::lock_guard<std::mutex> lock(mutex_);
        return cancelled_;
    }

private:
    class Input final : public ForwardingInput {
    public:
        Input(StallingFiles& owner, std::unique_ptr<InputFile> real)
            : ForwardingInput(std::move(real)), owner_(owner) {}
        std::size_t Read(char* buffer, std::size_t size) override {
            if (owner_.before.empty() && !stalled_) {
                stalled_ = true;
                std::unique_lock<std::mutex> lock(owner_.mutex_);
                if (owner_.changed_.wait_for(lock, std::chrono::seconds(10),
                                             [&] { return owner_.cancelled_; })) {
                    return 0;
                }
            }
            std::string& source = owner_.before.empty() ? owner_.after : owner_.before;
            const std::size_t n = std::min(size, source.size());
            source.copy(buffer, n);
            source.erase(0, n);
            return n;
        }
        void CancelRead() override {
            std::lock_guard<std::mutex> lock(owner_.mutex_);
            owner_.cancelled_ = true;
            owner_.changed_.notify_all();
        }

    private:
        StallingFiles& owner_;
        bool stalled_ = false;
    };

    std::mutex mutex_;
    std::condition_variable changed_;
    bool cancelled_ = false;
};

class RunStallTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    std::filesystem::path results = scratch.path() / U8("转换结果");
    std::filesystem::path input = scratch.path() / U8("管道.txt");
    FakeHost host{input, results};
    StallingFiles stalling;

    void SetUp() override {
        WriteFile(input, "");
        host.files = &stalling;
    }
    std::string Output(std::int64_t n) {
        return ReadFile(results / U8(OutputFileName(n, host.today)));
    }
};

TEST_F(RunStallTest, StopWhileTheInputStallsWithinALineKeepsTheCountedLinesOnly) {
    stalling.before = "a\r\nb\r\nhalf a li";
    stalling.after = "ne\r\nc\r\n";
    // File 1 at every pump once both whole lines are counted: the run then waits.
    std::vector<std::string> seen;
    host.onPump = [&](FakeHost& h) {
        if (h.Total() < 2) {
            return;  // a slow first read pumps before any file exists
        }
        seen.push_back(Output(1));
        // A stop comes while the run waits: the window was kept live meanwhile.
        h.stopRequested = seen.size() == 2;
    };
    host.Run(RunOptions{std::chrono::milliseconds(1)});
    EXPECT_TRUE(stalling.Cancelled());
    EXPECT_TRUE(host.messages.empty());  // a stop: no message
    EXPECT_EQ(Output(1), "a\r\nb\r\n");
    EXPECT_EQ(host.Total(), 2);
    // While waiting, the file held the whole lines counted and no piece of the next.
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0], "a\r\nb\r\n");
    EXPECT_EQ(seen[1], "a\r\nb\r\n");
}

TEST_F(RunStallTest, StopWhileWaitingForTheFirstBytesEndsQuietly) {
    stalling.after = "never\r\n";
    host.onPump = [](FakeHost& h) { h.stopRequested = true; };
    host.Run(RunOptions{std::chrono::milliseconds(1)});
    EXPECT_TRUE(stalling.Cancelled());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.Total(), 0);
    EXPECT_TRUE(std::filesystem::is_empty(results));
}

TEST_F(RunStallTest, StopSeenAtTheEndOfALineDoesNotWaitForTheInput) {
    // The stop comes at a pump after whole lines; whether more input follows is
    // not known while the writer stalls, so the run ends as stopped at once.
    stalling.before = "a\r\nb\r\n";
    stalling.after = "c\r\n";
    host.onPump = [](FakeHost& h) { h.stopRequested = h.Total() == 2; };
    host.Run();
    EXPECT_TRUE(stalling.Cancelled());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(Output(1), "a\r\nb\r\n");
}

}  // namespace
}  // namespace quenlo::test
