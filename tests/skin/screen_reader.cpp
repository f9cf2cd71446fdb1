#include "screen_reader.h"

#include <oleacc.h>

#include "platform/ansi_text.h"

namespace quenlo::skin {

Heard AskReader(HWND control) {
    Heard heard;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT),
                                          __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object)))) {
        return heard;
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    if (object->get_accName(self, &name) == S_OK && name) {
        heard.name = Utf8FromWide(std::wstring_view(name, SysStringLen(name)));
    }
    SysFreeString(name);
    VARIANT answer{};
    if (SUCCEEDED(object->get_accRole(self, &answer)) && answer.vt == VT_I4) {
        heard.role = answer.lVal;
    }
    VariantInit(&answer);
    if (SUCCEEDED(object->get_accState(self, &answer)) && answer.vt == VT_I4) {
        heard.state = answer.lVal;
    }
    object->Release();
    return heard;
}

}  // namespace quenlo::skin
