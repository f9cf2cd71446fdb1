#include "file_dialog/file_dialog.h"

#include <cstddef>
#include <filesystem>

#include "platform/ansi_text.h"

namespace quenlo {
namespace {

// The 76-byte record of the 32-bit build; the 64-bit build uses its own layout of
// the same fields.
const DWORD kRecordSize = OPENFILENAME_SIZE_VERSION_400A;
#ifndef _WIN64
static_assert(offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(LPCSTR) == 76);
#endif

using Converter = std::string (*)(std::string_view);

// Converts each NUL-separated part on its own, so the separators survive whatever the
// converter does with an embedded NUL.
std::string ConvertParts(std::string_view text, Converter convert) {
    std::string result;
    for (;;) {
        const std::size_t end = text.find('\0');
        result += convert(text.substr(0, end));
        if (end == std::string_view::npos) {
            return result;
        }
        result += '\0';
        text.remove_prefix(end + 1);
    }
}

// The text followed by NULs up to length characters; always NUL-terminated, so an
// over-long name is cut rather than handed over unterminated.
std::string FixedBuffer(std::string_view text, std::size_t length) {
    std::string buffer(text.substr(0, length - 1));
    buffer.resize(length, '\0');
    return buffer;
}

// Text handed over with two NULs after it; an empty text leaves the field null,
// which the dialog reads as "not set".
const char* DoubleTerminated(std::string_view text, std::string& storage) {
    if (text.empty()) {
        storage.clear();
        return nullptr;
    }
    storage = Utf8ToAnsi(text);
    storage.append(2, '\0');
    return storage.c_str();
}

std::string ExecutableName() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    const std::u8string stem = std::filesystem::path(path).stem().u8string();
    return std::string(stem.begin(), stem.end());
}

}  // namespace

std::string_view TrimAtNull(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

cFileDialog::cFileDialog()
    : openCall_([](OPENFILENAMEA& record) { return GetOpenFileNameA(&record); }),
      saveCall_([](OPENFILENAMEA& record) { return GetSaveFileNameA(&record); }),
      errorCall_([] { return CommDlgExtendedError(); }) {
    record_.lStructSize = kRecordSize;
    record_.nFilterIndex = 1;
}

void cFileDialog::SetDialogCalls(DialogCall openCall, DialogCall saveCall, ErrorCall errorCall) {
    openCall_ = std::move(openCall);
    saveCall_ = std::move(saveCall);
    errorCall_ = std::move(errorCall);
}

void cFileDialog::SetFilter(std::string_view sFilter) {
    filter_ = sFilter;
    // Split in UTF-8, where "|" and ":" never occur inside a character; in GBK "|" can
    // be the second byte of one.
    std::string parts(sFilter);
    for (char& c : parts) {
        if (c == '|' || c == ':') {
            c = '\0';
        }
    }
    filterAnsi_ = ConvertParts(parts, Utf8ToAnsi);
    filterAnsi_.append(2, '\0');
    record_.lpstrFilter = filterAnsi_.c_str();
}

void cFileDialog::SetDefaultExt(std::string_view sDefaultExt) {
    defaultExt_ = sDefaultExt;
    record_.lpstrDefExt = DoubleTerminated(sDefaultExt, defaultExtAnsi_);
}

std::string cFileDialog::DialogTitle() const {
    return record_.lpstrTitle ? AnsiToUtf8(record_.lpstrTitle) : std::string();
}

void cFileDialog::SetDialogTitle(std::string_view vNewValue) {
    if (vNewValue.empty()) {
        titleAnsi_.clear();
        record_.lpstrTitle = nullptr;
        return;
    }
    titleAnsi_ = Utf8ToAnsi(vNewValue);
    record_.lpstrTitle = titleAnsi_.c_str();
}

void cFileDialog::SetInitDir(std::string_view vNewValue) {
    initDir_ = vNewValue;
    record_.lpstrInitialDir = DoubleTerminated(vNewValue, initDirAnsi_);
}

void cFileDialog::ShowOpen() {
    Show(Kind::Open);
}
void cFileDialog::ShowSave() {
    Show(Kind::Save);
}

void cFileDialog::Show(Kind kind) {
    lastError_ = {};
    failure_ = 0;
    const bool multiSelect = kind == Kind::Open && (flags_ & OFN_ALLOWMULTISELECT) != 0;
    const std::size_t length = multiSelect ? kMultiSelectBufferLength : kFileBufferLength;

    // OFN_EXPLORER goes into the record only, so Flags reads back as written.
    record_.Flags = static_cast<DWORD>(flags_) | (multiSelect ? OFN_EXPLORER : 0);
    fileBuffer_ = FixedBuffer(Utf8ToAnsi(filename_), length);
    titleBuffer_ = FixedBuffer(Utf8ToAnsi(fileTitle_), length);
    record_.lpstrFile = fileBuffer_.data();
    record_.nMaxFile = static_cast<DWORD>(length);
    record_.lpstrFileTitle = titleBuffer_.data();
    record_.nMaxFileTitle = static_cast<DWORD>(length);

    const DialogCall& call = kind == Kind::Open ? openCall_ : saveCall_;
    if (call(record_)) {
        // A multiple selection keeps the whole buffer: folder, names, NULs between.
        filename_ = multiSelect ? ConvertParts(fileBuffer_, AnsiToUtf8)
                                : AnsiToUtf8(TrimAtNull(fileBuffer_));
        fileTitle_ = AnsiToUtf8(TrimAtNull(titleBuffer_));
    } else {
        // FALSE is also how a failure comes back, a name longer than the buffer among
        // them: only a FALSE that the system explains with nothing is a cancel.
        failure_ = errorCall_ ? errorCall_() : 0;
        if (failure_ == 0 && cancelError_) {
            const char* className = kind == Kind::Open ? ".cFileDialog" : ".cFilenDialog";
            lastError_ = {kCancelErrorNumber, ExecutableName() + className,
                          "User selected cancel."};
        }
    }
    // The buffers die with the next call; keep no dangling pointers in the record.
    record_.lpstrFile = nullptr;
    record_.lpstrFileTitle = nullptr;
}

}  // namespace quenlo
