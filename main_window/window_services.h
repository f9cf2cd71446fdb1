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

namespace quenlo {

struct WindowServices {
    // MessageBoxA with UTF-8 texts; returns the button pressed.
    using MessageBoxCall =
        std::function<int(HWND owner, std::string_view text, std::string_view title, UINT type)>;
    // Starts program (a full path, never searched for) with the command line, maximised.
    using StartProcessCall =
        std::function<void(std::string_view program, std::string_view commandLine)>;

    MessageBoxCall messageBox;            // empty: MessageBoxA
    cFileDialog::DialogCall openDialog;   // empty: GetOpenFileNameA
    StartProcessCall startProcess;        // empty: CreateProcessA
    std::function<CalendarDate()> today;  // empty: the local clock
    std::function<bool()> highContrast;   // empty: the system's high-contrast setting
    std::shared_ptr<TaskbarButton> taskbar;  // empty: the shell's taskbar button
    std::filesystem::path resultsFolder;  // empty: "转换结果" beside the program
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

// A program of the Windows folder by its full path, in UTF-8; empty if the folder is
// unknown.
std::string WindowsFolderProgram(std::string_view name);

}  // namespace quenlo
