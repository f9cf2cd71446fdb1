// quenlo-split as a script and a person at a terminal see it: exit statuses, output
// files, messages, and stops by real signals while the input stalls.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <numeric>
#include <thread>

#include <gtest/gtest.h>

#include "conversion/output_naming.h"
#include "tests/conversion/test_support.h"

extern char** environ;

namespace quenlo::test {
namespace {

struct Outcome {
    int status = -1;  // the exit status; -1 when the process did not exit by itself
    std::string out;
    std::string err;
};

std::string Quote(const std::filesystem::path& path) {
    std::string quoted(1, '\'');
    quoted += Utf8(path);
    quoted += '\'';
    return quoted;
}

CalendarDate Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

class SplitCommandTest : public ::testing::Test {
protected:
    // quenlo-split speaks Chinese unless a test says otherwise; processes started
    // without the shell take it from this process.
    SplitCommandTest() { ::setenv("LC_ALL", "zh_CN.UTF-8", 1); }

    ScratchFolder scratch;
    std::filesystem::path out = scratch.path() / U8("结果");

    // Runs a shell command line with "$SPLIT" standing for quenlo-split.
    Outcome Shell(const std::string& command) {
        const auto stdoutFile = scratch.path() / "stdout";
        const auto stderrFile = scratch.path() / "stderr";
        std::string line = "SPLIT='";
        line += QUENLO_SPLIT;
        line += "'; cd " + Quote(scratch.path()) + " && { " + command + "; }";
        line += " >" + Quote(stdoutFile) + " 2>" + Quote(stderrFile);
        const int raw = std::system(line.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(stdoutFile), ReadFile(stderrFile)};
    }
    Outcome Split(const std::string& arguments) {
        return Shell("\"$SPLIT\" --out " + Quote(out) + " " + arguments);
    }

    std::filesystem::path Result(std::int64_t n) { return out / U8(OutputFileName(n, Today())); }
    // Everything the result files hold, in file order.
    std::string AllResults() {
        std::string all;
        for (std::int64_t n = 1; std::filesystem::exists(Result(n)); ++n) {
            all += ReadFile(Result(n));
        }
        return all;
    }
};

TEST_F(SplitCommandTest, SplitsIntoTheOutFolderAndSaysSo) {
    WriteFile(scratch.path() / "in.txt", " a \r\nb\r\nc\r\n");
    const Outcome outcome = Split("in.txt 2");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "转换处理完成！\n");
    EXPECT_EQ(outcome.err, "");  // no warning, and no progress line when stderr is no terminal
    EXPECT_EQ(ReadFile(Result(1)), "a\r\nb\r\n");
    EXPECT_EQ(ReadFile(Result(2)), "c\r\n");
    // New results may be read by whoever the umask lets, as other tools' files.
    out = scratch.path() / "umask";
    ASSERT_EQ(Shell("umask 002 && \"$SPLIT\" --out " + Quote(out) + " in.txt").status, 0);
    EXPECT_EQ(std::filesystem::status(Result(1)).permissions(), std::filesystem::perms(0664));
}

TEST_F(SplitCommandTest, FailureIsOneLineOnStderrAndStatusOneAndCreatesNothing) {
    out = scratch.path() / "new" / "folder";
    const Outcome outcome = Split("没有.txt");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "quenlo-split: 无法打开输入文件「没有.txt」：没有那个文件或目录\n");
    EXPECT_FALSE(std::filesystem::exists(scratch.path() / "new"));
    EXPECT_EQ(Shell("\"$SPLIT\" 没有.txt").status, 1);
    EXPECT_FALSE(std::filesystem::exists(scratch.path() / U8("转换结果")));
}

TEST_F(SplitCommandTest, WithoutOutTheResultsGoWhereItIsRun) {
    WriteFile(scratch.path() / "in.txt", "a\r\n");
    ASSERT_EQ(Shell("\"$SPLIT\" in.txt").status, 0);
    out = scratch.path() / U8("转换结果");
    EXPECT_EQ(ReadFile(Result(1)), "a\r\n");
}

