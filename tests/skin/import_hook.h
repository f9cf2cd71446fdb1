// A stand-in for one of user32's functions, put into this program's import table for
// as long as it lives: for what cannot be read back from the system (a timer's
// period, a flash's flags) and must not be waited for.
#pragma once

#include <windows.h>

#include <cstring>
#include <utility>
#include <vector>

namespace quenlo::skin {

template <typename Function>
class ImportHook {
public:
    ImportHook(const char* name, Function standIn) : slot_(Slot(name)) {
        real_ = reinterpret_cast<Function>(Exchange(reinterpret_cast<void*>(standIn)));
    }
    ~ImportHook() { Exchange(reinterpret_cast<void*>(real_)); }
    ImportHook(const ImportHook&) = delete;
    ImportHook& operator=(const ImportHook&) = delete;
    Function Real() const { return real_; }

private:
    // The function's slot in the executable's import address table.
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
    void* Exchange(void* value) {
        DWORD protection = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        void* previous = std::exchange(*slot_, value);
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
        return previous;
    }
    void** slot_;
    Function real_;
};

struct TimerCall {
    bool set;  // SetTimer, else KillTimer
    HWND window;
    UINT_PTR id;
    UINT period;  // SetTimer only
    bool operator==(const TimerCall&) const = default;
};

// Every SetTimer and KillTimer of the program, in order.
class TimerCalls {
public:
    // No call comes between the hooks going in and the recorder being found.
    TimerCalls() {
        set_ = &setHook_;
        kill_ = &killHook_;
        calls_ = &calls;
    }
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
    static UINT_PTR WINAPI Set(HWND window, UINT_PTR id, UINT period, TIMERPROC proc) {
        calls_->push_back({true, window, id, period});
        return set_->Real()(window, id, period, proc);
    }
    static BOOL WINAPI Kill(HWND window, UINT_PTR id) {
        calls_->push_back({false, window, id, 0});
        return kill_->Real()(window, id);
    }
    static inline std::vector<TimerCall>* calls_ = nullptr;
    static inline ImportHook<decltype(&SetTimer)>* set_ = nullptr;
    static inline ImportHook<decltype(&KillTimer)>* kill_ = nullptr;
    ImportHook<decltype(&SetTimer)> setHook_{"SetTimer", &Set};
    ImportHook<decltype(&KillTimer)> killHook_{"KillTimer", &Kill};
};

}  // namespace quenlo::skin
