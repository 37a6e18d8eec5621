#include "win32/clock_accessible.h"

#include "win32/wide_text.h"

#include <oleacc.h>
#include <utility>

// NOTE: mingw-w64's import library of oleacc.dll resolves IID_IAccessible to a stub in the
// DLL, not to the interface's GUID, so every GUID here comes from __uuidof.

namespace norvale::win32 {
namespace {

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT CopyText(const std::string& text, BSTR* out) {
    if (!out) {
        return E_INVALIDARG;
    }
    const std::wstring wide = ToWide(text);
    *out = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

} // namespace

// The system's standard object for the window's client area, with name, value and role of
// its own; every other question goes to the standard object.
class ClockAccessible final : public IAccessible {
public:
    ClockAccessible(IAccessible* standard, ClockAccessibility::Reader reader)
        : FStandard(standard), FReader(std::move(reader)) {}

    // Cuts the link to the window, which is going: later questions find no object.
    void Disconnect() {
        FReader = nullptr;
        if (FStandard) {
            FStandard->Release();
            FStandard = nullptr;
        }
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IDispatch)) ||
            IsEqualIID(iid, __uuidof(IAccessible))) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&FReferences); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&FReferences);
        if (left == 0) {
            Disconnect();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (IsSelf(child) && FReader) {
            return CopyText(FReader().Name, name);
        }
        return Pass([&](IAccessible& s) { return s.get_accName(child, name); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (IsSelf(child) && FReader) {
            return CopyText(FReader().Value, value);
        }
        return Pass([&](IAccessible& s) { return s.get_accValue(child, value); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (IsSelf(child) && FReader && role) {
            VariantInit(role);
            role->vt = VT_I4;
            role->lVal = ROLE_SYSTEM_CLOCK;
            return S_OK;
        }
        return Pass([&](IAccessible& s) { return s.get_accRole(child, role); });
    }

    // Everything else is the standard object's.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return Pass([&](IAccessible& s) { return s.GetTypeInfoCount(count); });
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return Pass([&](IAccessible& s) { return s.GetTypeInfo(index, locale, info); });
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return Pass(
            [&](IAccessible& s) { return s.GetIDsOfNames(iid, names, count, locale, ids); });
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override {
        return Pass([&](IAccessible& s) {
            return s.Invoke(id, iid, locale, flags, params, result, exception, badArgument);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return Pass([&](IAccessible& s) { return s.get_accParent(parent); });
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return Pass([&](IAccessible& s) { return s.get_accChildCount(count); });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        return Pass([&](IAccessible& s) { return s.get_accChild(child, dispatch); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Pass([&](IAccessible& s) { return s.get_accDescription(child, text); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Pass([&](IAccessible& s) { return s.get_accState(child, state); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return Pass([&](IAccessible& s) { return s.get_accHelp(child, text); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return Pass([&](IAccessible& s) { return s.get_accHelpTopic(file, child, topic); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return Pass([&](IAccessible& s) { return s.get_accKeyboardShortcut(child, text); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return Pass([&](IAccessible& s) { return s.get_accFocus(child); });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return Pass([&](IAccessible& s) { return s.get_accSelection(children); });
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
        return Pass([&](IAccessible& s) { return s.get_accDefaultAction(child, text); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return Pass([&](IAccessible& s) { return s.accSelect(flags, child); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return Pass([&](IAccessible& s) { return s.accLocation(left, top, width, height, child); });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return Pass([&](IAccessible& s) { return s.accNavigate(direction, start, end); });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return Pass([&](IAccessible& s) { return s.accHitTest(left, top, child); });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Pass([&](IAccessible& s) { return s.accDoDefaultAction(child); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return Pass([&](IAccessible& s) { return s.put_accName(child, name); });
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return Pass([&](IAccessible& s) { return s.put_accValue(child, value); });
    }

private:
    template <typename Call>
    HRESULT Pass(Call call) {
        return FStandard ? call(*FStandard) : CO_E_OBJNOTCONNECTED;
    }

    IAccessible* FStandard;
    ClockAccessibility::Reader FReader;
    LONG FReferences = 1;
};

ClockAccessibility::ClockAccessibility(HWND window, Reader reader)
    : FWindow(window), FReader(std::move(reader)) {
    // A reader in another process reaches the object through COM, on this thread.
    FComInitialised = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

ClockAccessibility::~ClockAccessibility() {
    if (FObject) {
        FObject->Disconnect();
        CoDisconnectObject(FObject, 0);
        FObject->Release();
    }
    if (FComInitialised) {
        CoUninitialize();
    }
}

LRESULT ClockAccessibility::Answer(WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) {
        return 0;
    }
    if (!FObject) {
        IAccessible* standard = nullptr;
        if (FAILED(CreateStdAccessibleObject(FWindow, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&standard)))) {
            return 0;
        }
        FObject = new ClockAccessible(standard, FReader);
    }
    return LresultFromObject(__uuidof(IAccessible), wParam, FObject);
}

void ClockAccessibility::Changed() const {
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, FWindow, OBJID_CLIENT, CHILDID_SELF);
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, FWindow, OBJID_CLIENT, CHILDID_SELF);
}

} // namespace norvale::win32
