#include "main_window/accessible_controls.h"

#include <commctrl.h>
#include <oleacc.h>

#include <string>


namespace quenlo {
namespace {

constexpr UINT_PTR kAccessibleSubclassId = 2;

// Plain values, copied into every object handed out: a reader may hold one after
// the window has gone.
struct NameAndRole {
    HWND nameSource;
    std::wstring fixedName;
    long role;

    std::wstring Name() const {
        if (!fixedName.empty()) {
            return fixedName;
        }
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(nameSource)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(nameSource, text.data(), static_cast<int>(text.size()))));
        return text;
    }
};

std::wstring WideFromUtf8(std::string_view text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
        CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
        static_cast<int>(wide.size()))));
    return wide;
}

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

// The system's object with our name and role; everything else is its own.
class NamedAccessible final : public IAccessible {
public:
    NamedAccessible(IAccessible* inner, const NameAndRole& names) : inner_(inner), names_(names) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        return inner_->QueryInterface(iid, object);  // IEnumVARIANT, IOleWindow, ...
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            inner_->Release();
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child)) {
            return inner_->get_accName(child, name);
        }
        if (!name) {
            return E_POINTER;
        }
        const std::wstring text = names_.Name();
        *name = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child)) {
            return inner_->get_accRole(child, role);
        }
        if (!role) {
            return E_POINTER;
        }
        role->vt = VT_I4;
        role->lVal = names_.role;
        return S_OK;
    }

    // The rest as the system answers it.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return inner_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return inner_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return inner_->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        return inner_->Invoke(id, iid, locale, flags, params, result, exception, argument);
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return inner_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return inner_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return inner_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return inner_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return inner_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return inner_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return inner_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return inner_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return inner_->get_accKeyboardShortcut(child, keys);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return inner_->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return inner_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return inner_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return inner_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return inner_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return inner_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return inner_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return inner_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return inner_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return inner_->put_accValue(child, value);
    }

private:
    ~NamedAccessible() = default;

    IAccessible* inner_;  // owned: one reference
    const NameAndRole names_;
    ULONG references_ = 1;
};

LRESULT CALLBACK AccessibleProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR, DWORD_PTR data) {
    auto* names = reinterpret_cast<NameAndRole*>(data);
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(control, AccessibleProc, kAccessibleSubclassId);
        delete names;
    } else if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        void* inner = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible), &inner))) {
            auto* named = new NamedAccessible(static_cast<IAccessible*>(inner), *names);
            const LRESULT result = LresultFromObject(__uuidof(IAccessible), wParam, named);
            named->Release();  // the result holds its own reference
            return result;
        }
    }
    return DefSubclassProc(control, message, wParam, lParam);
}

}  // namespace

void GiveAccessibleNameAndRole(HWND control, HWND nameSource, std::string_view fixedName,
                               long role) {
    auto* names = new NameAndRole{nameSource, WideFromUtf8(fixedName), role};
    if (!SetWindowSubclass(control, AccessibleProc, kAccessibleSubclassId,
                           reinterpret_cast<DWORD_PTR>(names))) {
        delete names;
    }
}

}  // namespace quenlo
