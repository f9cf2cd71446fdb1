// Whole runs through the start button: the job, the window and the pump together.
#include <objbase.h>
#include <shobjidl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <fstream>
#include <memory>
#include <vector>
#include <iterator>
#include <string>
#include <thread>
#include <utility>

#include "conversion/output_naming.h"
#include "conversion/texts.h"
#include "live_input.h"
#include "import_hook.h"
#include "main_window/taskbar_button.h"
#include "platform/ansi_text.h"
#include "tests/conversion/test_support.h"
#include "tests/main_window/window_fixture.h"

namespace quenlo {
namespace {

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(MainWindowTest, WholeRunSplitsTheFileAndReportsTheEnd) {
    Open();
    const std::string input = WriteInput("七行.txt", 7);
    Window().SetText(ControlId::Text4, input);
    Window().SetText(ControlId::Text7, " 3 ");

    Click(ControlId::Command2);

    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, kFinishedText);
    EXPECT_EQ(boxes_[0].title, kFinishedTitle);
    EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
    EXPECT_EQ(Text(ControlId::Label7), "总共处理行数：7");
    EXPECT_FALSE(Window().Timer1Enabled());
    EXPECT_FALSE(KillTimer(window_, MainWindow::kTimer1Id)) << "Timer1 still ticks";
    EXPECT_FALSE(Window().IsRunning());
    EXPECT_EQ(ReadAll(results_ / "1-2026-12-07.txt"), "line 1\r\nline 2\r\nline 3\r\n");
    EXPECT_EQ(ReadAll(results_ / "2-2026-12-07.txt"), "line 4\r\nline 5\r\nline 6\r\n");
    EXPECT_EQ(ReadAll(results_ / "3-2026-12-07.txt"), "line 7\r\n");
    EXPECT_EQ(OutputFiles().size(), 3u);
}

TEST_F(MainWindowTest, CaptionReadsStopWhileTheRunLasts) {
    services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
    Open();
    Window().SetText(ControlId::Text4, WriteInput("in.txt", 3));
    std::string seen;
    const RunProbe probe(1, [&] {
        if (seen.empty()) {
            seen = Text(ControlId::Command2);
        }
    });
    Sleep(20);  // let the timer come due, so the first pump sees it
    Click(ControlId::Command2);
    EXPECT_EQ(seen, kStopCaption);
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
}

TEST_F(MainWindowTest, StopAfterSomeLinesLeavesExactlyTheCountedLinesAndStopsTheSeconds) {
    services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
    OnceTheFirstResultFileExists([this] { PostClick(ControlId::Command2); });  // stop
    Open();
    constexpr int kLines = 50000;
    Window().SetText(ControlId::Text4, WriteInput("big.txt", kLines));
    Window().SetText(ControlId::Text7, "1000");

    Click(ControlId::Command2);

    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
    EXPECT_TRUE(Window().StopRequested());
    // 已用时 keeps the seconds the run took: the system timer itself is gone, so no
    // tick can come any more.
    EXPECT_FALSE(Window().Timer1Enabled());
    EXPECT_FALSE(KillTimer(window_, MainWindow::kTimer1Id));
    const long long shown = ShownTotal();
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, kLines);
    EXPECT_EQ(OutputLineCount(), shown);
    Window().SetText(ControlId::Label6, "2 秒");  // as if the run had taken two seconds

    // The next start resets both counters before it runs.
    Window().SetText(ControlId::Text4, WriteInput("empty.txt", 0));
    Click(ControlId::Command2);
    EXPECT_EQ(Text(ControlId::Label6), "0 秒");
    EXPECT_EQ(Text(ControlId::Label7), "总共处理行数：0");
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, kFinishedText);
    EXPECT_FALSE(Window().Timer1Enabled());
}

// Timer1 is gone at the stop click itself: a stopped run may take long to return.
TEST_F(MainWindowTest, Timer1StopsAtTheStopClickNotWhenTheStoppedRunReturns) {
    services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
    Open();
    Window().SetText(ControlId::Text4, WriteInput("big.txt", 50000));
    int running = 0;
    BOOL timerLeft = TRUE;
    const RunProbe probe(0, [&] {
        if (Window().IsRunning() && running++ == 0) {
            Click(ControlId::Command2);  // handled at once, inside the run
            timerLeft = KillTimer(window_, MainWindow::kTimer1Id);
        }
    });
    probe.Poke();  // seen at the run's first pump
    Click(ControlId::Command2);
    EXPECT_EQ(running, 1);
    EXPECT_FALSE(timerLeft);
}

