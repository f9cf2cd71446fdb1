// ParseMultiFileName: the folder and the names of a dialog result. The text is
// UTF-8, where neither NUL nor "\" can be part of a character.
#include "file_dialog/file_dialog.h"

namespace quenlo {

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
            const std::string_view name = list.substr(start + 1, end - start - 1);
            // A count the caller passed in below zero cannot size the list: skip.
            if (lFileCount >= 0) {
                ++lFileCount;
                sFiles.resize(static_cast<std::size_t>(lFileCount));
                sFiles.back() = std::string(name);
            }
            start = end;
        }
        return;
    }

    lFileCount = 1;
    sFiles.assign(1, std::string());
    const std::size_t slash = whole.rfind('\\');
    if (slash == std::string_view::npos) {
        sDir.clear();
        sFiles[0] = filename_;
    } else {
        sDir = std::string(whole.substr(0, slash + 1));
        sFiles[0] = std::string(TrimAtNull(whole.substr(slash + 1)));
    }
}

}  // namespace quenlo