// The usual forms of a command line: --out=DIR, -- before an INPUT that starts with
// "-", and an empty folder name that is a usage error, not a run.
TEST_F(SplitCommandTest, OutEqualsDoubleDashAndAnEmptyOutParseAsUsual) {
    WriteFile(scratch.path() / "-in.txt", "dash\r\n");
    WriteFile(scratch.path() / "in.txt", "plain\r\n");
    Outcome outcome = Shell("\"$SPLIT\" --out=" + Quote(out) + " -- -in.txt");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(ReadFile(Result(1)), "dash\r\n");
    for (const char* empty : {"--out ''", "--out=", "--out= --out ''"}) {
        SCOPED_TRACE(empty);
        outcome = Shell(std::string("\"$SPLIT\" ") + empty + " in.txt");
        EXPECT_EQ(outcome.status, 2);
        EXPECT_NE(outcome.err.find("--out"), std::string::npos) << outcome.err;
    }
    EXPECT_FALSE(std::filesystem::exists(scratch.path() / U8("转换结果")));
}

TEST_F(SplitCommandTest, UsageErrorsAreOneLineWithStatusTwo) {
    for (const char* arguments : {"", "a b c", "--bogus in.txt", "--out"}) {
        SCOPED_TRACE(arguments);
        const Outcome outcome = Shell(std::string("\"$SPLIT\" ") + arguments);
        EXPECT_EQ(outcome.status, 2);
        EXPECT_TRUE(outcome.err.starts_with("quenlo-split: ")) << outcome.err;
        EXPECT_NE(outcome.err.find("--help"), std::string::npos) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    }
    const Outcome help = Shell("\"$SPLIT\" --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("用法：quenlo-split"), std::string::npos);
    const Outcome version = Shell("\"$SPLIT\" --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("quenlo-split ")) << version.out;
}

TEST_F(SplitCommandTest, OutMakesMissingParentFolders) {
    WriteFile(scratch.path() / "in.txt", "a\r\n");
    out = scratch.path() / "a" / "b" / "c";
    EXPECT_EQ(Split("in.txt").status, 0);
    EXPECT_EQ(ReadFile(Result(1)), "a\r\n");
}

TEST_F(SplitCommandTest, OutThatIsAFileIsRefusedAndLeftAlone) {
    WriteFile(out, "mine");
    WriteFile(scratch.path() / "empty.txt", "");
    const Outcome outcome = Split("empty.txt");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("无法创建结果文件夹"), std::string::npos) << outcome.err;
    EXPECT_EQ(Split("missing.txt").status, 1);
    EXPECT_EQ(ReadFile(out), "mine");
}

// One language at a time: the first of LC_ALL, LC_MESSAGES and LANG that is set
// decides, for messages, --help and the system's reasons alike.
TEST_F(SplitCommandTest, SpeaksChineseUnderAChineseLocaleAndEnglishOtherwise) {
    const auto run = [&](const std::string& locale, const std::string& arguments) {
        return Shell("unset LC_ALL LC_MESSAGES LANG; " + locale + " \"$SPLIT\" " + arguments);
    };
    const std::string english =
        "cannot open the input file \"missing.txt\": No such file or directory";
    const std::string chinese = "无法打开输入文件「missing.txt」：没有那个文件或目录";
    for (const auto& [locale, expected] :
         {std::pair{std::string("LANG=C"), english},
          std::pair{std::string("LANG=zh_CN.UTF-8"), chinese},
          std::pair{std::string("LC_ALL=en_US.UTF-8 LANG=zh_CN.UTF-8"), english},
          std::pair{std::string("LC_MESSAGES=zh_CN.UTF-8 LANG=C"), chinese},
          std::pair{std::string(""), english}}) {
        SCOPED_TRACE(locale);
        EXPECT_EQ(run(locale, "--out " + Quote(out) + " missing.txt").err,
                  "quenlo-split: " + expected + "\n");
    }
    WriteFile(scratch.path() / "in.txt", "a\r\n");
    EXPECT_EQ(run("LANG=C", "--out " + Quote(out) + " in.txt").out, "Done.\n");
    EXPECT_EQ(run("LANG=C", "--bogus").err,
              "quenlo-split: unknown option --bogus; see quenlo-split --help\n");
    // --help tells this system's truth, and how lines end.
    for (const char* locale : {"LANG=C", "LANG=zh_CN.UTF-8"}) {
        SCOPED_TRACE(locale);
        const std::string help = run(locale, "--help").out;
        EXPECT_NE(help.find("SIGHUP 129"), std::string::npos) << help;
        EXPECT_NE(help.find("--out="), std::string::npos) << help;
        EXPECT_NE(help.find("LF"), std::string::npos) << help;
    }
    EXPECT_TRUE(run("LANG=C", "--help").out.starts_with("Usage: quenlo-split"));
}

TEST_F(SplitCommandTest, DashReadsStandardInput) {
    const Outcome outcome =
        Shell("printf 'a\\r\\n b\\r\\n' | \"$SPLIT\" --out " + Quote(out) + " - 1");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(ReadFile(Result(1)), "a\r\n");
    EXPECT_EQ(ReadFile(Result(2)), "b\r\n");
}

TEST_F(SplitCommandTest, AFailedFinalMessageIsAFailure) {
    WriteFile(scratch.path() / "in.txt", "a\r\n");
    const Outcome outcome = Shell("\"$SPLIT\" --out " + Quote(out) + " in.txt >/dev/full");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("无法写入标准输出"), std::string::npos) << outcome.err;
}

