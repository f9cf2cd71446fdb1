// Planted under the names of system DLLs that are no Known DLLs: whatever loads it, it
// leaves an empty NAME.loaded beside itself. It exports nothing.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    wchar_t mark[MAX_PATH + 16] = {};
    const DWORD length = GetModuleFileNameW(self, mark, MAX_PATH);
    if (reason == DLL_PROCESS_ATTACH && length > 0 && length < MAX_PATH) {
        CloseHandle(CreateFileW(lstrcatW(mark, L".loaded"), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    }
    return TRUE;
}
