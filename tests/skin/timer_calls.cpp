#include "timer_calls.h"

#include <cstring>

namespace quenlo::skin {
namespace {

TimerCalls* g_recorder = nullptr;
void* g_setTimer = nullptr;
void* g_killTimer = nullptr;

// The slot of user32's function in the executable's import address table, through
// which every call of the program to it goes.
void** ImportSlot(const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name != 0; ++module) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + module->Name), "user32.dll") != 0) {
            continue;
        }
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; name->u1.AddressOfData != 0; ++name, ++slot) {
            if (!IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) &&
                std::strcmp(
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData)
                        ->Name,
                    function) == 0) {
                return reinterpret_cast<void**>(&slot->u1.Function);
            }
        }
    }
    return nullptr;
}

// Writes the slot, returning what it held.
void* Exchange(void** slot, void* value) {
    DWORD protection = 0;
    VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
    void* previous = *slot;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, protection, &protection);
    return previous;
}

template <typename Function>
void* Address(Function function) {
    return reinterpret_cast<void*>(function);
}

}  // namespace

TimerCalls::TimerCalls() {
    void** set = ImportSlot("SetTimer");
    void** kill = ImportSlot("KillTimer");
    if (set == nullptr || kill == nullptr || g_recorder != nullptr) {
        return;
    }
    g_recorder = this;
    g_setTimer = Exchange(set, Address(&RecordSet));
    g_killTimer = Exchange(kill, Address(&RecordKill));
    installed_ = true;
}

TimerCalls::~TimerCalls() {
    if (installed_) {
        Exchange(ImportSlot("SetTimer"), g_setTimer);
        Exchange(ImportSlot("KillTimer"), g_killTimer);
        g_recorder = nullptr;
    }
}

std::vector<TimerCalls::Call> TimerCalls::Of(HWND window) const {
    std::vector<Call> calls;
    for (const Call& call : calls_) {
        if (call.window == window) {
            calls.push_back(call);
        }
    }
    return calls;
}

UINT_PTR WINAPI TimerCalls::RecordSet(HWND window, UINT_PTR id, UINT period, TIMERPROC proc) {
    g_recorder->calls_.push_back({true, window, id, period});
    return reinterpret_cast<decltype(&SetTimer)>(g_setTimer)(window, id, period, proc);
}

BOOL WINAPI TimerCalls::RecordKill(HWND window, UINT_PTR id) {
    g_recorder->calls_.push_back({false, window, id, 0});
    return reinterpret_cast<decltype(&KillTimer)>(g_killTimer)(window, id);
}

}  // namespace quenlo::skin
