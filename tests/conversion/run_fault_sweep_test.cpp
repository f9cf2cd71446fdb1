// Every file call of a run failing in turn, and a stop at every pump. Whatever ends a
// run: the earlier files of the day keep their bytes, the files hold exactly the
// lines counted, whole and in order, nothing outside the results folder changes, and
// the run says truly how it ended.
#include "conversion/run_conversion.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <map>
#include <thread>
#include <tuple>
#include <utility>

#include <gtest/gtest.h>

#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "test_support.h"

namespace quenlo::test {
namespace {

constexpr CalendarDate kDay{2026, 12, 7};
using Path = std::filesystem::path;
using Folder = std::filesystem::directory_iterator;
// The job's file calls by kind (truncations come only after a fault), and a stop or the
// session's end at a pump.
enum Call {
    kOpenInput,
    kOpenOutput,
    kCreateFolder,
    kRead,
    kWrite,
    kClose,
    kIdentity,
    kStop,
    kEndSession
};
// A chosen read may instead come back short, or find the input cut there by another
// program: odd byte counts, so that 16-bit units are cut in two.
enum Fault { kError, kShortRead, kCut };
constexpr std::string_view kInjected = "injected failure";

// The platform's file system with every call counted by kind and the nth of one kind
// failing (0: none).
class FaultingFiles final : public ForwardingFileSystem {
public:
    std::array<int, kStop> calls{};
    int call = kRead, nth = 0;
    Fault fault = kError;
    bool struck = false;
    Path struckFile;
    std::uint64_t bytesBefore = 0;  // of the input, before the struck read
    // When set, the first read waits for it: the run pumps while it waits.
    const std::atomic<bool>* firstReadWaitsFor = nullptr;

