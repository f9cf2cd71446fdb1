// The job's observable results: files, names, lines, the counting rule and the
// window's side of a run.
#include "conversion/run_conversion.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "test_support.h"

namespace quenlo::test {
namespace {

constexpr CalendarDate kDay{2026, 12, 7};
constexpr CalendarDate kNextDay{2026, 12, 8};

// Reads like a slow disk, so that a pump falls due at every block boundary: the job
// waits there for the block being read ahead. Long enough for a coarse clock too.
class SlowReadingFiles : public ForwardingFileSystem {
public:
    std::unique_ptr<InputFile> OpenForReading(const std::filesystem::path& file) override {
        class SlowInput : public ForwardingInput {
        public:
            using ForwardingInput::ForwardingInput;
            std::size_t Read(char* buffer, std::size_t size) override {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                return ForwardingInput::Read(buffer, size);
            }
        };
        return std::make_unique<SlowInput>(NativeFiles().OpenForReading(file));
    }
};

class RunConversionTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
    std::filesystem::path results = scratch.path() / U8("转换结果");
    std::filesystem::path input = scratch.path() / U8("输入 数据.txt");
    FakeHost host{input, results};

    std::filesystem::path OutputPath(std::int64_t n, CalendarDate date = kDay) {
        return results / U8(OutputFileName(n, date));
    }
    std::string Output(std::int64_t n, CalendarDate date = kDay) {
        return ReadFile(OutputPath(n, date));
    }
    std::vector<std::string> ResultNames() {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(results)) {
            names.push_back(Utf8(entry.path().filename()));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    static std::string Lines(int first, int last) {
        std::string text;
        for (int i = first; i <= last; ++i) {
            text += "line " + std::to_string(i) + "\r\n";
        }
        return text;
    }
    bool Finished() const {
        return host.messages.size() == 1 && host.messages[0].text == kFinishedText &&
               host.messages[0].title == kFinishedTitle &&
               host.messages[0].kind == MessageKind::Information;
    }
};

TEST_F(RunConversionTest, SplitsIntoFilesOfNLinesNumberedAndDated) {
    WriteFile(input, Lines(1, 7));
    host.linesPerFile = "3";
    host.Run();
    EXPECT_EQ(ResultNames(), (std::vector<std::string>{"1-2026-12-07.txt", "2-2026-12-07.txt",
                                                       "3-2026-12-07.txt"}));
    EXPECT_EQ(Output(1), Lines(1, 3));
    EXPECT_EQ(Output(2), Lines(4, 6));
    EXPECT_EQ(Output(3), Lines(7, 7));
    EXPECT_EQ(host.totalCaption, "总共处理行数：7");
    EXPECT_TRUE(Finished());
    EXPECT_FALSE(host.timerEnabled);
    EXPECT_EQ(host.startCaption, kStartCaption);
}

TEST_F(RunConversionTest, OneLinePerFileWhenNIsOne) {
    WriteFile(input, "a\r\nb\r\nc");
    host.linesPerFile = " 1 ";
    host.Run();
    EXPECT_EQ(Output(1), "a\r\n");
    EXPECT_EQ(Output(2), "b\r\n");
    EXPECT_EQ(Output(3), "c\r\n");
    EXPECT_EQ(ResultNames().size(), 3u);
}

TEST_F(RunConversionTest, TrimsOnlySpacesAtBothEndsOfEveryLine) {
    WriteFile(input, "  two  inner  \r\n\tkept tabs\t\r\n     \r\n 中文 GBK\xB0\xA1 \r\n");
    host.Run();
    EXPECT_EQ(Output(1), "two  inner\r\n\tkept tabs\t\r\n\r\n中文 GBK\xB0\xA1\r\n");
    EXPECT_EQ(host.Total(), 4);
}

TEST_F(RunConversionTest, LinesEndAtCrOrCrLfAndALoneLfStaysInside) {
    WriteFile(input, "a\rb\r\nc\nd\n\re\r\n\r\n");
    host.Run();
    // "c\nd\n" is one line; the last CR LF gives no extra line, the empty one before it does.
    EXPECT_EQ(Output(1), "a\r\nb\r\nc\nd\n\r\ne\r\n\r\n");
    EXPECT_EQ(host.Total(), 5);
}

TEST_F(RunConversionTest, LastLineWithoutTerminatorCounts) {
    WriteFile(input, "a\r\n   ");
    host.Run();
    EXPECT_EQ(Output(1), "a\r\n\r\n");
    EXPECT_EQ(host.Total(), 2);
}

TEST_F(RunConversionTest, EmptyInputCreatesTheFolderButNoFile) {
    WriteFile(input, "");
    host.Run();
    EXPECT_TRUE(std::filesystem::is_directory(results));
    EXPECT_TRUE(ResultNames().empty());
    EXPECT_EQ(host.totalCaption, "总共处理行数：0");
    EXPECT_TRUE(Finished());
}

TEST_F(RunConversionTest, NThatNeverEqualsACountSendsEverythingToFileOne) {
    for (const char* n : {"0", "-3", "2.5", "abc", "", "1e999"}) {
        SCOPED_TRACE(n);
        std::filesystem::remove_all(results);
        WriteFile(input, Lines(1, 5));
        host.linesPerFile = n;
        host.totalCaption = "总共处理行数：0";
        host.Run();
        EXPECT_EQ(ResultNames(), std::vector<std::string>{"1-2026-12-07.txt"});
        EXPECT_EQ(Output(1), Lines(1, 5));
    }
}

TEST_F(RunConversionTest, NReadInHexadecimalAndWithSpacesCountsNormally) {
    WriteFile(input, Lines(1, 4));
    host.linesPerFile = "  &H2  ";
    host.Run();
    EXPECT_EQ(Output(1), Lines(1, 2));
    EXPECT_EQ(Output(2), Lines(3, 4));
}

TEST_F(RunConversionTest, NEditedDuringTheRunAppliesFromTheNextLine) {
    WriteFile(input, Lines(1, 9));
    host.linesPerFile = "2";
    host.onPump = [](FakeHost& h) {
        if (h.Total() == 1) {
            h.linesPerFile = "3";
        }
    };
    host.Run();
    EXPECT_EQ(Output(1), Lines(1, 3));
    EXPECT_EQ(Output(2), Lines(4, 6));
    EXPECT_EQ(Output(3), Lines(7, 9));
}

TEST_F(RunConversionTest, NLoweredBelowTheCurrentCountKeepsTheRestInTheCurrentFile) {
    WriteFile(input, Lines(1, 9));
    host.linesPerFile = "4";
    host.onPump = [](FakeHost& h) {
        if (h.Total() == 6) {
            h.linesPerFile = "1";  // file 2 already holds 2 lines
        }
    };
    host.Run();
    EXPECT_EQ(Output(1), Lines(1, 4));
    EXPECT_EQ(Output(2), Lines(5, 9));
    EXPECT_EQ(ResultNames().size(), 2u);
}

TEST_F(RunConversionTest, StopAfterKLinesLeavesExactlyKLines) {
    WriteFile(input, Lines(1, 10));
    host.linesPerFile = "3";
    host.timerEnabled = true;
    host.onPump = [](FakeHost& h) {
        if (h.Total() == 4) {
            h.stopRequested = true;
            h.startCaption = "开始处理";
        }
    };
    host.Run();
    EXPECT_EQ(Output(1), Lines(1, 3));
    EXPECT_EQ(Output(2), Lines(4, 4));
    EXPECT_EQ(ResultNames().size(), 2u);
    EXPECT_EQ(host.Total(), 4);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_FALSE(host.timerEnabled);  // the seconds stop with the run
}

TEST_F(RunConversionTest, StopSeenAfterTheLastLineStillFinishes) {
    // The last CR LF ends the input: in the middle of a block, after a line that
    // needed trimming, and with its LF alone in the last block.
    // On a slow disk too: the read that brings the end outlasts the stop's patience, and
    // though the stop cancels it, it completes.
    const std::string blockLong((1 << 20) - 1, 'x');
    host.onPump = [](FakeHost& h) { h.stopRequested = h.Total() == 3; };
    SlowReadingFiles slow;
    for (FileSystem* files : {&NativeFiles(), static_cast<FileSystem*>(&slow)}) {
        host.files = files;
        for (const std::string& text :
             {Lines(1, 2) + "line 3\r\n", Lines(1, 2) + " line 3 \r\n",
              Lines(1, 2) + blockLong.substr(Lines(1, 2).size()) + "\r\n"}) {
            std::filesystem::remove_all(results);
            WriteFile(input, text);
            host.messages.clear();
            host.totalCaption = "总共处理行数：0";
            host.stopRequested = false;
            host.Run();
            EXPECT_EQ(host.Total(), 3);
            EXPECT_TRUE(Finished()) << text.size() << (files == &slow ? " slow" : "");
        }
    }
}

// Deep in a synced folder: every path of the run is over 300 characters. Made and
// read through the file layer itself, which hands such paths to the system whole.
TEST_F(RunConversionTest, PathsOverThreeHundredCharactersWork) {
    FileSystem& files = NativeFiles();
    std::filesystem::path deep = scratch.path();
    for (const char level : {'a', 'b', 'c'}) {
        deep /= std::string(100, level);
        files.CreateFolder(deep);
    }
    input = deep / U8("输入.txt");
    results = deep / U8("转换结果");
    ASSERT_GT(OutputPath(1).native().size(), 300u);
    files.OpenForAppending(input)->Write("a\r\nb\r\n", 6);
    host.inputText = Utf8(input);
    host.resultsFolder = results;
    host.linesPerFile = "1";
    host.Run();
    EXPECT_TRUE(Finished()) << (host.messages.empty() ? "" : host.messages[0].text);
    for (const auto& [n, line] : {std::pair{1, "a\r\n"}, std::pair{2, "b\r\n"}}) {
        char read[8] = {};
        EXPECT_EQ(files.OpenForReading(OutputPath(n))->Read(read, sizeof read), 3u);
        EXPECT_STREQ(read, line);
    }
}

TEST_F(RunConversionTest, StopRequestedBeforeTheFirstLineWritesNothing) {
    WriteFile(input, Lines(1, 3));
    host.stopRequested = true;
    host.Run();
    EXPECT_TRUE(ResultNames().empty());
    EXPECT_EQ(host.Total(), 0);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(RunConversionTest, PumpsAtTheDefaultIntervalStillCountEveryLine) {
    WriteFile(input, Lines(1, 5000));
    host.linesPerFile = "1000";
    host.Run(RunOptions{});
    EXPECT_EQ(host.Total(), 5000);
    EXPECT_EQ(Output(5), Lines(4001, 5000));
    EXPECT_TRUE(Finished());
}

TEST_F(RunConversionTest, TotalContinuesFromWhatTheCaptionShows) {
    WriteFile(input, Lines(1, 2));
    host.totalCaption = "总共处理行数：总共处理行数：40";
    host.Run();
    EXPECT_EQ(host.totalCaption, "总共处理行数：42");
}

TEST_F(RunConversionTest, MidnightContinuesTheNumberingInFilesOfTheNewDate) {
    WriteFile(input, Lines(1, 5));
    host.linesPerFile = "2";
    host.onPump = [](FakeHost& h) {
        if (h.Total() == 3) {
            h.today = kNextDay;
        }
    };
    host.Run();
    EXPECT_EQ(Output(1), Lines(1, 2));
    EXPECT_EQ(Output(2), Lines(3, 3));
    EXPECT_EQ(Output(2, kNextDay), Lines(4, 4));
    EXPECT_EQ(Output(3, kNextDay), Lines(5, 5));
    EXPECT_EQ(ResultNames().size(), 4u);
}

TEST_F(RunConversionTest, EarlierFilesOfTheDayAreAppendedToAndTheCleanupFileDeleted) {
    std::filesystem::create_directory(results);
    WriteFile(OutputPath(1), "old\r\n");
    // Cut short by a power failure or edited by hand: its last record stays whole.
    WriteFile(OutputPath(2), "old\r\ncut");
    WriteFile(OutputPath(3), "lone CR\r");
    WriteFile(OutputPath(4), "");
    WriteFile(OutputPath(1, kNextDay), "other day\r\n");
    WriteFile(results / U8("输入 数据-2026-12-07.txt"), "stale");
    WriteFile(results / U8("输入 数据-2026-12-06.txt"), "yesterday");
    WriteFile(input, Lines(1, 8));
    host.linesPerFile = "2";
    host.Run();
    EXPECT_EQ(Output(1), "old\r\n" + Lines(1, 2));
    EXPECT_EQ(Output(2), "old\r\ncut\r\n" + Lines(3, 4));
    EXPECT_EQ(Output(3), "lone CR\r" + Lines(5, 6));
    EXPECT_EQ(Output(4), Lines(7, 8));
    EXPECT_EQ(Output(1, kNextDay), "other day\r\n");
    EXPECT_FALSE(std::filesystem::exists(results / U8("输入 数据-2026-12-07.txt")));
    EXPECT_TRUE(std::filesystem::exists(results / U8("输入 数据-2026-12-06.txt")));
}

TEST_F(RunConversionTest, InputPathIsTrimmedOfSpaces) {
    WriteFile(input, "x\r\n");
    host.inputText = "  " + host.inputText + "  ";
    host.Run();
    EXPECT_EQ(Output(1), "x\r\n");
}

TEST_F(RunConversionTest, Utf8MarkIsNotPartOfLineOneAndStartsEveryNewFile) {
    std::filesystem::create_directory(results);
    WriteFile(OutputPath(2), "old\r\n");
    WriteFile(input, "\xEF\xBB\xBF  中 \r\nb\r\nc");
    host.linesPerFile = "1";
    host.Run();
    EXPECT_EQ(Output(1), "\xEF\xBB\xBF中\r\n");
    EXPECT_EQ(Output(2), "old\r\nb\r\n");  // an existing file gets no second mark
    EXPECT_EQ(Output(3),
              "\xEF\xBB\xBF"
              "c\r\n");
}

TEST_F(RunConversionTest, Utf16InputIsSplitInSixteenBitUnits) {
    // U+0D20 and U+200D hold CR and space bytes that must not end or trim a line.
    WriteFile(input, "\xFF\xFE" + Utf16LE(u"  a\u0D20\u200D \r\n中\n文\r x"));
    host.linesPerFile = "1";
    host.Run();
    EXPECT_EQ(Output(1), "\xFF\xFE" + Utf16LE(u"a\u0D20\u200D\r\n"));
    EXPECT_EQ(Output(2), "\xFF\xFE" + Utf16LE(u"中\n文\r\n"));
    EXPECT_EQ(Output(3), "\xFF\xFE" + Utf16LE(u"x\r\n"));
    EXPECT_EQ(host.Total(), 3);

    std::filesystem::remove_all(results);
    WriteFile(input, "\xFE\xFF" + Utf16BE(u" \u2000b \r\n"));
    host.Run();
    EXPECT_EQ(Output(1), "\xFE\xFF" + Utf16BE(u"\u2000b\r\n"));

    // Lines that end in LF units; U+0A0D and U+0D0A hold LF and CR bytes but are
    // neither, so they decide nothing and end nothing.
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "BE" : "LE");
        const auto units = [&](std::u16string_view text) {
            return bigEndian ? Utf16BE(text) : Utf16LE(text);
        };
        const std::string mark = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        std::filesystem::remove_all(results);
        std::filesystem::create_directory(results);
        // Its last byte is a CR or LF byte, its last unit neither: the unit decides.
        const std::u16string old = std::u16string(u"旧") + (bigEndian ? u'\u0D0A' : u'\u0A0D');
        WriteFile(OutputPath(2), units(old));
        WriteFile(input, mark + units(u" \u0A0Da\n\u0D0Ab \n\nc"));
        host.Run();
        EXPECT_EQ(Output(1), mark + units(u"\u0A0Da\r\n"));
        EXPECT_EQ(Output(2), units(old + u"\r\n\u0D0Ab\r\n"));
        EXPECT_EQ(Output(3), mark + units(u"\r\n"));
        EXPECT_EQ(Output(4), mark + units(u"c\r\n"));
        EXPECT_EQ(ResultNames().size(), 4u);
    }
}

TEST_F(RunConversionTest, Utf16OddLastByteIsKeptNotLost) {
    WriteFile(input, "\xFF\xFE" + Utf16LE(u"ab") + "\x41");
    host.Run();
    EXPECT_EQ(Output(1), "\xFF\xFE" + Utf16LE(u"ab") + "\x41" + Utf16LE(u"\r\n"));
}

TEST_F(RunConversionTest, LinesLongerThanAReadBlockStreamThroughWhole) {
    const std::size_t kMiB = 1 << 20;
    // Line 1 puts its CR on the last byte of the first block and its LF on the
    // first of the next; line 2 holds spaces across block boundaries at both ends
    // and inside, where they fill a whole block.
    const std::string line1(kMiB - 1, 'a');
    const std::string inner(2 * kMiB + 5, ' ');
    const std::string line2 =
        std::string(kMiB + 3, ' ') + "b" + inner + "c" + std::string(kMiB + 7, ' ');
    WriteFile(input, line1 + "\r\n" + line2 + "\r\nd");
    host.linesPerFile = "1";
    host.Run();
    EXPECT_EQ(Output(1), line1 + "\r\n");
    EXPECT_EQ(Output(2), "b" + inner + "c\r\n");
    EXPECT_EQ(Output(3), "d\r\n");
    EXPECT_EQ(host.Total(), 3);
}

TEST_F(RunConversionTest, ManyBlocksOfLinesArriveIntactAndInOrder) {
    // Lines of 16 bytes, so read blocks end exactly at line ends, where runs of
    // lines written straight from a block must be out before the block is reused.
    // Every seventh line needs trimming and breaks such a run.
    std::string text;
    std::string expected;
    char line[32];
    for (int i = 1; i <= 300000; ++i) {
        const bool padded = i % 7 == 0;
        std::snprintf(line, sizeof line, padded ? " L%011d \r\n" : "L%013d\r\n", i);
        text += line;
        std::snprintf(line, sizeof line, padded ? "L%011d\r\n" : "L%013d\r\n", i);
        expected += line;
    }
    ASSERT_EQ(text.size(), 300000u * 16);
    WriteFile(input, text);
    host.linesPerFile = "150000";
    host.Run(RunOptions{});
    EXPECT_EQ(host.Total(), 300000);
    const std::string joined = Output(1) + Output(2);
    ASSERT_EQ(joined.size(), expected.size());
    EXPECT_TRUE(joined == expected);
    EXPECT_EQ(Output(2).substr(0, 16), "L0000000150001\r\n");
}

TEST_F(RunConversionTest, AtEveryPumpTheFilesHoldExactlyTheCountedLines) {
    // 36-byte lines: read blocks end inside a line, where a pump must not let the
    // window see lines on disk that the count does not show yet.
    std::string text;
    char line[48];
    for (int i = 1; i <= 100000; ++i) {
        std::snprintf(line, sizeof line, "%034d\r\n", i);
        text += line;
    }
    WriteFile(input, text);
    SlowReadingFiles slow;
    host.files = &slow;
    int mismatches = 0;
    host.onPump = [&](FakeHost& h) {
        if (!std::filesystem::exists(OutputPath(1))) {
            mismatches += h.Total() != 0;
            return;
        }
        const std::string written = ReadFile(OutputPath(1));
        mismatches += std::count(written.begin(), written.end(), '\n') != h.Total();
    };
    host.linesPerFile = "0";
    host.Run(RunOptions{std::chrono::milliseconds(1)});
    EXPECT_GE(host.pumps, 3);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(host.Total(), 100000);
    EXPECT_TRUE(Output(1) == text);
}

// Each file opened costs the run's clock 10 ms, and nothing else moves it: the cost
// of a line lies in the files, as on a slow disk or with one file per line.
class ClockedOpeningFiles : public ForwardingFileSystem {
public:
    static constexpr std::chrono::milliseconds kOpenCost{10};
    std::chrono::steady_clock::time_point now{};

