// Every file call of a run failing in turn, and a stop at every pump. Whatever ends a
// run: the earlier files of the day keep their bytes, the files hold exactly the
// lines counted, whole and in order, nothing outside the results folder changes, and
// the run says truly how it ended.
#include "conversion/run_conversion.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include <gtest/gtest.h>

#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "test_support.h"

namespace quenlo::test {
namespace {

constexpr CalendarDate kDay{2026, 12, 7};
using Fault = FaultingFileSystem::Fault;

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
        text += std::string(line, static_cast<std::size_t>(std::snprintf(line, 64, format, i)));
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
        {"UTF-16 LE with its mark", "\xFF\xFE" + Utf16LE(wide), 10, {}},
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

// The line rules applied plainly to the whole input, a unit at a time: each line as
// written, and the input offset just past the unit that ends it.
struct Model {
    std::string mark;
    std::vector<std::string> lines;
    std::vector<std::uint64_t> ends;

    explicit Model(const std::string& in) {
        const std::size_t unit = in.starts_with("\xFF\xFE") ? 2 : 1;
        mark = in.substr(0, unit == 2 ? 2 : in.starts_with("\xEF\xBB\xBF") ? 3 : 0);
        const auto code = [&](std::size_t i) {
            return static_cast<unsigned char>(in[i]) |
                   (unit == 2 ? static_cast<unsigned char>(in[i + 1]) << 8 : 0);
        };
        const std::string space = std::string(" \0", unit);
        std::string line;
        const auto end = [&](std::uint64_t after) {
            while (line.starts_with(space)) {
                line.erase(0, unit);
            }
            while (line.ends_with(space)) {
                line.erase(line.size() - unit);
            }
            lines.push_back(line + (unit == 1 ? std::string("\r\n") : std::string("\r\0\n\0", 4)));
            ends.push_back(after);
            line.clear();
        };
        const bool lineFeedEnds = in.find('\r') == std::string::npos;  // and LF is there
        for (std::size_t i = mark.size(); i + unit <= in.size(); i += unit) {
            if (code(i) == '\r' || (code(i) == '\n' && lineFeedEnds)) {
                end(i + unit);
                i += code(i) == '\r' && i + 2 * unit <= in.size() && code(i + unit) == '\n' ? unit
                                                                                            : 0;
            } else {
                line += in.substr(i, unit);
            }
        }
        if (!line.empty()) {
            end(in.size() + 1);  // ended only by the end of the input
        }
    }
    std::int64_t EndedWithin(std::uint64_t bytes) const {
        return std::upper_bound(ends.begin(), ends.end(), bytes) - ends.begin();
    }
};

enum class Outcome { Done, Stopped, Failed };
constexpr const char* kCallNames[kFileCallKinds] = {
    "input open", "output open", "folder creation", "read",
    "write",      "truncation",  "close",           "identity query"};
constexpr const char* kFaultNames[] = {" fails", " comes back short", " finds the input cut"};

class FaultSweepTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    std::filesystem::path results = scratch.path() / U8("转换结果");
    std::filesystem::path input = scratch.path() / U8("输入.txt");
    std::filesystem::path bystander = scratch.path() / U8("旁边.txt");
    FakeHost host{input, results};
    FaultingFileSystem files;

    void SetUp() override {
        host.files = &files;
        WriteFile(bystander, "not the job's");
    }

    void Run(const Scenario& s, bool pumpEveryLine) {
        std::filesystem::remove_all(results);
        std::filesystem::create_directory(results);
        for (const auto& [n, bytes] : s.earlier) {
            WriteFile(results / U8(OutputFileName(n, kDay)), bytes);
        }
        WriteFile(input, s.input);
        host.linesPerFile = std::to_string(s.linesPerFile);
        host.totalCaption = std::string(kTotalPrefix) + "0";
        host.messages.clear();
        host.stopRequested = false;
        host.pumps = 0;
        // Or the default interval on a clock that never reaches it: lines wait in the
        // buffer until the run ends.
        RunOptions options{std::chrono::milliseconds(pumpEveryLine ? 0 : 15)};
        options.clock = [] { return std::chrono::steady_clock::time_point{}; };
        options.blockSize = 64;
        host.Run(options);
    }

    Outcome Ended() {
        EXPECT_LE(host.messages.size(), 1u);
        if (host.messages.empty()) {
            return Outcome::Stopped;
        }
        return host.messages[0].text == kFinishedText ? Outcome::Done : Outcome::Failed;
    }

