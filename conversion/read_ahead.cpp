#include "conversion/read_ahead.h"

#include <cstring>

namespace quenlo {

ReadAhead::ReadAhead(std::shared_ptr<InputFile> input, std::size_t blockSize, StopWait stopWait)
    : shared_(std::make_shared<Shared>()), stopWait_(std::move(stopWait)) {
    shared_->input = std::move(input);
    shared_->blockSize = blockSize;
    for (Slot& slot : shared_->slots) {
        slot.bytes.reset(new char[blockSize + 1]);  // 1: room for a carried byte
    }
    reader_ = std::thread([shared = shared_] { shared->ReadAll(); });
}

namespace {

// How often a wait for the input asks whether to give up: well within the tenth of
// a second in which a stop must take effect.
constexpr auto kWaitSlice = std::chrono::milliseconds(10);

}  // namespace

ReadAhead::~ReadAhead() {
    StopReading();
    std::unique_lock<std::mutex> lock(shared_->mutex);
    const bool done = shared_->readerDone;
    lock.unlock();
    // A read left behind ends on its own time; the process must not wait for it.
    if (done) {
        reader_.join();
    } else {
        reader_.detach();
    }
}

void ReadAhead::StopReading() {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->stopping = true;
    shared_->changed.notify_all();
    CancelUntil(lock, [] { return false; });
}

void ReadAhead::CancelUntil(std::unique_lock<std::mutex>& lock, const std::function<bool()>& done) {
    Shared& shared = *shared_;
    const auto now = [this] {
        return stopWait_.clock ? stopWait_.clock() : std::chrono::steady_clock::now();
    };
    if (!firstCancel_) {
        firstCancel_ = now();
    }
    // A cancel may come just before the reader enters its read: ask until it is out.
    while (!done() && !shared.readerDone && !leftBehind_) {
        shared.input->CancelRead();
        if (shared.changed.wait_for(lock, kWaitSlice,
                                    [&] { return done() || shared.readerDone; })) {
            break;
        }
        // The window's thread waits here: it keeps answering, also the end of the
        // session, which may close the output meanwhile.
        lock.unlock();
        if (stopWait_.keepLive) {
            stopWait_.keepLive();
        }
        const auto time = now();
        lock.lock();
        leftBehind_ = time - *firstCancel_ >= stopWait_.patience;
    }
}

std::optional<ReadAhead::Block> ReadAhead::Next(const std::function<bool()>& giveUp) {
    Shared& shared = *shared_;
    if (ended_) {
        return Block{shared.slots[0].bytes.get() + 1, 0};
    }
    std::unique_lock<std::mutex> lock(shared.mutex);
    if (held_ >= 0) {
        shared.slots[held_].filled = false;
        shared.changed.notify_all();
    }
    held_ = held_ < 0 ? 0 : 1 - held_;
    Slot& slot = shared.slots[held_];
    while (!shared.changed.wait_for(lock, kWaitSlice, [&] { return slot.filled; })) {
        lock.unlock();
        const bool stop = giveUp();
        lock.lock();
        if (stop && !slot.filled) {
            CancelUntil(lock, [&] { return slot.filled; });
            break;
        }
    }
    // Cancelled, now or by an earlier give-up, or left behind: reading ends, with no
    // end seen.
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

// The reader thread: fills the two slots in turn until the end of the input, a
// failed read, or the splitter stops.
void ReadAhead::Shared::ReadAll() {
    struct Done {
        Shared& self;
        ~Done() {
            std::lock_guard<std::mutex> lock(self.mutex);
            self.readerDone = true;
            self.changed.notify_all();
        }
    } done{*this};
    bool first = true;
    for (int i = 0;; i = 1 - i) {
        Slot& slot = slots[i];
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return stopping || !slot.filled; });
            if (stopping) {
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
            std::lock_guard<std::mutex> lock(mutex);
            if (stopping) {
                return;  // a cancelled read: its end is no end of the input
            }
            slot.size = size;
            slot.error = error;
            slot.cancelled = cancelled;
            slot.filled = true;
        }
        changed.notify_all();
        if (size == 0 || error || cancelled) {
            return;
        }
    }
}

std::size_t ReadAhead::Shared::Fill(Slot& slot, bool first) {
    char* const data = slot.bytes.get() + 1;
    std::size_t size = input->Read(data, blockSize);
    if (!first) {
        return size;
    }
    // A pipe or a share may deliver the head of a byte-order mark on its own, or a
    // first line in pieces; but the first block also decides whether LF alone ends a
    // line, so it holds a line end too, unless the input ends first.
    bool lineEnd = false;
    std::size_t seen = 0;
    while (size > 0 && size < blockSize) {
        lineEnd = lineEnd || std::memchr(data + seen, '\n', size - seen) ||
                  std::memchr(data + seen, '\r', size - seen);
        if (size >= 3 && lineEnd) {
            break;
        }
        seen = size;
        const std::size_t more = input->Read(data + size, blockSize - size);
        if (more == 0) {
            break;
        }
        size += more;
    }
    return size;
}

}  // namespace quenlo
