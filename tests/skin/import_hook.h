// Stand-ins for user32's SetTimer, KillTimer and FlashWindowEx in this program's import
// table while a recorder lives: a timer's period and a flash's flags cannot be read
// back from the system, and must not be waited for.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace quenlo::skin {

struct UserCall {
    std::string function;
    HWND window;
    UINT_PTR id;  // a timer's id, a flash's flags
    UINT count;   // a timer's period, a flash's count
    bool operator==(const UserCall&) const = default;
};

class UserCalls {
public:
    UserCalls() {
        calls.clear();
        Swap(false);
    }
    ~UserCalls() { Swap(true); }
    static inline std::vector<UserCall> calls;  // in order

private:
    static void* Real(const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name));
    }
    static UINT_PTR WINAPI Set(HWND window, UINT_PTR id, UINT period, TIMERPROC proc) {
        calls.push_back({"SetTimer", window, id, period});
        return reinterpret_cast<decltype(&SetTimer)>(Real("SetTimer"))(window, id, period, proc);
    }
    static BOOL WINAPI Kill(HWND window, UINT_PTR id) {
        calls.push_back({"KillTimer", window, id, 0});
        return reinterpret_cast<decltype(&KillTimer)>(Real("KillTimer"))(window, id);
    }
    static BOOL WINAPI Flash(PFLASHWINFO flash) {
        calls.push_back({"FlashWindowEx", flash->hwnd, flash->dwFlags, flash->uCount});
        return TRUE;
    }
    // Every slot of the executable's import table that holds the real function gets the
    // stand-in, or back.
    static void Swap(bool back) {
        auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
            base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
        for (; module->Name != 0; ++module) {
            for (auto* slot = reinterpret_cast<ULONG_PTR*>(base + module->FirstThunk); *slot;
                 ++slot) {
                for (const auto& [name, standIn] :
                     {std::pair{"SetTimer", reinterpret_cast<void*>(&Set)},
                      {"KillTimer", reinterpret_cast<void*>(&Kill)},
                      {"FlashWindowEx", reinterpret_cast<void*>(&Flash)}}) {
                    if (*slot == ULONG_PTR(back ? standIn : Real(name))) {
                        DWORD protection = 0;
                        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
                        *slot = ULONG_PTR(back ? Real(name) : standIn);
                        VirtualProtect(slot, sizeof *slot, protection, &protection);
                    }
                }
            }
        }
    }
};

}  // namespace quenlo::skin
