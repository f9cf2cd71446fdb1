// Sorts windows into the groups the skin treats alike, by class name.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quenlo::skin {

enum class ClassGroup {
    Container,
    CommandButton,
    ComboBox,
    DriveList,
    CheckBox,
    OptionButton,
    Header,
    ProgressBar,
    DataList,
    DropDownList,
    Grid,
    Other,  // every class name the table does not list
};

// ASCII lower case; other bytes (of a DBCS name) pass unchanged.
std::string ToLowerAscii(std::string_view text);

// The group of a class name, compared case-insensitively.
ClassGroup ClassGroupOf(std::string_view className);

ClassGroup ClassGroupOfWindow(HWND window);

}  // namespace quenlo::skin