// Every line opens a file of its own, and every look at the run's clock finds the pump
// due, as on a slow disk: a stop click that comes with the first file must take effect
// after the first line, not after the hundreds of cheap lines the job lets pass between
// two looks at the clock.
TEST_F(MainWindowTest, StopTakesEffectAtOnceWhenEveryLineOpensAFile) {
    auto now = std::chrono::steady_clock::time_point{};
    services_.runOptions.clock = [&now] { return now += std::chrono::milliseconds(20); };
    OnceTheFirstResultFileExists([this] { PostClick(ControlId::Command2); });  // stop
    Open();
    Window().SetText(ControlId::Text4, WriteInput("in.txt", 1000));
    Window().SetText(ControlId::Text7, "1");

    Click(ControlId::Command2);

    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
    EXPECT_EQ(ShownTotal(), 1);
    EXPECT_EQ(OutputFiles().size(), 1u);
    EXPECT_EQ(OutputLineCount(), 1);
}

// A person who stops right after starting clicks twice on the same spot within the
// double-click time, with the real mouse: the second click must stop the run.
TEST_F(MainWindowTest, StopClickedRightAfterTheStartClickStopsTheRun) {
    services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
    Open(SW_SHOW);  // the mouse reaches only a window on the screen
    SetForegroundWindow(window_);
    constexpr int kLines = 50000;
    Window().SetText(ControlId::Text4, WriteInput("big.txt", kLines));
    const HWND button = Control(ControlId::Command2);
    RECT box{};
    GetWindowRect(button, &box);
    const POINT middle{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    ASSERT_TRUE(PumpUntil([&] { return WindowFromPoint(middle) == button; }));
    SetCursorPos(middle.x, middle.y);

    INPUT clicks[4] = {};
    for (int i = 0; i < 4; ++i) {
        clicks[i].type = INPUT_MOUSE;
        clicks[i].mi.dwFlags = i % 2 == 0 ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
    }
    SendInput(4, clicks, sizeof(INPUT));
    // The run makes the results folder first; the stop may come before its first line
    // when the first read is slow.
    ASSERT_TRUE(
        PumpUntil([&] { return std::filesystem::exists(results_) && !Window().IsRunning(); }));

    EXPECT_TRUE(boxes_.empty()) << "the run went on to its end";
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
    const long long shown = ShownTotal();
    EXPECT_LT(shown, kLines);
    EXPECT_EQ(OutputLineCount(), shown);
}

TEST_F(MainWindowTest, StartClickBeforeAStoppedRunReturnsIsIgnored) {
    services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
    Open();
    constexpr int kLines = 50000;
    Window().SetText(ControlId::Text4, WriteInput("big.txt", kLines));

    PostClick(ControlId::Command2);  // stop
    PostClick(ControlId::Command2);  // start again, in the same pump: must not nest a run
    Click(ControlId::Command2);

    EXPECT_TRUE(boxes_.empty());
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
    const long long shown = ShownTotal();
    EXPECT_LT(shown, kLines);
    EXPECT_EQ(OutputLineCount(), shown);
}

// Whenever the window is live during a run, every line Label7 counts is in the files.
// (The pumps a run makes in the middle of a line leave the count as it was while the
// files may already hold more; a stop only ever takes effect at a line's end, where
// the two are equal, as the stop tests show.)
TEST_F(MainWindowTest, FilesHoldEveryCountedLineWheneverTheWindowIsLive) {
    int checks = 0;
    int shortfalls = 0;
    bool checkAsked = false;
    const RunProbe probe(0, [&] {
        checkAsked = false;
        if (Window().IsRunning()) {
            ++checks;
            shortfalls += OutputLineCount() < ShownTotal();
        }
    });
    // The run's clock moves on 0.2 ms at each look, so the window is live about every
    // 19000 lines (some 15 pumps, each at another place in a file) however fast or
    // slow the machine: on the real clock a quick run may not pump at all, and a
    // timer's ticks may all fall after it. Each look asks for a check at the next
    // pump, so every pump is checked.
    services_.runOptions.clock = [&, now = std::chrono::steady_clock::time_point()]() mutable {
        if (!checkAsked) {
            checkAsked = true;
            probe.Poke();
        }
        return now += std::chrono::microseconds(200);
    };
    Open();
    constexpr int kLines = 300000;
    Window().SetText(ControlId::Text4, WriteInput("big.txt", kLines));
    Window().SetText(ControlId::Text7, "7000");
    Click(ControlId::Command2);

    EXPECT_GT(checks, 0);
    EXPECT_EQ(shortfalls, 0);
    EXPECT_EQ(ShownTotal(), kLines);
    EXPECT_EQ(OutputLineCount(), kLines);
}

TEST_F(MainWindowTest, ClosingDuringARunStopsItThenCloses) {
    services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
    OnceTheFirstResultFileExists([this] { PostMessageA(window_, WM_CLOSE, 0, 0); });
    Open();
    constexpr int kLines = 50000;
    Window().SetText(ControlId::Text4, WriteInput("big.txt", kLines));

    Click(ControlId::Command2);
    EXPECT_TRUE(IsWindow(window_));  // still there until the run has returned
    PumpUntilIdle();

    EXPECT_FALSE(IsWindow(window_));
    EXPECT_TRUE(boxes_.empty());
    EXPECT_GT(OutputLineCount(), 0);
    EXPECT_LT(OutputLineCount(), kLines);
}

// Windows asks whether the session may end, in the middle of a line longer than two
// read blocks: yes at once, and the run goes on; another program then cancels the end
// (wParam FALSE), and the run goes on to its end. When the session does end (wParam
// TRUE, here with no question first), the process may be ended as soon as the window
// answers: by then, with the run still below on the stack, the file holds exactly the
// counted lines and is closed.
TEST_F(MainWindowTest, SessionEndClosesTheFilesAtTheLastWholeLineAndTheQuestionStopsNothing) {
    std::vector<bool> reasons;  // the shutdown screen's reason shown, taken back
    services_.shutdownReason = [&](HWND, const wchar_t* reason) {
        reasons.push_back(reason != nullptr);
        EXPECT_TRUE(!reason || std::wstring(reason) == L"正在保存拆分结果…");
    };
    const std::filesystem::path first = results_ / "1-2026-12-07.txt";
    bool ending = false;  // whether this run's session ends
    bool answered = false;
    long long shownAtAnswer = -1;
    std::string heldAtAnswer;
    HANDLE alone = INVALID_HANDLE_VALUE;  // opened with no sharing: no handle of the run's
    const RunProbe probe(0, [&] {
        if (std::exchange(answered, true)) {
            return;
        }
        if (!ending) {
            EXPECT_EQ(SendMessageA(window_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
            EXPECT_EQ(reasons, std::vector<bool>{true});
            EXPECT_FALSE(Window().StopRequested()) << "stopped at the question";
            SendMessageA(window_, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
            EXPECT_EQ(reasons, (std::vector<bool>{true, false}));
            return;
        }
        SendMessageA(window_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_TRUE(Window().IsRunning());
        shownAtAnswer = ShownTotal();
        heldAtAnswer = ReadAll(first);
        alone = CreateFileW(first.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        CloseHandle(alone);
    });
    // Every look at the clock finds a pump due; the session's end comes once part of
    // the long line is on disk.
    services_.runOptions.clock = [&, now = std::chrono::steady_clock::time_point()]() mutable {
        if (!answered && std::filesystem::exists(first) &&
            std::filesystem::file_size(first) > (512 << 10)) {
            probe.Poke();
        }
        return now += std::chrono::seconds(1);
    };
    Open();
    // Without a run the end of the session changes nothing.
    EXPECT_EQ(SendMessageA(window_, WM_QUERYENDSESSION, 0, 0), TRUE);
    SendMessageA(window_, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(reasons.empty());
    EXPECT_FALSE(Window().StopRequested());

    const std::filesystem::path input = work_ / "long.txt";
    std::ofstream(input, std::ios::binary) << "a\r\nb\r\n"
                                           << std::string(3 << 20, 'x') << "\r\nc\r\n";
    Window().SetText(ControlId::Text4, Utf8FromPath(input));
    Click(ControlId::Command2);
    EXPECT_TRUE(answered);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, kFinishedText);
    EXPECT_EQ(ShownTotal(), 4);
    EXPECT_EQ(OutputLineCount(), 4);

    std::filesystem::remove_all(results_);
    boxes_.clear();
    reasons.clear();
    ending = true;
    answered = false;
    Click(ControlId::Command2);
    EXPECT_EQ(shownAtAnswer, 2);
    EXPECT_TRUE(heldAtAnswer == "a\r\nb\r\n") << heldAtAnswer.size() << " bytes";
    EXPECT_NE(alone, INVALID_HANDLE_VALUE);
    EXPECT_EQ(reasons, (std::vector<bool>{true, false}));
    EXPECT_TRUE(boxes_.empty());  // stopped: no "finished"
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
    EXPECT_EQ(ShownTotal(), 2);
    EXPECT_TRUE(ReadAll(first) == "a\r\nb\r\n");
}

TEST_F(MainWindowTest, AQuitDuringARunStopsItAndIsPostedAgain) {
    services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
    Open();
    Window().SetText(ControlId::Text4, WriteInput("big.txt", 50000));

    PostQuitMessage(3);
    Click(ControlId::Command2);

    EXPECT_LT(OutputLineCount(), 50000);
    MSG message{};
    bool quitSeen = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            quitSeen = true;
            EXPECT_EQ(message.wParam, 3u);
            break;
        }
        DispatchMessageA(&message);
    }
    EXPECT_TRUE(quitSeen);
}

// The input lies on a share that stops answering after two lines: the read of the
// rest waits until cancelled. The stop button and the close box, clicked after the
// first line and seen after the second, both reach that read.
TEST_F(MainWindowTest, StopAndCloseCancelAReadThatHangs) {
    test::StallingFiles shares[2];
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "stop");
        test::StallingFiles& stalling = shares[close];
        stalling.before = "a\r\nb\r\n";
        stalling.after = "c\r\n";
        stalling.length = 9;
        services_.files = &stalling;
        services_.runOptions.pumpInterval = std::chrono::milliseconds(0);
        OnceTheFirstResultFileExists([this, close] {
            if (close) {
                PostMessageA(window_, WM_CLOSE, 0, 0);
            } else {
                PostClick(ControlId::Command2);
            }
        });
        if (IsWindow(window_)) {
            DestroyWindow(window_);  // a window takes its services when made
        }
        Open();
        std::filesystem::remove_all(results_);
        Window().SetText(ControlId::Text4, WriteInput("share.txt", 0));

        Click(ControlId::Command2);
        EXPECT_TRUE(stalling.StallCancelled());
        EXPECT_TRUE(boxes_.empty());  // a stop, no failure
        EXPECT_EQ(OutputLineCount(), 2);
        if (close) {
            PumpUntilIdle();
            EXPECT_FALSE(IsWindow(window_));
        } else {
            EXPECT_EQ(ShownTotal(), 2);
            EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
        }
    }
}

// The same share where the system cannot cancel the read: the stop and the close
// return all the same. While they wait the window answers another thread, takes a
// second close and click without starting anything, and a session end closes the
// file at its last whole line; the run's clock holds the patience until then.
TEST_F(MainWindowTest, StopAndCloseLeaveBehindAReadThatIgnoresTheCancel) {
    test::StallingFiles shares[2];
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close ? "close" : "stop");
        test::StallingFiles& stalling = shares[close];
        stalling.before = "a\r\nb\r\nhal";
        stalling.after = "f\r\n";
        stalling.length = 12;
        stalling.ignoresCancel = true;
        services_.files = &stalling;
        services_.runOptions.pumpInterval = std::chrono::milliseconds(1);
        services_.runOptions.readPatience = std::chrono::hours(1);
        std::atomic<bool> answered{false};
        bool liveInTheWait = false;
        std::string heldAtEnd;
        HANDLE alone = INVALID_HANDLE_VALUE;
        const RunProbe probe(0, [&] {  // sent from the other thread
            answered = true;
            liveInTheWait = Window().IsRunning() && stalling.Stalled();
            if (!liveInTheWait) {
                return;  // too late: the close below would go through at once
            }
            SendMessageA(window_, WM_CLOSE, 0, 0);
            Click(ControlId::Command2);
            SendMessageA(window_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
            heldAtEnd = ReadAll(results_ / "1-2026-12-07.txt");
            alone = CreateFileW((results_ / "1-2026-12-07.txt").c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, 0, nullptr);
            CloseHandle(alone);
        });
        std::thread other;
        bool stopSent = false;  // here, not in the clock: the run keeps copies of it
        services_.runOptions.clock = [&] {
            if (stalling.Stalled() && !stopSent) {
                stopSent = true;
                if (close) {
                    PostMessageA(window_, WM_CLOSE, 0, 0);
                } else {
                    PostClick(ControlId::Command2);
                }
            } else if (stopSent && Window().StopRequested() && !other.joinable()) {
                other = std::thread([&probe] {
                    DWORD_PTR result = 0;
                    SendMessageTimeoutA(probe.Handle(), WM_TIMER, 0, 0, SMTO_NORMAL, 20000,
                                        &result);
                });
            }
            return std::chrono::steady_clock::now() + std::chrono::hours(answered ? 2 : 0);
        };
        if (IsWindow(window_)) {
            DestroyWindow(window_);
        }
        Open();
        std::filesystem::remove_all(results_);
        Window().SetText(ControlId::Text4, WriteInput("share.txt", 0));

        Click(ControlId::Command2);
        EXPECT_TRUE(stalling.Stalled()) << "the run waited until the read returned";
        ASSERT_TRUE(IsWindow(window_));
        EXPECT_TRUE(boxes_.empty());
        EXPECT_EQ(ShownTotal(), 2);
        PumpUntil([&] { return answered.load(); });  // late, should the wait not answer
        other.join();
        EXPECT_TRUE(liveInTheWait);
        EXPECT_EQ(heldAtEnd, "a\r\nb\r\n");
        EXPECT_NE(alone, INVALID_HANDLE_VALUE) << "still open at the session's end";
        PumpUntilIdle();
        EXPECT_FALSE(IsWindow(window_)) << "the second close was kept for after the run";
        stalling.Release();
        EXPECT_TRUE(stalling.InputsClosed());
    }
}

TEST_F(MainWindowTest, JobErrorsAppearAsErrorBoxesNamingTheFile) {
    Open();
    Window().SetText(ControlId::Text4, Utf8FromPath(work_ / "missing.txt"));
    Click(ControlId::Command2);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_NE(boxes_[0].text.find("missing.txt"), std::string::npos) << boxes_[0].text;
    EXPECT_EQ(boxes_[0].text.find("Quenlo 移到"), std::string::npos) << "not the folder's fault";
    EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
    EXPECT_TRUE(OutputFiles().empty());

    // The results folder cannot be made, or a file in it cannot be written (as beside
    // a Quenlo in Program Files): the box names the folder and says where to move Quenlo.
    Window().SetText(ControlId::Text4, WriteInput("ok.txt", 3));
    const std::string folderNamed = "「" + Utf8FromPath(results_) + "」中。";
    for (const std::string_view failure : {kCannotCreateFolder, kCannotWriteOutput}) {
        SCOPED_TRACE(failure);
        std::filesystem::remove_all(results_);
        if (failure == kCannotCreateFolder) {
            std::ofstream(results_) << "a file where the folder goes";
        } else {
            std::filesystem::create_directories(results_ / "1-2026-12-07.txt");  // not a file
        }
        boxes_.clear();
        Click(ControlId::Command2);
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].text.rfind(failure, 0), 0u) << boxes_[0].text;
        EXPECT_NE(boxes_[0].text.find(folderNamed), std::string::npos) << boxes_[0].text;
        EXPECT_NE(boxes_[0].text.find("请把 Quenlo 移到您可以写入的文件夹"), std::string::npos);
    }

    // A folder is named as one, in quotes as pasted from Explorer too, and no run starts.
    const std::string folder = Utf8FromPath(work_);
    for (const std::string& text : {folder, " \"" + folder + "\" "}) {
        SCOPED_TRACE(text);
        boxes_.clear();
        Window().SetText(ControlId::Label6, "5 秒");
        Window().SetText(ControlId::Text4, text);
        Click(ControlId::Command2);
        ASSERT_EQ(boxes_.size(), 1u);
        EXPECT_EQ(boxes_[0].text, "无法打开输入文件「" + folder + "」：这是一个文件夹，不是文件。");
        EXPECT_EQ(boxes_[0].title, kErrorTitle);
        EXPECT_EQ(boxes_[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
        EXPECT_EQ(Text(ControlId::Command2), kStartCaption);
        EXPECT_EQ(Text(ControlId::Label6), "5 秒");
        EXPECT_FALSE(Window().Timer1Enabled());
    }
}

// What the window told its taskbar button, in order, with the boxes it showed between.
class TaskbarLog final : public TaskbarButton {
public:
    void ButtonCreated(HWND) override { events.push_back("created"); }
    void ShowProgress(HWND, std::uint64_t done, std::uint64_t total) override {
        events.push_back("progress");
        progress.emplace_back(done, total);
    }
    void ShowError(HWND) override { events.push_back("error"); }
    void Clear(HWND) override { events.push_back("clear"); }
    void Flash(HWND) override { events.push_back("flash"); }
    void Reset() {
        events.clear();
        progress.clear();
    }
    // Every event, with each run of progress as one.
    std::vector<std::string> Steps() const {
        std::vector<std::string> steps;
        for (const std::string& event : events) {
            if (event != "progress" || steps.empty() || steps.back() != event) {
                steps.push_back(event);
            }
        }
        return steps;
    }
    std::vector<std::string> events;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> progress;
};

class TaskbarTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        services_.taskbar = log_;
        const auto boxes = services_.messageBox;
        services_.messageBox = [this, boxes](HWND owner, std::string_view text,
                                             std::string_view title, UINT type) {
            log_->events.push_back("box");
            return boxes(owner, text, title, type);
        };
        // Every look at the clock finds a pump due: many pumps, whatever the speed.
        services_.runOptions.clock = [now = std::chrono::steady_clock::time_point()]() mutable {
            return now += std::chrono::seconds(1);
        };
    }
    // The bytes read only ever grow, against the input's whole length.
    void ExpectProgressForward(std::uint64_t length) {
        ASSERT_GE(log_->progress.size(), 2u) << "a run of several blocks shows its way";
        for (std::size_t i = 0; i < log_->progress.size(); ++i) {
            EXPECT_EQ(log_->progress[i].second, length);
            EXPECT_LE(log_->progress[i].first, length);
            if (i > 0) {
                EXPECT_GT(log_->progress[i].first, log_->progress[i - 1].first);
            }
        }
    }
    std::shared_ptr<TaskbarLog> log_ = std::make_shared<TaskbarLog>();
};

