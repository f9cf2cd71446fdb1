// QuenloGallery: every control the skin treats, in one skinned window.
#include <windows.h>

#include "demos/gallery/gallery_window.h"
#include "platform/system_library.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
    quenlo::RestrictDllSearchToSystem();
    const HWND window = quenlo::gallery::CreateGalleryWindow({showCommand, true});
    if (!window) {
        return 1;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Dialog keys: Tab between the controls, arrows within a group of options.
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return static_cast<int>(message.wParam);
}
