#include "main_window/accessible_controls.h"

#include "platform/accessible_object.h"
#include "platform/ansi_text.h"
#include "platform/window_subclass.h"

namespace quenlo {
namespace {

constexpr UINT_PTR kAccessibleSubclassId = 2;

LRESULT CALLBACK AccessibleProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR, DWORD_PTR data) {
    auto* answers = reinterpret_cast<AccessibleAnswers*>(data);
    if (message == WM_NCDESTROY) {
        RemoveSubclass(control, AccessibleProc, kAccessibleSubclassId);
        delete answers;
    } else if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (const LRESULT result = AnswerClientObjectRequest(control, wParam, *answers)) {
            return result;
        }
    }
    return DefaultSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void GiveAccessibleNameAndRole(HWND control, HWND nameSource, std::string_view fixedName,
                               long role) {
    auto* answers = new AccessibleAnswers{};
    if (fixedName.empty()) {
        answers->name = [nameSource] { return WindowTextOf(nameSource); };
    } else {
        answers->name = [name = WideFromUtf8(fixedName)] { return name; };
    }
    answers->role = role;
    if (!AddSubclass(control, AccessibleProc, kAccessibleSubclassId,
                     reinterpret_cast<DWORD_PTR>(answers))) {
        delete answers;
    }
}

}  // namespace quenlo
