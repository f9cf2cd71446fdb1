// Reads the input one block ahead on a second thread, so that the system's copying
// of the next block overlaps the splitting of this one.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "conversion/conversion_host.h"

namespace quenlo {

class ReadAhead {
public:
    struct Block {
        char* data;        // data[-1] is free for a byte carried over from the block before
        std::size_t size;  // 0 at the end of the input
    };

    // How a stop waits for a read it has cancelled. Not every read can be cancelled
    // (a share whose server has gone, on a system that cannot cancel there), and the
    // waiting thread may be a window's, which must stay live.
    struct StopWait {
        // Called every few milliseconds while the stop waits: the window takes its
        // messages there. Must not throw.
        std::function<void()> keepLive;
        // A read that has not let go this long after the first cancel is left behind:
        // its thread goes on alone, owning what it reads into, and closes the input
        // once the read returns.
        std::chrono::milliseconds patience{2000};
        // The clock the patience is measured on; empty: the steady clock.
        std::function<std::chrono::steady_clock::time_point()> clock;
    };

    // Starts reading at once. The first block holds at least 3 bytes and a CR or LF
    // byte unless the input is shorter or the block full: enough to recognise a
    // byte-order mark and how lines end.
    ReadAhead(std::shared_ptr<InputFile> input, std::size_t blockSize, StopWait stopWait);
    // Cancels a read in progress and waits for it, as a stop does.
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // Hands back the block returned before (it will be overwritten) and waits for the
    // next. Throws what the read of that block threw; blocks before it arrive first.
    // After the end, or a failure, every call gives an empty block.
    //
    // The input may keep us waiting for ever (a pipe whose writer stalls, a lost
    // share): while the block is not there, giveUp is asked every few milliseconds,
    // and when it says so the read under way is cancelled. Cancelled, Next returns
    // nothing and reading ends there; a read that completed first still gives its
    // block.
    std::optional<Block> Next(const std::function<bool()>& giveUp);

private:
    struct Slot {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0;
        std::exception_ptr error;
        bool filled = false;
        bool cancelled = false;  // the read was cancelled: no block, no end
    };
    // Everything the reader thread touches: it may outlive this object.
    struct Shared {
        std::shared_ptr<InputFile> input;
        std::size_t blockSize = 0;
        Slot slots[2];
        std::mutex mutex;
        std::condition_variable changed;
        bool stopping = false;
        bool readerDone = false;

        void ReadAll();
        std::size_t Fill(Slot& slot, bool first);
    };

    // Cancels the read under way until done() holds, the reader has ended or its read
    // has been left behind; the lock is held.
    void CancelUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& done);
    // Ends the reader thread, also from within a read that waits for ever.
    void StopReading();

    std::shared_ptr<Shared> shared_;
    StopWait stopWait_;
    int held_ = -1;  // the slot the splitter works on
    bool ended_ = false;
    std::optional<std::chrono::steady_clock::time_point> firstCancel_;  // of this stop
    bool leftBehind_ = false;
    std::thread reader_;
};

}  // namespace quenlo
