// What the main window asks of the world outside it: modal boxes, the file dialog,
// starting a program, the clock and where results go. The program uses the real
// ones; tests replace any of them so no person has to answer a dialog.
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "conversion/conversion_host.h"
#include "conversion/run_conversion.h"
#include "file_dialog/file_dialog.h"
#include "main_window/taskbar_button.h"
#include "platform/display_dpi.h"

namespace quenlo {

struct WindowServices {
    // MessageBoxA with UTF-8 texts; returns the button pressed.
    using MessageBoxCall =
        std::function<int(HWND owner, std::string_view text, std::string_view title, UINT type)>;
    // Starts program (a full path, never searched for) with the command line, maximised.
    using StartProcessCall =
        std::function<void(std::string_view program, std::string_view commandLine)>;
    // ChangeWindowMessageFilterEx.
    using MessageFilterCall =
        std::function<BOOL(HWND, UINT message, DWORD action, PCHANGEFILTERSTRUCT)>;
    // What the shutdown screen says while the window holds the session's end up; a
    // null reason takes it back (ShutdownBlockReasonCreate and ...Destroy).
    using ShutdownReasonCall = std::function<void(HWND window, const wchar_t* reason)>;

    MessageBoxCall messageBox;               // empty: MessageBoxA
    cFileDialog::DialogCall openDialog;      // empty: GetOpenFileNameA
    StartProcessCall startProcess;           // empty: CreateProcessA
    std::function<CalendarDate()> today;     // empty: the local clock
    std::function<bool()> highContrast;      // empty: the system's high-contrast setting
    ShutdownReasonCall shutdownReason;       // empty: the system's shutdown screen
    std::shared_ptr<TaskbarButton> taskbar;  // empty: the shell's taskbar button
    DpiQueries dpi;                          // the system's, unless a test answers
    std::filesystem::path resultsFolder;     // empty: "转换结果" beside the program
    MessageFilterCall changeMessageFilter;   // empty: ChangeWindowMessageFilterEx
    // The program's command line, its own name first: a file named after it goes into
    // the import box as if picked. Empty: none (tests, or nothing given).
    std::wstring commandLine;
    RunOptions runOptions;
    // With openDialog, why a FALSE from it is a failure (CommDlgExtendedError's code);
    // empty: it is a cancel.
    cFileDialog::ErrorCall dialogError;
    // The files the run works on; empty: the platform's.
    FileSystem* files = nullptr;
    bool quitOnDestroy = false;  // the program ends with its window; tests do not
};

// The real ones, for whatever a caller left empty.
WindowServices WithPlatformDefaults(WindowServices services);

// Whether high contrast is on, as query (SystemParametersInfoA, or a stand-in for it)
// reports it. A failed query counts as off.
using SystemParametersCall = BOOL(WINAPI*)(UINT action, UINT param, PVOID data, UINT winIni);
bool HighContrastOn(SystemParametersCall query);

// A program of the Windows folder by its full path, in UTF-8; empty if the folder is
// unknown.
std::string WindowsFolderProgram(std::string_view name);

}  // namespace quenlo