TEST_F(TaskbarTest, ButtonShowsTheRunGoingForwardAndNothingOnceItEndsStopsOrFails) {
    Open(SW_SHOW);
    const std::string input = WriteInput("big.txt", 300000);  // several read blocks
    const auto length = static_cast<std::uint64_t>(std::filesystem::file_size(PathFromUtf8(input)));
    Window().SetText(ControlId::Text4, input);

    // Ended while someone works in another window: cleared before the box, flashed.
    const HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                       nullptr, nullptr, nullptr, nullptr);
    skin::BringToFront(other);
    Click(ControlId::Command2);
    DestroyWindow(other);
    ASSERT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(boxes_[0].text, kFinishedText);
    ExpectProgressForward(length);
    // Cleared before the box, then flashed; nothing but a clear after it.
    EXPECT_EQ(log_->Steps(),
              (std::vector<std::string>{"progress", "clear", "flash", "box", "clear"}));

    // Stopped by the user, who is in front: cleared, no flash.
    skin::BringToFront(window_);
    log_->Reset();
    bool stopped = false;
    const RunProbe probe(1, [&] {
        if (Window().IsRunning() && !log_->progress.empty() && !stopped) {
            stopped = true;
            PostClick(ControlId::Command2);
        }
    });
    Click(ControlId::Command2);
    ASSERT_TRUE(stopped);
    EXPECT_EQ(boxes_.size(), 1u);
    EXPECT_EQ(log_->Steps(), (std::vector<std::string>{"progress", "clear"}));

    // Failed: the error state while its box is up, then nothing.
    log_->Reset();
    Window().SetText(ControlId::Text4, Utf8FromPath(work_ / "missing.txt"));
    Click(ControlId::Command2);
    ASSERT_EQ(boxes_.size(), 2u);
    const std::vector<std::string> failed{"error", "box", "clear"};
    EXPECT_EQ(log_->events, failed);
}