    // Counts the call; when it is the chosen one, throws if `raise`, else says so.
    bool Strike(int kind, const Path& file, bool raise = true) {
        if (++calls[kind] != nth || kind != call) {
            return false;
        }
        struck = true;
        struckFile = file;
        return !raise || Fail(file);
    }
    [[noreturn]] static bool Fail(const Path& file) {
        throw FileError(file, std::string(kInjected));
    }
    std::unique_ptr<InputFile> OpenForReading(const Path& file) override {
        Strike(kOpenInput, file);
        return std::make_unique<Input>(*this, file);
    }
    std::unique_ptr<OutputFile> OpenForAppending(const Path& file) override {
        Strike(kOpenOutput, file);
        return std::make_unique<Output>(*this, file);
    }
    void CreateFolder(const Path& folder) override {
        Strike(kCreateFolder, folder);
        NativeFiles().CreateFolder(folder);
    }
    std::optional<FileIdentity> Identity(const Path& file) override {
        return Strike(kIdentity, file, false) ? std::nullopt : NativeFiles().Identity(file);
    }

private:
    struct Input final : ForwardingInput {
        Input(FaultingFiles& owner, const Path& path)
            : ForwardingInput(NativeFiles().OpenForReading(path)), fs(owner), file(path) {}
        std::size_t Read(char* buffer, std::size_t size) override {
            while (read == 0 && fs.firstReadWaitsFor && !*fs.firstReadWaitsFor) {
                std::this_thread::yield();
            }
            if (fs.Strike(kRead, file, false)) {
                fs.bytesBefore = read;
                if (fs.fault == kError) {
                    Fail(file);
                }
                const std::uint64_t cut =
                    read + (std::min<std::uint64_t>(size, length - read) / 2 | 1);
                if (fs.fault == kShortRead) {
                    size = size / 2 | 1;
                } else if ((fs.struck = cut < length)) {  // nothing to cut at the end
                    std::filesystem::resize_file(file, fs.bytesBefore = cut);
                }
            }
            const std::size_t n = ForwardingInput::Read(buffer, size);
            read += n;
            return n;
        }
        std::optional<FileIdentity> Identity() const override {
            return fs.Strike(kIdentity, file, false) ? std::nullopt : ForwardingInput::Identity();
        }
        std::optional<std::uint64_t> Length() const override { return length; }
        FaultingFiles& fs;
        Path file;
        std::uint64_t length = std::filesystem::file_size(file), read = 0;
    };
    struct Output final : OutputFile {
        Output(FaultingFiles& owner, const Path& path) : fs(owner), file(path) {}
        std::uint64_t SizeAtOpen() const override { return real->SizeAtOpen(); }
        std::string LastBytesAtOpen() const override { return real->LastBytesAtOpen(); }
        void Write(const char* data, std::size_t size) override {
            const bool fails = fs.Strike(kWrite, file, false);
            real->Write(data, fails ? size / 2 : size);  // as a full disk: part, then the error
            if (fails) {
                Fail(file);
            }
        }
        void Truncate(std::uint64_t size) override { real->Truncate(size); }
        void Close() override {
            real->Close();
            fs.Strike(kClose, file);
        }
        FaultingFiles& fs;
        Path file;
        std::unique_ptr<OutputFile> real = NativeFiles().OpenForAppending(file);
    };
};

struct Scenario {
    const char* name;
    std::string input;
    int linesPerFile;
    std::map<std::int64_t, std::string> earlier;  // files of the day there before the run
};

std::string Numbered(const char* format, int first, int last) {
    std::string text;
    char line[64];
    for (int i = first; i <= last; ++i) {
        text.append(line, static_cast<std::size_t>(std::snprintf(line, 64, format, i)));
    }
    return text;
}

std::vector<Scenario> Scenarios() {
    std::string padded;
    std::u16string wide;
    for (int i = 1; i <= 40; ++i) {
        padded += std::string(i % 3 == 0 ? 2 : 0, ' ') + "row " + std::to_string(i) +
                  (i % 7 ? "" : "  in  ") + std::string(i % 4 == 0 ? 3 : 0, ' ') + "\r\n";
        wide += u" 中文 " + std::u16string(static_cast<std::size_t>(i % 5), u'x') + u" \r\n";
    }
    return {
        {"CR LF, spaces at the ends", padded + "   \r\n", 30000, {}},
        // Its first line is longer than half a block: a short first read sees no LF.
        {"LF only", Numbered("a line that ends in LF alone, number %03d\n", 1, 20), 30000, {}},
        // An old file whose last byte is an LF byte, but not its last unit.
        {"UTF-16 LE with its mark", "\xFF\xFE" + Utf16LE(wide), 10, {{3, Utf16LE(u"旧\u0A0D")}}},
        {"lines longer than a block, after a file's old line without CR LF",
         "first\r\n  " + std::string(300, 'x') + std::string(100, ' ') + std::string(200, 'y') +
             "  \r\nafter\r\n" + std::string(250, 'z') + "\r\nlast",
         30000,
         {{1, "old 1\r\nold 2"}}},
        // 16-byte lines fill blocks exactly; then a line whose CR ends a block and
        // whose LF begins the next.
        {"lines ending at block edges",
         Numbered("L%013d\r\n", 1, 10) + Numbered(" L%011d \r\n", 11, 20) + std::string(63, 'e') +
             "\r\n" + Numbered("L%013d\r\n", 21, 30),
         7,
         {{2, "second old\r\n"}}},
        {"files rolling over, UTF-8 mark",
         "\xEF\xBB\xBF" + Numbered(" r%d\r\n", 1, 14),
         3,
         {{1, "old one\r\n"}, {2, "old two"}}},
    };
}

// The line rules applied plainly, a unit at a time: the mark, and each line as
// written. A last line without its end counts only if the input ends there for good.
struct Model {
    std::size_t unit;
    std::string mark, space, cr, lf;
    std::vector<std::string> lines;

    // What comes before a file's first new line: the mark in a new file; after old
    // text that ends within a line, a line end.
    std::string Start(const std::string& old) const {
        return old.empty() ? mark : old.ends_with(cr) || old.ends_with(lf) ? old : old + cr + lf;
    }

    explicit Model(const std::string& in, bool whole = true)
        : unit(in.starts_with("\xFF\xFE") ? 2 : 1),
          mark(in.substr(0, unit == 2                        ? 2
                            : in.starts_with("\xEF\xBB\xBF") ? 3
                                                             : 0)),
          space(" \0", unit),
          cr("\r\0", unit),
          lf("\n\0", unit) {
        const bool lineFeedEnds = in.find('\r') == std::string::npos;
        std::string line;
        const auto end = [&] {
            while (line.starts_with(space)) {
                line.erase(0, unit);
            }
            while (line.ends_with(space)) {
                line.erase(line.size() - unit);
            }
            lines.push_back(std::exchange(line, {}) + cr + lf);
        };
        for (std::size_t i = mark.size(); i + unit <= in.size(); i += unit) {
            const std::string c = in.substr(i, unit);
            if (c == cr || (c == lf && lineFeedEnds)) {
                end();
                i += c == cr && in.compare(i + unit, unit, lf) == 0 ? unit : 0;
            } else {
                line += c;
            }
        }
        if (whole && !line.empty()) {
            end();
        }
    }
};

enum class Outcome { Done, Stopped, Failed };
// How often the run pumps: after every line; on a clock that ticks at every look, so
// that lines wait in the buffer a while and long lines are pumped inside; never (the
// clock stands still), so that lines wait in the buffer to the end.
enum Cadence { kEveryLine, kTicking, kNever };

class FaultSweepTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    Path results = scratch.path() / U8("转换结果");
    Path input = scratch.path() / U8("输入.txt");
    Path bystander = scratch.path() / U8("旁边.txt");
    FakeHost host{input, results};
    FaultingFiles files;
    std::vector<std::int64_t> endedWithin;  // lines ended within the first n bytes
    std::atomic<bool> pumped;
    int runs = 0;

