// ParseMultiFileName: the folder and the names of a dialog result. The text is
// UTF-8, where neither NUL nor "\" can be part of a character.
#include <limits>
#include <new>
#include <stdexcept>

#include "file_dialog/file_dialog.h"

namespace quenlo {
namespace {

// Adds 1 to the count, makes the list that long and stores the name last, each step
// on its own as the method ignores a failing step: the count stops at its largest
// value, and a list that cannot be made that long keeps what it had, without the name.
void AppendName(std::vector<std::string>& files, std::int32_t& count, std::string_view name) {
    if (count < 0) {
        return;  // a count the caller passed in below zero cannot size the list: skip
    }
    if (count < std::numeric_limits<std::int32_t>::max()) {
        ++count;
    }
    const auto length = static_cast<std::size_t>(count);
    if (length > cFileDialog::kMaxParsedFiles) {
        return;
    }
    try {
        files.resize(length);
    } catch (const std::bad_alloc&) {
        return;
    } catch (const std::length_error&) {
        return;
    }
    files[length - 1] = std::string(name);
}

}  // namespace

void cFileDialog::ParseMultiFileName(std::string& sDir, std::vector<std::string>& sFiles,
                                     std::int32_t& lFileCount) const {
    const std::string_view whole = filename_;
    const std::size_t listEnd = whole.find(std::string_view("\0\0", 2));
    const std::string_view list =
        listEnd == std::string_view::npos ? std::string_view() : whole.substr(0, listEnd);

    if (list.find('\0') != std::string_view::npos) {
        // Several files: the folder first, then one name after each NUL.
        std::size_t start = list.find('\0');
        sDir = std::string(list.substr(0, start));
        while (start != std::string_view::npos) {
            const std::size_t end = list.find('\0', start + 1);
            AppendName(sFiles, lFileCount, list.substr(start + 1, end - start - 1));
            start = end;
        }
        return;
    }

    // One file. Behind the NULs that end it the dialog's buffer may still hold the
    // tail of a longer name it started with: only the text before them counts.
    const std::string_view one = TrimAtNull(whole);
    lFileCount = 1;
    sFiles.assign(1, std::string());
    const std::size_t slash = one.rfind('\\');
    if (slash == std::string_view::npos) {
        sDir.clear();
        sFiles[0] = std::string(one);
    } else {
        sDir = std::string(one.substr(0, slash + 1));
        sFiles[0] = std::string(one.substr(slash + 1));
    }
}

}  // namespace quenlo