    std::unique_ptr<OutputFile> OpenForAppending(const std::filesystem::path& file) override {
        now += kOpenCost;
        return NativeFiles().OpenForAppending(file);
    }
};

TEST_F(RunConversionTest, OneFilePerLineStillPumpsAtTheInterval) {
    constexpr int kLines = 300;  // more than the lines between two looks at the clock
    WriteFile(input, Lines(1, kLines));
    host.linesPerFile = "1";
    ClockedOpeningFiles files;
    host.files = &files;
    const RunOptions options{.pumpInterval = std::chrono::milliseconds(15),
                             .clock = [&] { return files.now; }};
    auto lastPump = files.now;
    std::chrono::steady_clock::duration longestGap{};
    int mismatches = 0;
    host.onPump = [&](FakeHost& h) {
        longestGap = std::max(longestGap, files.now - lastPump);
        lastPump = files.now;
        // Files 1 to the total hold their line; the next one is not begun.
        const long long total = h.Total();
        mismatches += total < 1 || ReadFile(OutputPath(total)) != Lines(total, total) ||
                      std::filesystem::exists(OutputPath(total + 1));
    };
    host.Run(options);
    longestGap = std::max(longestGap, files.now - lastPump);  // the end counts too
    EXPECT_LE(longestGap, options.pumpInterval + ClockedOpeningFiles::kOpenCost);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(host.Total(), kLines);
    EXPECT_EQ(Output(kLines), Lines(kLines, kLines));
    EXPECT_TRUE(Finished());
}

TEST_F(RunConversionTest, ThroughLinesLongerThanABlockTheCountRisesWithTheFiles) {
    // Inside a line of many read blocks the window is kept live: the lines ended before
    // it must not wait for a pump that never comes, and the bytes read move on alone.
    // At every pump the file holds the counted lines, perhaps with a piece of the next.
    const std::string line = std::string(300, 'x') + "\r\n";
    std::string text;
    for (int i = 0; i < 30; ++i) {
        text += line;
    }
    WriteFile(input, text);
    RunOptions options{std::chrono::milliseconds(4)};
    options.blockSize = 64;
    options.clock = [now = std::chrono::steady_clock::time_point{}]() mutable {
        return now += std::chrono::milliseconds(1);
    };
    std::set<long long> counts;
    std::set<std::uint64_t> bytes;
    int mismatches = 0;
    host.onPump = [&](FakeHost& h) {
        const std::string written = std::filesystem::exists(OutputPath(1)) ? Output(1) : "";
        mismatches += written.size() / line.size() != std::size_t(h.Total()) ||
                      written != text.substr(0, written.size());
        counts.insert(h.Total());
        bytes.insert(h.bytesRead);
    };
    host.Run(options);
    EXPECT_EQ(mismatches, 0);
    EXPECT_GE(counts.size(), 15u);           // risen along the run, not only at its end
    EXPECT_GT(bytes.size(), counts.size());  // and the bytes read between the counts
    EXPECT_EQ(host.Total(), 30);
}

// The rules applied the plain way, one line after another: a line ends at CR or CR
// LF (or LF, in a file whose lines end in LF), spaces at both ends go, and file n
// takes lines until it holds N.
std::map<std::int64_t, std::string> SplitOneLineAtATime(const std::string& text, int n,
                                                        bool lineFeedEnds = false) {
    std::map<std::int64_t, std::string> files;
    std::int64_t file = 1;
    int count = 0;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t cr = text.find_first_of(lineFeedEnds ? "\r\n" : "\r", at);
        const std::size_t end = cr == std::string::npos ? text.size() : cr;
        std::string line = text.substr(at, end - at);
        line.erase(0, line.find_first_not_of(' ') == std::string::npos
                          ? line.size()
                          : line.find_first_not_of(' '));
        line.erase(line.find_last_not_of(' ') + 1);
        files[file] += line + "\r\n";
        if (++count == n) {
            ++file;
            count = 0;
        }
        at = end + 1;
        if (cr != std::string::npos && text[cr] == '\r' && at < text.size() && text[at] == '\n') {
            ++at;
        }
    }
    return files;
}