// Odd values go ahead by the window's rules, with a word on stderr.
TEST_F(SplitCommandTest, WarnsHowAnOddLinesPerFileIsRead) {
    ::setenv("LC_ALL", "C", 1);
    std::string lines;
    for (int i = 0; i < 40; ++i) {
        lines += "x\r\n";
    }
    WriteFile(scratch.path() / "in.txt", lines);
    const Outcome grouped = Split("in.txt 30,000");
    EXPECT_EQ(grouped.status, 0);
    EXPECT_NE(grouped.err.find("read as 30"), std::string::npos) << grouped.err;
    EXPECT_EQ(ReadFile(Result(2)), "x\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\nx\r\n");
    for (const char* value : {"abc", "0", "-5", "2.5"}) {
        SCOPED_TRACE(value);
        std::filesystem::remove_all(out);
        const Outcome outcome = Split(std::string("in.txt ") + value);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_NE(outcome.err.find("file 1"), std::string::npos) << outcome.err;
        EXPECT_FALSE(std::filesystem::exists(Result(2)));
    }
    std::filesystem::remove_all(out);
    EXPECT_EQ(Split("in.txt 030").err, "");
}

// The command line's small rules as typed ("quenlo-split" stands for it with --out o):
// the status, stderr word for word, the lines in each result file. in.txt holds " 1 "
// to " 12 "; whatever a run writes is the input's last lines, in order, and a run that
// cannot start leaves no folder.
TEST_F(SplitCommandTest, SmallRulesAsTyped) {
    std::string lines, last;
    for (int i = 1; i <= 12; ++i) {
        lines.append(" ").append(std::to_string(i)).append(" \r\n");
    }
    WriteFile(scratch.path() / "in.txt", lines);
    std::filesystem::create_directory(scratch.path() / "folder");
    out = scratch.path() / "o";
    const std::string warn = "quenlo-split: warning: LINES_PER_FILE ";
    const std::string fileOne = " is not a whole number from 1 on, so every line goes to file 1\n";
    const std::string cannotOpen = "quenlo-split: cannot open the input file ";
    const std::string chinese =
        "quenlo-split: 无法打开输入文件「missing.txt」：没有那个文件或目录\n";
    const std::string english = cannotOpen + "\"missing.txt\": No such file or directory\n";
    const struct {
        std::string command;
        int status;
        std::string err;
        std::vector<int> files;
    } rows[] = {
        {"quenlo-split in.txt 1e1", 0, warn + "\"1e1\" is read as 10\n", {10, 2}},
        {"quenlo-split in.txt 1e3", 0, warn + "\"1e3\" is read as 1000\n", {12}},
        {"quenlo-split in.txt +5", 0, warn + "\"+5\" is read as 5\n", {5, 5, 2}},
        {"quenlo-split in.txt ' 5 '", 0, "", {5, 5, 2}},
        {"quenlo-split in.txt 99999999999999999999", 0, "", {12}},
        // After "-" anything that reads as a number is one; the rest are options.
        {"quenlo-split in.txt -.5", 0, warn + "\"-.5\"" + fileOne, {12}},
        {"quenlo-split in.txt '- 5'", 0, warn + "\"- 5\"" + fileOne, {12}},
        {"quenlo-split in.txt -.",
         2,
         "quenlo-split: unknown option -.; see quenlo-split --help\n",
         {}},
        {"quenlo-split in.txt --5",
         2,
         "quenlo-split: unknown option --5; see quenlo-split --help\n",
         {}},
        // Empty is unset; any zh_* is Chinese; LANGUAGE adds no second language.
        {"LC_ALL= LANG=zh_CN.UTF-8 quenlo-split missing.txt", 1, chinese, {}},
        {"LC_ALL= LC_MESSAGES=C LANG=zh_CN.UTF-8 quenlo-split missing.txt", 1, english, {}},
        {"LC_ALL=zh_TW.UTF-8 LANG=C quenlo-split missing.txt", 1, chinese, {}},
        {"LC_ALL=zh_CN.UTF-8 LC_MESSAGES=C quenlo-split missing.txt", 1, chinese, {}},
        {"LC_ALL=C LC_MESSAGES=zh_CN.UTF-8 quenlo-split missing.txt", 1, english, {}},
        {"LANG= quenlo-split missing.txt", 1, english, {}},
        {"LANGUAGE=en LANG=zh_CN.UTF-8 quenlo-split missing.txt", 1, chinese, {}},
        // Refused where it is opened: a folder, a missing standard input.
        {"quenlo-split folder", 1, cannotOpen + "\"folder\": Is a directory\n", {}},
        {"quenlo-split - <folder", 1, cannotOpen + "\"-\": Is a directory\n", {}},
        {"quenlo-split - <&-", 1, cannotOpen + "\"-\": Bad file descriptor\n", {}},
        // Standard input that is a file goes on from where its reader left it.
        {"(read first; quenlo-split - 5) <in.txt", 0, "", {5, 5, 1}},
        {"(cat >/dev/null; quenlo-split - 5) <in.txt", 0, "", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command);
        std::filesystem::remove_all(out);
        std::string command = row.command;
        command.replace(command.find("quenlo-split"), 12, "\"$SPLIT\" --out o");
        const Outcome outcome = Shell("unset LC_ALL LC_MESSAGES LANG LANGUAGE; " + command);
        EXPECT_EQ(outcome.status, row.status);
        EXPECT_EQ(outcome.err, row.err);
        std::vector<int> files;
        for (std::int64_t n = 1; std::filesystem::exists(Result(n)); ++n) {
            const std::string held = ReadFile(Result(n));
            files.push_back(static_cast<int>(std::count(held.begin(), held.end(), '\n')));
        }
        EXPECT_EQ(files, row.files);
        last.clear();
        for (int i = 13 - std::accumulate(files.begin(), files.end(), 0); i <= 12; ++i) {
            last.append(std::to_string(i)).append("\r\n");
        }
        EXPECT_EQ(AllResults(), last);
        EXPECT_TRUE(row.status == 0 || !std::filesystem::exists(out));
    }
}

