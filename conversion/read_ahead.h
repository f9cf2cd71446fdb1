// Reads the input one block ahead on a second thread, so that the system's copying
// of the next block overlaps the splitting of this one.
#pragma once

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

    // Starts reading at once. The first block holds at least 3 bytes and a CR or LF
    // byte unless the input is shorter or the block full: enough to recognise a
    // byte-order mark and how lines end.
    ReadAhead(InputFile& input, std::size_t blockSize);
    // Waits for a read in progress, then stops.
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

    void ReadAll();
    std::size_t Fill(Slot& slot, bool first);
    // Cancels the read of slot until it is filled or the reader has ended; the lock
    // is held.
    void CancelUnderWay(std::unique_lock<std::mutex>& lock, const Slot& slot);
    // Ends the reader thread, also from within a read that waits for ever.
    void StopReading();

    InputFile& input_;
    std::size_t blockSize_;
    Slot slots_[2];
    int held_ = -1;  // the slot the splitter works on
    bool ended_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool stopping_ = false;
    bool readerDone_ = false;
    std::thread reader_;
};

}  // namespace quenlo
