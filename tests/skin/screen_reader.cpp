#include "screen_reader.h"

#include <oleacc.h>

namespace quenlo::skin {

namespace {

std::string Utf8Of(BSTR text) {
    const int length = static_cast<int>(SysStringLen(text));
    std::string utf8(static_cast<std::size_t>(length) * 3, '\0');
    utf8.resize(static_cast<std::size_t>(WideCharToMultiByte(
        CP_UTF8, 0, text, length, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr)));
    return utf8;
}

}  // namespace

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
        heard.name = Utf8Of(name);
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