// A file made where lines end in LF alone is split into its lines, with one line of
// notice; a file with CRs keeps a lone LF inside its line, without a word.
TEST_F(SplitCommandTest, LinesEndingInLineFeedsAreSplitWithANotice) {
    ::setenv("LC_ALL", "C", 1);
    WriteFile(scratch.path() / "lf.txt", " a \nb\n\nc");
    Outcome outcome = Split("lf.txt 2");
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "quenlo-split: \"lf.txt\": lines end in LF\n");
    EXPECT_EQ(ReadFile(Result(1)), "a\r\nb\r\n");
    EXPECT_EQ(ReadFile(Result(2)), "\r\nc\r\n");
    std::filesystem::remove_all(out);
    // UTF-16 line feeds alike.
    WriteFile(scratch.path() / "lf16.txt", "\xFF\xFE" + Utf16LE(u"a\nb\n"));
    outcome = Split("lf16.txt 1");
    EXPECT_NE(outcome.err.find("lines end in LF"), std::string::npos) << outcome.err;
    EXPECT_EQ(ReadFile(Result(2)), "\xFF\xFE" + Utf16LE(u"b\r\n"));
    std::filesystem::remove_all(out);
    WriteFile(scratch.path() / "crlf.txt", "a\nb\r\nc\n");
    outcome = Split("crlf.txt");
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(ReadFile(Result(1)), "a\nb\r\nc\n\r\n");
    ::setenv("LC_ALL", "zh_CN.UTF-8", 1);
    EXPECT_EQ(Split("lf.txt").err, "quenlo-split: “lf.txt”：各行以 LF 结尾\n");
}