    // Checks what every run must leave; returns the total it counted.
    std::int64_t Judge(const Scenario& s, const Model& model, std::string_view reason = {},
                       bool inputCut = false) {
        const std::int64_t total = host.Total();
        EXPECT_LE(total, std::ssize(model.lines));
        EXPECT_TRUE(Ended() != Outcome::Done || total == std::ssize(model.lines)) << "done early";
        if (Ended() == Outcome::Failed) {
            const std::string& text = host.messages[0].text;
            EXPECT_NE(text.find(Utf8(files.struckFile.filename())), std::string::npos) << text;
            EXPECT_NE(text.find(reason), std::string::npos) << text;
        }
        // The first lines, as many as counted, after the old bytes of each file.
        std::map<std::string, std::string> want;
        for (const auto& [n, bytes] : s.earlier) {
            want[OutputFileName(n, kDay)] = bytes;
        }
        for (std::int64_t i = 0; i < total; ++i) {
            const std::string name = OutputFileName(1 + i / s.linesPerFile, kDay);
            want.try_emplace(name, model.mark).first->second += model.lines[std::size_t(i)];
        }
        for (const auto& entry : std::filesystem::directory_iterator(results)) {
            const std::string name = Utf8(entry.path().filename());
            const std::string bytes = ReadFile(entry.path());
            const auto wanted = want.find(name);
            // A file begun for a line that never came is empty, or holds the mark.
            EXPECT_TRUE(wanted != want.end()
                            ? bytes == wanted->second
                            : IsOutputFileName(name) && (bytes.empty() || bytes == model.mark))
                << name << " holds\n"
                << bytes;
            want.erase(name);
        }
        EXPECT_TRUE(want.empty()) << want.begin()->first << " is missing";
        // Outside the results folder: the input (unless another program cut it) and
        // its neighbour, nothing more.
        const auto entries = std::distance(std::filesystem::directory_iterator(scratch.path()),
                                           std::filesystem::directory_iterator());
        EXPECT_EQ(entries, 3);
        EXPECT_EQ(ReadFile(bystander), "not the job's");
        EXPECT_TRUE(ReadFile(input) ==
                    s.input.substr(0, inputCut ? files.bytesBefore : s.input.size()));
        return total;
    }
};

TEST_F(FaultSweepTest, EveryFileCallFailingInTurnAndEveryStopLoseNothing) {
    int runs = 0;
    for (const Scenario& s : Scenarios()) {
        const Model model(s.input);
        for (const bool pumpEveryLine : {true, false}) {
            SCOPED_TRACE(std::string(s.name) + (pumpEveryLine ? ", pump per line" : ", no pump"));
            files.Arm(FileCall::Read, 0);
            Run(s, pumpEveryLine);
            ASSERT_EQ(Ended(), Outcome::Done);
            Judge(s, model);
            const std::array<int, kFileCallKinds> calls = files.calls;
            const int pumps = host.pumps;
            for (int kind = 0; kind < kFileCallKinds; ++kind) {
                const auto call = static_cast<FileCall>(kind);
                for (int k = 1; k <= calls[kind]; ++k) {
                    for (const Fault fault : {Fault::Error, Fault::ShortRead, Fault::Cut}) {
                        if (fault != Fault::Error && call != FileCall::Read) {
                            break;
                        }
                        SCOPED_TRACE(std::string(kCallNames[kind]) + " #" + std::to_string(k) +
                                     kFaultNames[static_cast<int>(fault)]);
                        files.Arm(call, k, fault);
                        Run(s, pumpEveryLine);
                        ++runs;
                        const bool fails =
                            files.struck && fault != Fault::ShortRead && call != FileCall::Identity;
                        const bool cut = fault == Fault::Cut && files.struck;
                        const std::int64_t total =
                            Judge(s, model, cut ? kInputShrank : kInjectedFailure, cut);
                        EXPECT_EQ(Ended(), fails ? Outcome::Failed : Outcome::Done);
                        if (fails && call == FileCall::Read) {
                            // Every line read whole before the failure is kept.
                            EXPECT_EQ(total, model.EndedWithin(files.bytesBefore));
                        }
                        ASSERT_FALSE(HasFailure());
                    }
                }
            }
            for (int k = 1; pumpEveryLine && k <= pumps; ++k) {
                SCOPED_TRACE("stop at pump " + std::to_string(k));
                files.Arm(FileCall::Read, 0);
                long long shown = -1;
                host.onPump = [&](FakeHost& h) {
                    if (h.pumps == k) {
                        h.stopRequested = true;
                        shown = h.Total();
                    }
                };
                Run(s, pumpEveryLine);
                host.onPump = nullptr;
                ++runs;
                // The untouched run may have had one more pump, while its reader was late.
                EXPECT_TRUE(shown < 0 ? Ended() == Outcome::Done : Ended() != Outcome::Failed);
                EXPECT_EQ(Judge(s, model), shown < 0 ? std::ssize(model.lines) : shown);
                ASSERT_FALSE(HasFailure());
            }
        }
    }
    EXPECT_GT(runs, 800);
}

}  // namespace
}  // namespace quenlo::test