    void SetUp() override { WriteFile(bystander, "not the job's"); }

    static std::map<std::string, std::string> Contents(const Path& folder) {
        std::map<std::string, std::string> contents;
        for (const auto& entry : Folder(folder)) {
            contents[Utf8(entry.path().filename())] = ReadFile(entry.path());
        }
        return contents;
    }

    // Each file: its old bytes and its start, then its share of the first `total` lines.
    // A file begun for a line not counted holds its old bytes, with or without that
    // start; while the run goes on, the file of the next line may hold part of it too.
    void CheckFiles(const Scenario& s, const Model& model, std::int64_t total, bool running) {
        std::map<std::string, std::string> old, want;
        for (const auto& [n, bytes] : s.earlier) {
            old[OutputFileName(n, kDay)] = bytes;
        }
        for (std::int64_t i = 0; i < total; ++i) {
            const std::string name = OutputFileName(1 + i / s.linesPerFile, kDay);
            want.try_emplace(name, model.Start(old[name])).first->second +=
                model.lines[std::size_t(i)];
        }
        const std::string next = running && total < std::ssize(model.lines)
                                     ? OutputFileName(1 + total / s.linesPerFile, kDay)
                                     : "";
        for (const auto& [name, bytes] : Contents(results)) {
            const auto wanted = want.find(name);
            const std::string whole = wanted != want.end() ? wanted->second : "";
            const auto begunWith = [&](const std::string& head) {
                return bytes.starts_with(head) && name == next &&
                       model.lines[std::size_t(total)].starts_with(bytes.substr(head.size())) &&
                       bytes.size() - head.size() < model.lines[std::size_t(total)].size();
            };
            EXPECT_TRUE(wanted != want.end()
                            ? bytes == whole || begunWith(whole)
                            : IsOutputFileName(name) &&
                                  (bytes == old[name] || bytes == model.Start(old[name]) ||
                                   begunWith(model.Start(old[name]))))
                << name << " holds\n"
                << bytes;
            want.erase(name);
            old.erase(name);
        }
        EXPECT_TRUE(want.empty() && old.empty()) << "a file is missing";
    }