TEST_F(RunConversionTest, RandomTextComesOutAsTheLineByLineRulesGiveIt) {
    // Lines of every kind and length, runs of unchanged lines broken at random places,
    // more than one read block: the batched job must agree with the plain rules.
    // A file whose first block has line feeds and no CR is read with LF as a line end
    // too, also where CRs come later.
    std::mt19937 random(2026);
    const std::vector<std::string> pieces = {
        "word", "中文", " ", "  ", "\t", "\r\n", "\r\n", "\r\n", "\r", "\n", std::string(70, 'y')};
    const std::vector<std::string> piecesWithoutCR = {
        "word", "中文", " ", "  ", "\t", "\n", "\n", "\n", std::string(70, 'y')};
    for (const bool lineFeedEnds : {false, true}) {
        SCOPED_TRACE(lineFeedEnds ? "lines end in LF" : "lines end in CR");
        std::string text;
        while (lineFeedEnds && text.size() < (9u << 17)) {  // past the first read block
            text += piecesWithoutCR[random() % piecesWithoutCR.size()];
        }
        while (text.size() < (3u << 19)) {
            text += pieces[random() % pieces.size()];
        }
        WriteFile(input, text);
        for (const int n : {257, 1000}) {
            SCOPED_TRACE(n);
            std::filesystem::remove_all(results);
            host.linesPerFile = std::to_string(n);
            host.totalCaption = "总共处理行数：0";
            host.Run(RunOptions{});
            const auto expected = SplitOneLineAtATime(text, n, lineFeedEnds);
            EXPECT_EQ(ResultNames().size(), expected.size());
            std::int64_t lines = 0;
            for (const auto& [file, content] : expected) {
                ASSERT_TRUE(Output(file) == content) << "file " << file;
                lines += std::count(content.begin(), content.end(), '\r');
            }
            EXPECT_EQ(host.Total(), lines);
        }
    }
}

