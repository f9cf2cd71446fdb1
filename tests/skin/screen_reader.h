// What a screen reader hears of a control: it asks the window for its accessible
// object, as a reader does, and reads the control's own name, role and state.
#pragma once

#include <windows.h>

#include <string>

namespace quenlo::skin {

struct Heard {
    std::string name;  // UTF-8
    long role = 0;     // ROLE_SYSTEM_...; 0 when the window gave no object
    long state = 0;    // STATE_SYSTEM_...
};

// COM must be initialised on the calling thread.
Heard AskReader(HWND control);

}  // namespace quenlo::skin