// The command line deletes nothing, takes INPUT as given, and writes nothing before
// it knows the input is no result file.
TEST_F(SplitCommandTest, NeverDeletesAFileOfTheOutFolder) {
    std::filesystem::create_directories(out);
    const auto named = out / U8("in-" + DateStamp(Today()) + ".txt");
    WriteFile(named, "the user's own");
    WriteFile(scratch.path() / "in.txt", "a\r\n");
    EXPECT_EQ(Split("in.txt").status, 0);
    EXPECT_EQ(ReadFile(named), "the user's own");
    EXPECT_EQ(Split("missing.txt").status, 1);
    EXPECT_EQ(ReadFile(named), "the user's own");
}

TEST_F(SplitCommandTest, InputNameIsUsedExactlyAsGiven) {
    WriteFile(scratch.path() / "a.txt", "trimmed name\r\n");
    WriteFile(scratch.path() / " a.txt", "exact name\r\n");
    EXPECT_EQ(Split("' a.txt'").status, 0);
    EXPECT_EQ(ReadFile(Result(1)), "exact name\r\n");
}

TEST_F(SplitCommandTest, LinkToAResultIsRefusedBeforeAnythingIsWritten) {
    std::filesystem::create_directories(out);
    WriteFile(Result(2), "x\r\n");
    std::filesystem::create_symlink(Result(2), scratch.path() / "link.txt");
    const Outcome outcome = Split("link.txt 1");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find("link.txt"), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(Result(1)));
    EXPECT_EQ(ReadFile(Result(2)), "x\r\n");
}

TEST_F(SplitCommandTest, TwoRunsStartedAtOnceIntoANewFolderBothSucceed) {
    WriteFile(scratch.path() / "in.txt", "a\r\n");
    for (int round = 0; round < 10; ++round) {
        out = scratch.path() / ("new" + std::to_string(round));
        const std::string one = "\"$SPLIT\" --out " + Quote(out) + " in.txt";
        const Outcome outcome = Shell(one + " & " + one +
                                      " & s=0; for p in $(jobs -p); do "
                                      "wait $p || s=$?; done; exit $s");
        ASSERT_EQ(outcome.status, 0) << outcome.err;
    }
}

// A process of quenlo-split that the test feeds through a FIFO and signals, as a
// person with Ctrl-C, `kill` or a service manager would.
class SplitStopTest : public SplitCommandTest {
protected:
    std::filesystem::path fifo = scratch.path() / "in.txt";
    pid_t pid = -1;
    int writer = -1;
    int terminal = -1;  // the master side when quenlo-split runs on a terminal

