// Every SetTimer and KillTimer this program makes, recorded on their way to the
// system: a timer's period cannot be read back from the system, and a test must not
// wait out a period to see it.
#pragma once

#include <windows.h>

#include <vector>

namespace quenlo::skin {

class TimerCalls {
public:
    struct Call {
        bool set;  // SetTimer, else KillTimer
        HWND window;
        UINT_PTR id;
        UINT period;  // SetTimer only
    };
    // Puts the recorder into this program's import table for as long as it lives.
    TimerCalls();
    ~TimerCalls();
    TimerCalls(const TimerCalls&) = delete;
    TimerCalls& operator=(const TimerCalls&) = delete;

    bool Installed() const { return installed_; }
    // The calls for one window, in order.
    std::vector<Call> Of(HWND window) const;

private:
    static UINT_PTR WINAPI RecordSet(HWND window, UINT_PTR id, UINT period, TIMERPROC proc);
    static BOOL WINAPI RecordKill(HWND window, UINT_PTR id);
    bool installed_ = false;
    std::vector<Call> calls_;
};

}  // namespace quenlo::skin