TEST_F(RunConversionTest, StopDuringALongLineTakesEffectAtOnceWithoutThatLine) {
    // An endless line (a device, a huge file without CRs) must not make the stop wait.
    // The stop comes at the first pump that finds the long line begun; pumps before
    // it (a slow first read brings some before any file exists) change nothing.
    int pumps = 0;
    int pumpsAtStop = 0;
    const auto stopOnce = [&](std::function<bool()> lineBegun) {
        host.onPump = [&, lineBegun](FakeHost& h) {
            ++pumps;
            if (!h.stopRequested && lineBegun()) {
                h.stopRequested = true;
                pumpsAtStop = pumps;
            }
        };
    };
    const std::string longLine(3 << 20, 'x');
    WriteFile(input, "first\r\n" + longLine + "\r\nnext\r\n");
    // Part of the line already went to the file past the buffer: it is cut back.
    stopOnce([&] {
        std::error_code missing;
        const auto size = std::filesystem::file_size(OutputPath(1), missing);
        return !missing && size > std::string("first\r\n").size();
    });
    host.Run();
    EXPECT_GT(pumpsAtStop, 0);
    EXPECT_EQ(pumps, pumpsAtStop);  // no pump after the stop: the line was not read on
    EXPECT_EQ(Output(1), "first\r\n");
    EXPECT_EQ(host.Total(), 1);
    EXPECT_TRUE(host.messages.empty());

    // A line of spaces is held back, so its start is still in the buffer; and it has
    // a file of its own. On a slow disk the stop comes while the next block is read,
    // and that read completes.
    SlowReadingFiles slow;
    for (FileSystem* files : {&NativeFiles(), static_cast<FileSystem*>(&slow)}) {
        host.files = files;
        std::filesystem::remove_all(results);
        WriteFile(input, "first\r\na" + std::string(3 << 20, ' ') + "b\r\nnext\r\n");
        host.linesPerFile = "1";
        host.totalCaption = "总共处理行数：0";
        host.stopRequested = false;
        pumps = pumpsAtStop = 0;
        stopOnce([&] { return std::filesystem::exists(OutputPath(2)); });
        host.Run();
        EXPECT_GT(pumpsAtStop, 0);
        EXPECT_EQ(pumps, pumpsAtStop);
        EXPECT_EQ(Output(1), "first\r\n");
        EXPECT_EQ(Output(2), "");
        EXPECT_EQ(host.Total(), 1);
    }
}

}  // namespace
}  // namespace quenlo::test
