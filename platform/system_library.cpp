#include "platform/system_library.h"

#include <cwchar>
#include <string>

namespace quenlo {
namespace {

using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);

// Windows 8 has it, Windows 7 only with KB2533623. Where it exists, so do the
// LOAD_LIBRARY_SEARCH flags: LoadLibraryEx's documentation names this very probe.
SetDefaultDllDirectoriesFn SetDefaultDllDirectoriesFunction() {
    static const auto function =
        reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
    return function;
}

bool IsPlainFileName(const wchar_t* fileName) {
    return fileName != nullptr && *fileName != L'\0' && std::wcspbrk(fileName, L"\\/:") == nullptr;
}

// Without the search flags: the full path, and the DLL's own dependencies searched
// from the system folder on (the altered search path), not from the program's.
HMODULE LoadByFullPath(const wchar_t* fileName) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return nullptr;
    }
    const std::wstring path = std::wstring(folder, length) + L"\\" + fileName;
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void RestrictDllSearchToSystem() {
    if (const auto setDefault = SetDefaultDllDirectoriesFunction()) {
        if (setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
            return;
        }
    }
    SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
    if (!IsPlainFileName(fileName)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (SetDefaultDllDirectoriesFunction() != nullptr) {
        return LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    }
    return LoadByFullPath(fileName);
}

FARPROC SystemFunctionAddress(const wchar_t* fileName, const char* functionName) {
    const HMODULE module = LoadSystemLibrary(fileName);
    if (module == nullptr) {
        return nullptr;
    }
    // Found, the reference is kept for good: the callers keep what they found.
    if (const FARPROC address = GetProcAddress(module, functionName)) {
        return address;
    }
    FreeLibrary(module);
    return nullptr;
}

}  // namespace quenlo
