// What a screen reader hears of the window's buttons and text boxes. The system's
// own accessible object of each control is kept for everything but its name and
// role: under the skin the buttons are owner-drawn, which readers may not announce
// as buttons, and Text4 has no label before it to be named by.
#pragma once

#include <windows.h>

#include <string_view>

namespace quenlo {

// From now on the control answers WM_GETOBJECT with the system's object of the given
// role (ROLE_SYSTEM_...), named by the text that nameSource has at the moment it is
// asked (so a caption change is heard at once), or by fixedName when that is given.
void GiveAccessibleNameAndRole(HWND control, HWND nameSource, std::string_view fixedName,
                               long role);

}  // namespace quenlo