    void SetUp() override { ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0); }
    void TearDown() override {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        CloseWriter();
        if (terminal >= 0) {
            ::close(terminal);
        }
    }

    std::vector<std::string> Arguments(const std::string& linesPerFile) {
        return {QUENLO_SPLIT, "--out", Utf8(out), Utf8(fifo), linesPerFile};
    }
    void Start(const std::string& linesPerFile) {
        const auto stdoutFile = scratch.path() / "stdout";
        const auto stderrFile = scratch.path() / "stderr";
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, stdoutFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, stderrFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        std::vector<std::string> arguments = Arguments(linesPerFile);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        ASSERT_EQ(posix_spawn(&pid, QUENLO_SPLIT, &actions, nullptr, argv.data(), environ), 0);
        posix_spawn_file_actions_destroy(&actions);
    }
    void StartOnATerminal(const std::string& linesPerFile) {
        std::vector<std::string> arguments = Arguments(linesPerFile);
        pid = ::forkpty(&terminal, nullptr, nullptr, nullptr);
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            std::vector<char*> argv;
            for (std::string& argument : arguments) {
                argv.push_back(argument.data());
            }
            argv.push_back(nullptr);
            ::execv(QUENLO_SPLIT, argv.data());
            ::_exit(127);
        }
    }
    void OpenWriter() {
        writer = ::open(fifo.c_str(), O_WRONLY);
        ASSERT_GE(writer, 0);
    }
    void Feed(std::string_view bytes) {
        ASSERT_EQ(::write(writer, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
    }
    void CloseWriter() {
        if (writer >= 0) {
            ::close(writer);
            writer = -1;
        }
    }
    // Waits (at most 20 s) until the result files hold these bytes: quenlo-split has
    // taken them in and now waits for more.
    void WaitForResults(const std::string& expected) {
        for (int i = 0; i < 400 && AllResults() != expected; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ASSERT_EQ(AllResults(), expected);
    }
    // Waits (at most 20 s) for the process to end; -1 unless it exited by itself.
    int WaitForExit() {
        int raw = 0;
        for (int i = 0; i < 400; ++i) {
            if (::waitpid(pid, &raw, WNOHANG) == pid) {
                pid = -1;
                return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ADD_FAILURE() << "quenlo-split did not end";
        return -1;
    }
    std::string Stderr() { return ReadFile(scratch.path() / "stderr"); }
    // The line is the head, the seconds, the tail: nothing else, nothing left behind.
    static bool SecondsBetween(const std::string& line, const std::string& head,
                               const std::string& tail) {
        return line.size() > head.size() + tail.size() && line.starts_with(head) &&
               line.ends_with(tail) &&
               line.find_first_not_of("0123456789", head.size()) == line.size() - tail.size();
    }
    // The progress line as quenlo-split leaves it on its terminal, once the terminal
    // closes (at most 20 s).
    std::string LastProgressLine() {
        std::string shown;
        char buffer[4096];
        for (int i = 0; i < 200; ++i) {
            pollfd wait{terminal, POLLIN, 0};
            if (::poll(&wait, 1, 100) > 0) {
                const ssize_t n = ::read(terminal, buffer, sizeof buffer);
                if (n <= 0) {
                    break;  // the terminal's other side has closed
                }
                shown.append(buffer, static_cast<std::size_t>(n));
            }
        }
        // The last rewrite of the line, which then ends ("\n" becomes "\r\n").
        const std::size_t start = shown.rfind("总共处理行数");
        const std::size_t end = shown.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << shown;
        return start == std::string::npos ? shown : shown.substr(start, end - start);
    }
};

TEST_F(SplitStopTest, CtrlCWhileTheWriterStallsStopsWithTheCountedLinesOnly) {
    Start("1");
    OpenWriter();
    // And then nothing, with the pipe still open: a CR may yet be followed by its LF,
    // but the line it ends is written meanwhile.
    Feed("a\rb\r");
    WaitForResults("a\r\nb\r\n");
    ::kill(pid, SIGINT);
    EXPECT_EQ(WaitForExit(), 130);
    EXPECT_EQ(AllResults(), "a\r\nb\r\n");
    EXPECT_EQ(Stderr(), "");
}

TEST_F(SplitStopTest, CtrlCWhileWaitingForAWriterIsAStopNotAnError) {
    Start("1");
    // The results folder is made just after the input is opened.
    for (int i = 0; i < 400 && !std::filesystem::exists(out); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    ::kill(pid, SIGINT);
    EXPECT_EQ(WaitForExit(), 130);
    EXPECT_EQ(Stderr(), "");
    EXPECT_EQ(AllResults(), "");
}

TEST_F(SplitStopTest, TerminationAndHangUpStopLikeCtrlCWithTheirOwnStatus) {
    for (const auto& [signal, status] : {std::pair{SIGTERM, 143}, std::pair{SIGHUP, 129}}) {
        SCOPED_TRACE(signal);
        std::filesystem::remove_all(out);
        Start("1000");
        OpenWriter();
        Feed("a\r\nb\r\nc");
        WaitForResults("a\r\nb\r\n");
        ::kill(pid, signal);
        EXPECT_EQ(WaitForExit(), status);  // exited by itself, after closing its files
        EXPECT_EQ(AllResults(), "a\r\nb\r\n");
        CloseWriter();
    }
}

TEST_F(SplitStopTest, OnATerminalTheLastLineShowsTheFinalCountAndEnds) {
    StartOnATerminal("1000");
    OpenWriter();
    std::string lines;
    for (int i = 0; i < 777; ++i) {
        lines += "line\r\n";
    }
    Feed(lines);
    WaitForResults(lines);
    ::kill(pid, SIGINT);
    const std::string lastLine = LastProgressLine();
    EXPECT_EQ(WaitForExit(), 130);
    // The count and the seconds alone (a pipe has no size), nothing left after them.
    EXPECT_TRUE(SecondsBetween(lastLine, "总共处理行数：777    ", " 秒")) << lastLine;
}

TEST_F(SplitStopTest, OnATerminalAFileOfKnownSizeShowsHowFarTheRunIs) {
    std::filesystem::remove(fifo);
    WriteFile(fifo, "a\r\nb\r\n");
    StartOnATerminal("1");
    const std::string lastLine = LastProgressLine();
    EXPECT_EQ(WaitForExit(), 0);
    EXPECT_TRUE(SecondsBetween(lastLine, "总共处理行数：2    ", " 秒    100%")) << lastLine;
}

}  // namespace
}  // namespace quenlo::test