// The shell's list as the real button drives it: what it is told, in order.
class RecordingTaskbarList final : public ITaskbarList3 {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE HrInit() override { return Told("init"), initResult; }
    HRESULT STDMETHODCALLTYPE SetProgressValue(HWND, ULONGLONG done, ULONGLONG total) override {
        return Told("value " + std::to_string(done) + " " + std::to_string(total));
    }
    HRESULT STDMETHODCALLTYPE SetProgressState(HWND, TBPFLAG state) override {
        return Told("state " + std::to_string(state));
    }
    HRESULT STDMETHODCALLTYPE AddTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ActivateTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetActiveAlt(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE MarkFullscreenWindow(HWND, WINBOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RegisterTab(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE UnregisterTab(HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTabOrder(HWND, HWND) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetTabActive(HWND, HWND, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(HWND, UINT, LPTHUMBBUTTON) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ThumbBarUpdateButtons(HWND, UINT, LPTHUMBBUTTON) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ThumbBarSetImageList(HWND, HIMAGELIST) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetOverlayIcon(HWND, HICON, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(HWND, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetThumbnailClip(HWND, RECT*) override { return E_NOTIMPL; }

    HRESULT Told(const std::string& what) {
        calls.push_back(what);
        return S_OK;
    }
    HRESULT initResult = S_OK;
    ULONG references = 0;
    std::vector<std::string> calls;
};

TEST(ShellTaskbarButton, TellsTheListDoneAndTotalInThatOrderAndFlashesUntilTheUserIsBack) {
    const HWND window = GetDesktopWindow();
    RecordingTaskbarList list;
    auto button = MakeShellTaskbarButton([&] {
        list.AddRef();  // a new reference, as from CoCreateInstance
        return &list;
    });
    button->ShowProgress(window, 5, 300);  // no button on the taskbar yet
    button->ButtonCreated(window);
    button->ButtonCreated(window);  // Explorer restarted: the same list serves
    button->ShowProgress(window, 10, 300);
    button->ShowError(window);
    button->Clear(window);
    EXPECT_EQ(list.calls, (std::vector<std::string>{"init", "value 10 300", "state 4", "state 0"}));
    const skin::UserCalls flashes;
    button->Flash(window);
    EXPECT_EQ(
        flashes.calls,
        (std::vector<skin::UserCall>{{"FlashWindowEx", window, FLASHW_ALL | FLASHW_TIMERNOFG, 0}}));
    button.reset();
    EXPECT_EQ(list.references, 0u);
    EXPECT_EQ(TaskbarButtonCreatedMessage(), RegisterWindowMessageA("TaskbarButtonCreated"));

    // No taskbar, then one that fails to start: each is let go and told nothing, and a
    // new button of the shell asks again.
    RecordingTaskbarList failing;
    failing.initResult = E_FAIL;
    bool none = true;
    button = MakeShellTaskbarButton(
        [&]() -> ITaskbarList3* { return none ? nullptr : (failing.AddRef(), &failing); });
    button->ButtonCreated(window);
    button->ShowProgress(window, 1, 2);
    none = false;
    button->ButtonCreated(window);
    EXPECT_EQ(failing.references, 0u);
    button->ShowProgress(window, 1, 2);
    button->ShowError(window);
    button->Clear(window);
    failing.initResult = S_OK;
    button->ButtonCreated(window);
    button->ShowProgress(window, 3, 4);
    EXPECT_EQ(failing.calls, (std::vector<std::string>{"init", "init", "value 3 4"}));
    button.reset();
    EXPECT_EQ(failing.references, 0u);
}

// The shell's own button under Wine: told everything a run tells it, and the run
// goes on exactly as without it.
TEST_F(MainWindowTest, RealTaskbarButtonChangesNothingInTheRun) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    void* list = nullptr;
    const bool shellHasOne = SUCCEEDED(CoCreateInstance(
        CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, &list));
    if (list) {
        static_cast<ITaskbarList3*>(list)->Release();
    }
    EXPECT_TRUE(shellHasOne) << "the run below would not reach a real button";
    Open(SW_SHOW);
    SendMessageA(window_, TaskbarButtonCreatedMessage(), 0, 0);  // as the shell does
    Window().SetText(ControlId::Text4, WriteInput("big.txt", 200000));
    Window().SetText(ControlId::Text7, "100000");
    Click(ControlId::Command2);
    Window().SetText(ControlId::Text4, Utf8FromPath(work_ / "missing.txt"));
    Click(ControlId::Command2);

    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, kFinishedText);
    EXPECT_EQ(boxes_[1].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(OutputLineCount(), 200000);
    EXPECT_EQ(OutputFiles().size(), 2u);
    EXPECT_TRUE(IsWindow(window_));
    DestroyWindow(window_);
    CoUninitialize();
}

}  // namespace
}  // namespace quenlo
