#include "skin/engine/accessible_marks.h"

#include <oleacc.h>

#include "platform/accessible_object.h"
#include "skin/registry/class_groups.h"

namespace quenlo::skin {

namespace {

// A check box or an option button by its button type; a look-alike class that keeps
// another type is still what its class stands for. 0: neither.
long MarkRole(HWND button) {
    const ClassGroup group = ClassGroupOfWindow(button);
    if (group != ClassGroup::CommandButton && group != ClassGroup::CheckBox &&
        group != ClassGroup::OptionButton) {
        return 0;
    }
    switch (GetWindowLongPtrA(button, GWL_STYLE) & BS_TYPEMASK) {
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE:
            return ROLE_SYSTEM_CHECKBUTTON;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON:
            return ROLE_SYSTEM_RADIOBUTTON;
        default:
            break;
    }
    switch (group) {
        case ClassGroup::CheckBox:
            return ROLE_SYSTEM_CHECKBUTTON;
        case ClassGroup::OptionButton:
            return ROLE_SYSTEM_RADIOBUTTON;
        default:
            return 0;
    }
}

long MarkState(HWND button) {
    switch (SendMessageA(button, BM_GETCHECK, 0, 0)) {
        case BST_CHECKED:
            return STATE_SYSTEM_CHECKED;
        case BST_INDETERMINATE:
            return STATE_SYSTEM_MIXED;
        default:
            return 0;
    }
}

}  // namespace

LRESULT OnGetObject(WNDPROC previous, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const long role = static_cast<LONG>(lParam) == OBJID_CLIENT ? MarkRole(hWnd) : 0;
    if (role != 0) {
        AccessibleAnswers answers;
        answers.role = role;
        answers.addedState = [hWnd] { return MarkState(hWnd); };
        if (const LRESULT result = AnswerClientObjectRequest(hWnd, wParam, answers)) {
            return result;
        }
    }
    return CallWindowProcA(previous, hWnd, msg, wParam, lParam);
}

}  // namespace quenlo::skin
