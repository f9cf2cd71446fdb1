#include "platform/window_subclass.h"

#include "platform/system_library.h"

namespace quenlo {
namespace {

struct SubclassHelpers {
    decltype(&::SetWindowSubclass) set = nullptr;
    decltype(&::RemoveWindowSubclass) remove = nullptr;
    decltype(&::DefSubclassProc) next = nullptr;
};

// All three or none: a subclass that could be added must be removable and passable.
const SubclassHelpers& Helpers() {
    static const SubclassHelpers helpers = [] {
        SubclassHelpers found;
        found.set = SystemFunction<decltype(found.set)>(L"comctl32.dll", "SetWindowSubclass");
        found.remove =
            SystemFunction<decltype(found.remove)>(L"comctl32.dll", "RemoveWindowSubclass");
        found.next = SystemFunction<decltype(found.next)>(L"comctl32.dll", "DefSubclassProc");
        return found.set && found.remove && found.next ? found : SubclassHelpers{};
    }();
    return helpers;
}

}  // namespace

bool AddSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    return Helpers().set != nullptr && Helpers().set(window, procedure, id, data);
}

bool RemoveSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    return Helpers().remove != nullptr && Helpers().remove(window, procedure, id);
}

LRESULT DefaultSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only a subclass that was added calls this, and then the helpers are there.
    return Helpers().next(window, message, wParam, lParam);
}

}  // namespace quenlo