    // Runs with the nth call of one kind failing, or a stop or a session end at the nth
    // pump, and checks what every run must leave. A session end closes the output from
    // within the pump; `failInClose` names the kind of file call that then fails first.
    void Sweep(const Scenario& s, const Model& model, Cadence cadence, int call, int nth,
               Fault fault = kError, int failInClose = -1) {
        std::filesystem::remove_all(results);
        std::filesystem::create_directory(results);
        for (const auto& [n, bytes] : s.earlier) {
            WriteFile(results / U8(OutputFileName(n, kDay)), bytes);
        }
        WriteFile(input, s.input);
        host = FakeHost(input, results);
        host.files = &files;
        host.linesPerFile = std::to_string(s.linesPerFile);
        files = FaultingFiles();
        std::tie(files.call, files.nth, files.fault) = std::tuple(call, nth, fault);
        pumped = false;
        files.firstReadWaitsFor = cadence == kNever ? nullptr : &pumped;
        long long shown = -1;  // the count when the stop was asked for, or the output closed
        std::map<std::string, std::string> closed;  // the files the session end left
        host.onPump = [&](FakeHost& h) {
            pumped = true;
            // Both halves of the count rule: the files hold the lines counted, and the
            // count takes in every line ended before the block in hand.
            const std::uint64_t read = std::min<std::uint64_t>(h.bytesRead, s.input.size());
            EXPECT_LE(h.Total(), endedWithin[read]) << "at pump " << h.pumps;
            EXPECT_GE(h.Total(), endedWithin[read - std::min<std::uint64_t>(read, 65)])
                << "at pump " << h.pumps;
            CheckFiles(s, model, h.Total(), true);
            if (call == kStop && h.pumps == nth) {
                h.stopRequested = true;
                shown = h.Total();
            } else if (call == kEndSession && h.pumps == nth) {
                if (failInClose >= 0) {
                    std::tie(files.call, files.nth) =
                        std::tuple(failInClose, files.calls[std::size_t(failInClose)] + 1);
                }
                h.running->CloseOutputNow();
                shown = h.Total();
                CheckFiles(s, model, shown, false);
                closed = Contents(results);
            }
        };
        RunOptions options{std::chrono::milliseconds(cadence == kEveryLine ? 0 : 15)};
        options.clock = [cadence, now = std::chrono::steady_clock::time_point{}]() mutable {
            return now += std::chrono::milliseconds(cadence == kTicking ? 4 : 0);
        };
        options.blockSize = 64;
        host.Run(options);
        ++runs;

        const std::int64_t total = host.Total(), lines = std::ssize(model.lines);
        ASSERT_LE(host.messages.size(), 1u);
        const Outcome ended = host.messages.empty()                    ? Outcome::Stopped
                              : host.messages[0].text == kFinishedText ? Outcome::Done
                                                                       : Outcome::Failed;
        const bool cut = fault == kCut && files.struck;
        const bool fails = files.struck && fault != kShortRead && files.call != kIdentity;
        EXPECT_LE(total, lines);
        EXPECT_TRUE(ended != Outcome::Done || total == lines) << "done early";
        if (fails) {
            EXPECT_EQ(ended, Outcome::Failed);
            ASSERT_EQ(host.messages.size(), 1u);
            const std::string reason(cut ? kInputShrank : kInjected);
            const std::string_view what = files.call == kOpenInput      ? kCannotOpenInput
                                          : files.call == kRead         ? kCannotReadInput
                                          : files.call == kCreateFolder ? kCannotCreateFolder
                                                                        : kCannotWriteOutput;
            EXPECT_EQ(host.messages[0].text,
                      std::string(what) + "「" + Utf8(files.struckFile) + "」：" + reason);
            EXPECT_EQ(host.messages[0].title, kErrorTitle);
            if (call == kRead) {  // every line read whole before the failure is kept
                EXPECT_EQ(total,
                          std::ssize(Model(s.input.substr(0, files.bytesBefore), false).lines));
            }
        } else if (shown >= 0) {
            EXPECT_NE(ended, Outcome::Failed);
            EXPECT_EQ(total, shown);
        } else {  // the untouched run may have had one more pump, while its reader was late
            EXPECT_EQ(ended, Outcome::Done);
        }
        if (call == kEndSession && shown >= 0) {
            EXPECT_TRUE(Contents(results) == closed) << "written after the session end";
        }
        CheckFiles(s, model, total, false);
        // Outside the results folder: the input (unless another program cut it) and
        // its neighbour, nothing more.
        EXPECT_EQ(std::distance(Folder(scratch.path()), Folder()), 3);
        EXPECT_EQ(ReadFile(bystander), "not the job's");
        EXPECT_TRUE(ReadFile(input) == s.input.substr(0, cut ? files.bytesBefore : s.input.size()));
    }
};

TEST_F(FaultSweepTest, EveryFileCallFailingInTurnAndEveryStopLoseNothing) {
    for (const Scenario& s : Scenarios()) {
        const Model model(s.input);
        endedWithin.clear();
        for (std::size_t n = 0; n <= s.input.size(); ++n) {
            endedWithin.push_back(std::ssize(Model(s.input.substr(0, n), false).lines));
        }
        endedWithin.back() = std::ssize(model.lines);  // the last line ends with the input
        for (const Cadence cadence : {kEveryLine, kTicking, kNever}) {
            SCOPED_TRACE(std::string(s.name) + ", cadence " + std::to_string(cadence));
            ASSERT_NO_FATAL_FAILURE(Sweep(s, model, cadence, kRead, 0));
            ASSERT_FALSE(HasFailure());
            const auto calls = files.calls;
            const int pumps = cadence == kNever ? 0 : host.pumps;
            for (int call = 0; call <= kEndSession; ++call) {
                const int count = call >= kStop ? pumps : calls[std::size_t(call)];
                for (int k = 1; k <= count; ++k) {
                    // Reads also come back short or cut; a session end closes cleanly, or
                    // with its write or its close failing.
                    const bool read = call == kRead, end = call == kEndSession;
                    for (int variant = 0; variant < (read || end ? 3 : 1); ++variant) {
                        SCOPED_TRACE("call kind " + std::to_string(call) + " #" +
                                     std::to_string(k) + " variant " + std::to_string(variant));
                        const std::array<int, 3> inClose{-1, kWrite, kClose};
                        Sweep(s, model, cadence, call, k, read ? Fault(variant) : kError,
                              end ? inClose[std::size_t(variant)] : -1);
                        ASSERT_FALSE(HasFailure());
                    }
                }
            }
        }
    }
    EXPECT_GT(runs, 800);
}

}  // namespace
}  // namespace quenlo::test
