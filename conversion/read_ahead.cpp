#include "conversion/read_ahead.h"

#include <cstring>

namespace quenlo {

ReadAhead::ReadAhead(InputFile& input, std::size_t blockSize)
    : input_(input), blockSize_(blockSize) {
    for (Slot& slot : slots_) {
        slot.bytes.reset(new char[blockSize + 1]);  // 1: room for a carried byte
    }
    reader_ = std::thread([this] { ReadAll(); });
}

namespace {

// How often a wait for the input asks whether to give up: well within the tenth of
// a second in which a stop must take effect.
constexpr auto kWaitSlice = std::chrono::milliseconds(10);

}  // namespace

ReadAhead::~ReadAhead() {
    StopReading();
    reader_.join();
}

void ReadAhead::StopReading() {
    std::unique_lock<std::mutex> lock(mutex_);
    stopping_ = true;
    changed_.notify_all();
    // A cancel may come just before the reader enters its read: ask until it is out.
    while (!readerDone_) {
        input_.CancelRead();
        changed_.wait_for(lock, kWaitSlice, [&] { return readerDone_; });
    }
}

std::optional<ReadAhead::Block> ReadAhead::Next(const std::function<bool()>& giveUp) {
    if (ended_) {
        return Block{slots_[0].bytes.get() + 1, 0};
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (held_ >= 0) {
        slots_[held_].filled = false;
        changed_.notify_all();
    }
    held_ = held_ < 0 ? 0 : 1 - held_;
    Slot& slot = slots_[held_];
    while (!changed_.wait_for(lock, kWaitSlice, [&] { return slot.filled; })) {
        lock.unlock();
        const bool stop = giveUp();
        lock.lock();
        if (stop && !slot.filled) {
            CancelUnderWay(lock, slot);
            break;
        }
    }
    // Cancelled, now or by an earlier give-up: reading ends, with no end seen.
    if (!slot.filled || slot.cancelled) {
        ended_ = true;
        lock.unlock();
        StopReading();
        return std::nullopt;
    }
    ended_ = slot.size == 0 || slot.error;
    if (slot.error) {
        std::rethrow_exception(slot.error);
    }
    return Block{slot.bytes.get() + 1, slot.size};
}

void ReadAhead::CancelUnderWay(std::unique_lock<std::mutex>& lock, const Slot& slot) {
    // As in StopReading: the reader may enter its read just after a cancel.
    while (!slot.filled && !readerDone_) {
        input_.CancelRead();
        changed_.wait_for(lock, kWaitSlice, [&] { return slot.filled || readerDone_; });
    }
}

// The reader thread: fills the two slots in turn until the end of the input, a
// failed read, or the splitter stops.
void ReadAhead::ReadAll() {
    struct Done {
        ReadAhead& self;
        ~Done() {
            std::lock_guard<std::mutex> lock(self.mutex_);
            self.readerDone_ = true;
            self.changed_.notify_all();
        }
    } done{*this};
    bool first = true;
    for (int i = 0;; i = 1 - i) {
        Slot& slot = slots_[i];
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || !slot.filled; });
            if (stopping_) {
                return;
            }
        }
        std::size_t size = 0;
        std::exception_ptr error;
        bool cancelled = false;
        try {
            size = Fill(slot, first);
            first = false;
        } catch (const ReadCancelled&) {
            cancelled = true;
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) {
                return;  // a cancelled read: its end is no end of the input
            }
            slot.size = size;
            slot.error = error;
            slot.cancelled = cancelled;
            slot.filled = true;
        }
        changed_.notify_all();
        if (size == 0 || error || cancelled) {
            return;
        }
    }
}

std::size_t ReadAhead::Fill(Slot& slot, bool first) {
    char* const data = slot.bytes.get() + 1;
    std::size_t size = input_.Read(data, blockSize_);
    if (!first) {
        return size;
    }
    // A pipe or a share may deliver the head of a byte-order mark on its own, or a
    // first line in pieces; but the first block also decides whether LF alone ends a
    // line, so it holds a line end too, unless the input ends first.
    bool lineEnd = false;
    std::size_t seen = 0;
    while (size > 0 && size < blockSize_) {
        lineEnd = lineEnd || std::memchr(data + seen, '\n', size - seen) ||
                  std::memchr(data + seen, '\r', size - seen);
        if (size >= 3 && lineEnd) {
            break;
        }
        seen = size;
        const std::size_t more = input_.Read(data + size, blockSize_ - size);
        if (more == 0) {
            break;
        }
        size += more;
    }
    return size;
}

}  // namespace quenlo
