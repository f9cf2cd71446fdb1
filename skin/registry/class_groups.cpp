#include "skin/registry/class_groups.h"

#include "skin/registry/window_queries.h"

namespace quenlo::skin {
namespace {

struct ClassEntry {
    std::string_view name;  // lower case; "*" stands for any run of characters
    ClassGroup group;
};

constexpr ClassEntry kClassTable[] = {
    {"#32770", ClassGroup::Container},
    {"thunderformdc", ClassGroup::Container},
    {"thunderrt6formdc", ClassGroup::Container},
    {"form", ClassGroup::Container},
    {"thundercommandbutton", ClassGroup::CommandButton},
    {"thunderrt6commandbutton", ClassGroup::CommandButton},
    {"button", ClassGroup::CommandButton},
    {"thundercombobox", ClassGroup::ComboBox},
    {"thunderrt6combobox", ClassGroup::ComboBox},
    {"combo", ClassGroup::ComboBox},
    {"combobox", ClassGroup::ComboBox},
    {"thunderdrivelistbox", ClassGroup::DriveList},
    {"thunderrt6drivelistbox", ClassGroup::DriveList},
    {"thundercheckbox", ClassGroup::CheckBox},
    {"thunderrt6checkbox", ClassGroup::CheckBox},
    {"thunderoptionbutton", ClassGroup::OptionButton},
    {"thunderrt6optionbutton", ClassGroup::OptionButton},
    {"msvb_lib_header", ClassGroup::Header},
    {"sysheader32", ClassGroup::Header},
    {"progressbar20wndclass", ClassGroup::ProgressBar},
    {"progressbarwndclass", ClassGroup::ProgressBar},
    {"datalistwndclass", ClassGroup::DataList},
    {"dblistwndclass", ClassGroup::DataList},
    {"combolbox", ClassGroup::DropDownList},
    {"apexgrid*", ClassGroup::Grid},
};

bool MatchesPattern(std::string_view pattern, std::string_view text) {
    size_t star = pattern.find('*');
    if (star == std::string_view::npos) {
        return pattern == text;
    }
    std::string_view head = pattern.substr(0, star);
    if (text.substr(0, head.size()) != head) {
        return false;
    }
    std::string_view rest = pattern.substr(star + 1);
    for (size_t from = head.size(); from <= text.size(); ++from) {
        if (MatchesPattern(rest, text.substr(from))) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::string ToLowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return lower;
}

ClassGroup ClassGroupOf(std::string_view className) {
    const std::string lower = ToLowerAscii(className);
    for (const ClassEntry& entry : kClassTable) {
        if (MatchesPattern(entry.name, lower)) {
            return entry.group;
        }
    }
    return ClassGroup::Other;
}

ClassGroup ClassGroupOfWindow(HWND window) {
    return ClassGroupOf(GetWindowClass(window));
}

}  // namespace quenlo::skin
