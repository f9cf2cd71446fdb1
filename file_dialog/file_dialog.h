// cFileDialog: the platform's open and save dialogs behind a few properties.
// A caller sets the properties, calls ShowOpen or ShowSave and reads Filename.
//
// Texts are UTF-8 on this side; the dialog record holds them in the process ANSI
// code page. A cancelled dialog never reaches the caller as an error: it leaves
// Filename as it was and, with CancelError set, is recorded in LastError(). A dialog
// that failed (a chosen name longer than the buffer, a dialog that could not open)
// leaves Filename too, and Failure() says why: it is no cancel.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlo {

// What a method recorded instead of raising it to its caller.
struct DialogError {
    std::int32_t number = 0;
    std::string source;
    std::string description;
};

class cFileDialog {
public:
    static constexpr std::int32_t kCancelErrorNumber = 32755;
    static constexpr std::size_t kFileBufferLength = 1024;
    static constexpr std::size_t kMultiSelectBufferLength = 8192;
    // The longest list ParseMultiFileName makes: far more names than any selection
    // holds (8192 characters have room for 4096), and little enough memory to get.
    static constexpr std::size_t kMaxParsedFiles = std::size_t{1} << 20;

    // GetOpenFileNameA / GetSaveFileNameA, or a test's stand-in that inspects the record.
    using DialogCall = std::function<BOOL(OPENFILENAMEA&)>;
    // CommDlgExtendedError, or a test's stand-in.
    using ErrorCall = std::function<DWORD()>;

    cFileDialog();
    // The record points into this object's buffers: it is neither copied nor moved.
    cFileDialog(const cFileDialog&) = delete;
    cFileDialog& operator=(const cFileDialog&) = delete;

    // Without errorCall a stand-in's FALSE is a cancel.
    void SetDialogCalls(DialogCall openCall, DialogCall saveCall, ErrorCall errorCall = {});

    bool CancelError() const { return cancelError_; }
    void SetCancelError(bool bCancelError) { cancelError_ = bCancelError; }
    const std::string& Filename() const { return filename_; }
    void SetFilename(std::string_view sFilename) { filename_ = sFilename; }
    const std::string& FileTitle() const { return fileTitle_; }
    void SetFileTitle(std::string_view vNewValue) { fileTitle_ = vNewValue; }
    const std::string& Filter() const { return filter_; }
    void SetFilter(std::string_view sFilter);
    std::int32_t FilterIndex() const { return static_cast<std::int32_t>(record_.nFilterIndex); }
    void SetFilterIndex(std::int32_t lFilterIndex) {
        record_.nFilterIndex = static_cast<DWORD>(lFilterIndex);
    }
    const std::string& DefaultExt() const { return defaultExt_; }
    void SetDefaultExt(std::string_view sDefaultExt);
    std::string DialogTitle() const;
    void SetDialogTitle(std::string_view vNewValue);
    std::int32_t Flags() const { return flags_; }
    void SetFlags(std::int32_t vNewValue) { flags_ = vNewValue; }
    HWND hWnd() const { return record_.hwndOwner; }
    void SetHWnd(HWND vNewValue) { record_.hwndOwner = vNewValue; }
    const std::string& InitDir() const { return initDir_; }
    void SetInitDir(std::string_view vNewValue);

    void ShowOpen();
    void ShowSave();
    // Splits Filename after a multiple selection: the folder, then each name.
    void ParseMultiFileName(std::string& sDir, std::vector<std::string>& sFiles,
                            std::int32_t& lFileCount) const;

    // The record as the next dialog call will see it (the buffers are set by Show*).
    const OPENFILENAMEA& Record() const { return record_; }
    const DialogError& LastError() const { return lastError_; }
    // What CommDlgExtendedError said when the last dialog failed (FNERR_..., CDERR_...);
    // 0 when a file was chosen or the dialog cancelled.
    DWORD Failure() const { return failure_; }

private:
    enum class Kind { Open, Save };
    void Show(Kind kind);

    OPENFILENAMEA record_{};
    bool cancelError_ = false;
    std::string filename_;
    std::string fileTitle_;
    std::string filter_;
    std::string defaultExt_;
    std::string initDir_;
    std::int32_t flags_ = 0;
    DialogError lastError_;
    DWORD failure_ = 0;

    // ANSI texts the record points at; each ends in NULs of its own.
    std::string filterAnsi_;
    std::string defaultExtAnsi_;
    std::string titleAnsi_;
    std::string initDirAnsi_;
    std::string fileBuffer_;
    std::string titleBuffer_;

    DialogCall openCall_;
    DialogCall saveCall_;
    ErrorCall errorCall_;
};

// The text before the first NUL, or the whole text when it has none.
std::string_view TrimAtNull(std::string_view text);

}  // namespace quenlo
