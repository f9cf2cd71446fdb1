#include "tests/main_window/window_fixture.h"

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>

#include "conversion/leading_number.h"
#include "conversion/output_naming.h"
#include "conversion/texts.h"

namespace quenlo {

RunProbe::RunProbe(UINT intervalMs, std::function<void()> onTick) : onTick_(std::move(onTick)) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "QuenloRunProbe";
    RegisterClassA(&windowClass);  // fails harmlessly when already registered
    window_ = CreateWindowExA(0, "QuenloRunProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (intervalMs > 0) {
        SetTimer(window_, 1, intervalMs, nullptr);
    }
}

RunProbe::~RunProbe() {
    DestroyWindow(window_);
}

LRESULT CALLBACK RunProbe::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (auto* probe = reinterpret_cast<RunProbe*>(GetWindowLongPtrA(window, GWLP_USERDATA))) {
            probe->onTick_();
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void MainWindowTest::SetUp() {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    work_ = std::filesystem::temp_directory_path() / "quenlo_window_test" / test->name();
    std::filesystem::remove_all(work_);
    std::filesystem::create_directories(work_);
    results_ = work_ / "results";
    services_.resultsFolder = results_;
    services_.today = [] { return CalendarDate{2026, 12, 7}; };
    services_.messageBox = [this](HWND, std::string_view text, std::string_view title, UINT type) {
        boxes_.push_back({std::string(text), std::string(title), type});
        return IDOK;
    };
    services_.startProcess = [this](std::string_view program, std::string_view line) {
        started_.emplace_back(program, line);
    };
    services_.openDialog = [](OPENFILENAMEA&) { return FALSE; };
}

void MainWindowTest::TearDown() {
    if (IsWindow(window_)) {
        DestroyWindow(window_);
    }
    PumpUntilIdle();
    std::error_code ignored;
    std::filesystem::remove_all(work_, ignored);
}

MainWindow& MainWindowTest::Open(int showCommand) {
    window_ = MainWindow::Create(services_, showCommand);
    EXPECT_NE(window_, nullptr);
    PumpUntilIdle();
    return Window();
}

void MainWindowTest::Click(ControlId id) {
    const HWND control = Control(id);
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

// Arrives while a run pumps its messages, as a user's click would.
void MainWindowTest::PostClick(ControlId id) {
    const HWND control = Control(id);
    PostMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), BN_CLICKED),
                 reinterpret_cast<LPARAM>(control));
}

void MainWindowTest::PumpUntilIdle() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        MainWindow::Dispatch(IsWindow(window_) ? window_ : nullptr, message);
    }
}

bool MainWindowTest::PumpUntil(const std::function<bool()>& done) {
    for (int round = 0; round < 1000 && !done(); ++round) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        PumpUntilIdle();
    }
    return done();
}

void MainWindowTest::PressKey(WORD key) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void MainWindowTest::OnceTheFirstResultFileExists(std::function<void()> action) {
    // The window and every run keep copies of the options: they share one flag.
    auto pending = std::make_shared<bool>(true);
    services_.runOptions.clock = [this, pending, action = std::move(action),
                                  clock = services_.runOptions.clock] {
        if (*pending && !OutputFiles().empty()) {
            *pending = false;
            action();
        }
        return clock ? clock() : std::chrono::steady_clock::now();
    };
}

std::string MainWindowTest::WriteInput(const std::string& name, int lineCount) {
    const std::filesystem::path file = work_ / PathFromUtf8(name);
    std::ofstream out(file, std::ios::binary);
    for (int i = 1; i <= lineCount; ++i) {
        out << "  line " << i << "  \r\n";
    }
    return Utf8FromPath(file);
}

std::vector<std::filesystem::path> MainWindowTest::OutputFiles() const {
    std::vector<std::filesystem::path> files;
    if (std::filesystem::exists(results_)) {
        for (const auto& entry : std::filesystem::directory_iterator(results_)) {
            files.push_back(entry.path());
        }
    }
    return files;
}

long long MainWindowTest::OutputLineCount() const {
    long long lines = 0;
    std::string content;
    for (const auto& file : OutputFiles()) {
        std::ifstream in(file, std::ios::binary);
        content.resize(static_cast<std::size_t>(std::filesystem::file_size(file)));
        in.read(content.data(), static_cast<std::streamsize>(content.size()));
        for (std::size_t at = content.find("\r\n"); at != std::string::npos;
             at = content.find("\r\n", at + 2)) {
            ++lines;
        }
    }
    return lines;
}

long long MainWindowTest::ShownTotal() {
    std::string caption = Text(ControlId::Label7);
    EXPECT_EQ(caption.rfind(kTotalPrefix, 0), 0u) << caption;
    return static_cast<long long>(LeadingNumber(caption.substr(kTotalPrefix.size())));
}

RECT MainWindowTest::PlaceInParent(ControlId id) {
    const HWND control = Control(id);
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

}  // namespace quenlo
