#include "demos/gallery/look_alike_classes.h"

#include <commctrl.h>

#include "platform/system_library.h"

namespace quenlo::gallery {
namespace {

struct LookAlike {
    const char* name;
    const char* systemClass;
};

constexpr LookAlike kLookAlikes[] = {
    {kVbCommandButtonClass, "Button"},
    {kVbCheckBoxClass, "Button"},
    {kVb5CheckBoxClass, "Button"},
    {kVbOptionButtonClass, "Button"},
    {kVb5OptionButtonClass, "Button"},
    {kVbComboBoxClass, "ComboBox"},
    {kVbDriveListClass, "ComboBox"},
    {kVbHeaderClass, WC_HEADERA},
    {kVbProgressBarClass, PROGRESS_CLASSA},
    {kVb5ProgressBarClass, PROGRESS_CLASSA},
    {kVbDataListClass, "ListBox"},
    {kVbDbListClass, "ListBox"},
    {kVbGridClass, WC_LISTVIEWA},
};

// A superclass that keeps everything of the system class, its window procedure
// included: the control behaves exactly as the system's, only its name differs.
bool RegisterLookAlike(HINSTANCE instance, const LookAlike& lookAlike) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(instance, lookAlike.name, &existing)) {
        return true;
    }
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!GetClassInfoExA(nullptr, lookAlike.systemClass, &windowClass)) {
        return false;
    }
    // A global system class must not be registered again as global by us.
    windowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
    windowClass.hInstance = instance;
    windowClass.lpszClassName = lookAlike.name;
    return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

bool RegisterLookAlikeClasses(HINSTANCE instance) {
    INITCOMMONCONTROLSEX common{};
    common.dwSize = sizeof common;
    common.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS;
    // comctl32 from the system folder, as Quenlo takes it; its classes come with it.
    static const auto initCommonControls =
        SystemFunction<decltype(&::InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx");
    if (initCommonControls != nullptr) {
        initCommonControls(&common);
    }
    bool all = true;
    for (const LookAlike& lookAlike : kLookAlikes) {
        all = RegisterLookAlike(instance, lookAlike) && all;
    }
    return all;
}

}  // namespace quenlo::gallery
