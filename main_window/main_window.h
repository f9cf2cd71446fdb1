// frmMain: the program's one window. It creates its controls from the layout, routes
// their notifications to the handlers and hosts the conversion job while it runs.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "controls/property_bag.h"
#include "main_window/layout.h"
#include "main_window/window_host.h"
#include "main_window/window_services.h"
#include "skin/common/gdi_handles.h"

namespace quenlo {

class MainWindow {
public:
    // The skin sorts windows by class name; "Form" makes this a container for it.
    static constexpr char kClassName[] = "Form";
    static constexpr UINT_PTR kTimer1Id = 1;
    static constexpr UINT kTimer1Interval = 1000;

    // Creates the window, centred on the screen; it owns itself and goes with its
    // window handle. showCommand as for ShowWindow.
    static HWND Create(WindowServices services, int showCommand);
    static MainWindow* FromWindow(HWND window);

    HWND Handle() const { return window_; }
    HWND Control(ControlId id) const { return controls_[static_cast<std::size_t>(id)]; }
    int Dpi() const { return dpi_; }

    // Texts and captions in UTF-8. Setting a caption sizes an auto-sizing label and
    // raises the caption-changed handler of Label7.
    std::string Text(ControlId id) const;
    void SetText(ControlId id, std::string_view text);

    bool StopRequested() const { return bStopRequested; }
    bool Timer1Enabled() const { return timer1Enabled_; }
    void SetTimer1Enabled(bool enabled);
    bool IsRunning() const { return running_; }
    bool HighContrast() const { return highContrast_; }
    // The run on the taskbar button: how far it has read, and how it ended (told just
    // before the box that says so).
    void ShowRunProgress(std::uint64_t done, std::uint64_t total);
    void ShowRunEnd(bool failed);

    // Runs pending messages the way the main loop does (dialog keys included); a
    // WM_QUIT seen here stops the run and is posted again once the run has returned.
    void PumpMessages();
    // One message as the program's loops handle it: the dialog keys (Tab, Enter,
    // Escape) first, then translation and dispatch.
    static void Dispatch(HWND window, MSG& message);

    // The handlers.
    void OnCommand1Click();
    void OnCommand2Click();
    void OnTimer1Tick();
    void OnLabel7Change();
    void OnLabel9Click();
    void OnDropFiles(HDROP drop);
    // A file handed over in UTF-16 (the command line, a drop) counts as chosen with
    // the import button; one the import box cannot spell is refused, saying why.
    void ImportHandedFile(std::wstring_view file);
    void OnEnterKey();
    bool OnClose();  // false: the close waits for the run to stop
    // Windows ends the session (shutdown, sign-out, restart): at the question the run
    // goes on; once the session ends, it stops at a whole line and its files are
    // closed before the window answers.
    void OnQueryEndSession();
    void OnEndSession(bool ending);

    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

private:
    MainWindow(HWND window, WindowServices services);
    ~MainWindow() = default;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    // Every control where the layout puts it at the current DPI, in the font of that DPI.
    void LayOutControls();
    // Returns the font it replaces, for the caller to keep until no control uses it.
    skin::UniqueHfont MakeFontForDpi();
    void OnDpiChanged(int dpi, const RECT& suggested);
    // The caption's and Alt+Tab's icons drawn at the sizes of the current DPI; null
    // icons put the class's back. The ones replaced are destroyed.
    void SetIcons(HICON small, HICON big);
    void FitLabelToCaption(ControlId id);
    // The run's life (run_life.cpp): Command2 starts and stops it; Run returns when
    // it has ended, stopped or failed.
    void StartRun();
    void StopRun();
    void Run();
    // Whether the shutdown screen says that Quenlo is saving its results.
    void ShowShutdownReason(bool shown);
    void ShowBox(std::string_view text, std::string_view title, UINT type);
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    // The skin goes on only while high contrast is off: then the system draws every
    // window in the theme's colours, which is what people with that setting need.
    void ApplySkinUnlessHighContrast();
    void FollowHighContrast();
    void OnCommand(int commandId, int code);

    HWND window_;
    WindowServices services_;
    WindowHost host_;
    int dpi_ = 96;
    HFONT font_ = nullptr;  // the stock GUI font, or scaledFont_ at another DPI
    skin::UniqueHfont scaledFont_;
    std::array<HWND, kControlCount> controls_{};
    std::array<PropertyBag, kControlCount> savedProperties_;  // what each panel saves

    bool bStopRequested = false;
    bool running_ = false;
    bool timer1Enabled_ = false;
    bool highContrast_ = false;
    std::uint64_t progressShown_ = 0;
    bool closeAfterRun_ = false;
    bool shutdownReasonShown_ = false;
    std::optional<int> quitAfterRun_;
    HWND lastFocus_ = nullptr;
};

}  // namespace quenlo
