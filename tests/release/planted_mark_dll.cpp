// Planted beside the unpacked programs under the names of system DLLs that are no Known
// DLLs (msimg32.dll, comctl32.dll, ...). Whatever loads it, it leaves an empty
// NAME.loaded beside itself; it exports nothing.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    wchar_t mark[MAX_PATH + 16] = {};
    const DWORD length = GetModuleFileNameW(self, mark, MAX_PATH);
    if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
        lstrcatW(mark, L".loaded");
        CloseHandle(CreateFileW(mark, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return TRUE;
}
