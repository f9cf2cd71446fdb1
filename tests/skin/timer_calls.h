// Every SetTimer and KillTimer of this program, recorded on their way to the system
// through the program's import table: a timer's period cannot be read back, and a
// test must not wait out a period to see it.
#pragma once

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

namespace quenlo::skin {

struct TimerCall {
    bool set;  // SetTimer, else KillTimer
    HWND window;
    UINT_PTR id;
    UINT period;  // SetTimer only
    bool operator==(const TimerCall&) const = default;
};

class TimerCalls {
public:
    TimerCalls() : set_(Slot("SetTimer")), kill_(Slot("KillTimer")) {
        realSet_ = reinterpret_cast<decltype(&SetTimer)>(Exchange(set_, &Set));
        realKill_ = reinterpret_cast<decltype(&KillTimer)>(Exchange(kill_, &Kill));
        calls_ = &calls;
    }
    ~TimerCalls() {
        Exchange(set_, realSet_);
        Exchange(kill_, realKill_);
    }
    TimerCalls(const TimerCalls&) = delete;
    TimerCalls& operator=(const TimerCalls&) = delete;

    std::vector<TimerCall> Of(HWND window) const {
        std::vector<TimerCall> of;
        for (const TimerCall& call : calls) {
            if (call.window == window) {
                of.push_back(call);
            }
        }
        return of;
    }
    std::vector<TimerCall> calls;

private:
    // user32's slot in the executable's import address table.
    static void** Slot(const char* function) {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
            base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        for (; module->Name != 0; ++module) {
            auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
            auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
            for (; lstrcmpiA(reinterpret_cast<char*>(base + module->Name), "user32.dll") == 0 &&
                   name->u1.AddressOfData != 0;
                 ++name, ++slot) {
                const auto* byName =
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
                if (!IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) &&
                    std::strcmp(byName->Name, function) == 0) {
                    return reinterpret_cast<void**>(&slot->u1.Function);
                }
            }
        }
        return nullptr;
    }
    template <typename Function>
    static void* Exchange(void** slot, Function value) {
        DWORD protection = 0;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        void* previous = std::exchange(*slot, reinterpret_cast<void*>(value));
        VirtualProtect(slot, sizeof *slot, protection, &protection);
        return previous;
    }
    static UINT_PTR WINAPI Set(HWND window, UINT_PTR id, UINT period, TIMERPROC proc) {
        calls_->push_back({true, window, id, period});
        return realSet_(window, id, period, proc);
    }
    static BOOL WINAPI Kill(HWND window, UINT_PTR id) {
        calls_->push_back({false, window, id, 0});
        return realKill_(window, id);
    }
    void** set_;
    void** kill_;
    static inline decltype(&SetTimer) realSet_ = nullptr;
    static inline decltype(&KillTimer) realKill_ = nullptr;
    static inline std::vector<TimerCall>* calls_ = nullptr;
};

}  // namespace quenlo::skin
