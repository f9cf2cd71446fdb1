// DLLs that are not Known DLLs come from the system folder only. People run Quenlo from
// Downloads, where any web page can save a file named like a DLL; a bare-name load
// would search the program's folder first and run it.
#pragma once

#include <windows.h>

namespace quenlo {

// The first thing each program does: whatever the system later loads on its behalf is
// searched for in the system folder only (SetDefaultDllDirectories). Where that is
// missing (Windows 7 without KB2533623) the current folder at least is taken out.
void RestrictDllSearchToSystem();

// A DLL of the system folder by its file name ("oleacc.dll"), never from anywhere
// else; nullptr when the name holds a path or the DLL cannot be loaded. The caller
// owns one reference (FreeLibrary).
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// A function of a system DLL; nullptr when the DLL or the function is missing. The DLL
// stays loaded for the life of the process, so the pointer may be kept.
FARPROC SystemFunctionAddress(const wchar_t* fileName, const char* functionName);

template <typename Function>
Function SystemFunction(const wchar_t* fileName, const char* functionName) {
    // The cast through void keeps GCC's function-type warning quiet.
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(SystemFunctionAddress(fileName, functionName)));
}

}  // namespace quenlo
