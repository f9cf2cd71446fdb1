// A real main window with every outside service replaced by a recorder, a results
// folder of its own and a fixed date.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "main_window/main_window.h"

namespace quenlo {

struct ShownBox {
    std::string text;
    std::string title;
    UINT type = 0;
};

// Calls a function on a timer of its own window (none for 0), or once for each Poke:
// while a run lasts, it fires inside the run's message pump, as a user's actions or
// the system's messages would arrive.
class RunProbe {
public:
    RunProbe(UINT intervalMs, std::function<void()> onTick);
    void Poke() const { PostMessageA(window_, WM_TIMER, 0, 0); }
    HWND Handle() const { return window_; }
    ~RunProbe();
    RunProbe(const RunProbe&) = delete;
    RunProbe& operator=(const RunProbe&) = delete;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::function<void()> onTick_;
    HWND window_ = nullptr;
};

class MainWindowTest : public testing::Test {
public:  // timer callbacks inside a run reach the fixture too
    void SetUp() override;
    void TearDown() override;

    // Creates the window; tests may adjust services_ first. Hidden unless a test needs
    // to see it: Wine takes seconds to map a window on a display without a manager.
    MainWindow& Open(int showCommand = SW_HIDE);
    MainWindow& Window() { return *MainWindow::FromWindow(window_); }
    HWND Control(ControlId id) { return Window().Control(id); }
    std::string Text(ControlId id) { return Window().Text(id); }
    void Click(ControlId id);
    void PostClick(ControlId id);
    // Pending messages through the program's own loop (dialog keys included).
    void PumpUntilIdle();
    // Pumps until done() holds, for at most about ten seconds; returns done().
    bool PumpUntil(const std::function<bool()>& done);
    // A key pressed and released on the keyboard, into the input queue.
    static void PressKey(WORD key);
    // Calls action once, at the run's first look at its clock after a result file
    // exists: what it posts is handled at the next pump, after the first line, however
    // long the first read kept the run waiting. Before Open().
    void OnceTheFirstResultFileExists(std::function<void()> action);

    // A UTF-8 input file of the given lines, each ended by CR LF, in the work folder.
    std::string WriteInput(const std::string& name, int lineCount);
    // Every line of every output file, as counted by their CR LF pairs.
    long long OutputLineCount() const;
    std::vector<std::filesystem::path> OutputFiles() const;
    // Label7's count.
    long long ShownTotal();
    RECT PlaceInParent(ControlId id);

    std::filesystem::path work_;
    std::filesystem::path results_;
    WindowServices services_;
    std::vector<ShownBox> boxes_;
    std::vector<std::pair<std::string, std::string>> started_;  // program, command line
    HWND window_ = nullptr;
};

}  // namespace quenlo
