#include "shell/accessibility.hpp"

#include "platform/system_function.hpp"

#include <oleacc.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>
#include <utility>

namespace shell {
namespace {

using Microsoft::WRL::ComPtr;
using platform::SystemFunction;

// Bound when a screen reader first asks, so a run without one never loads the library.
SystemFunction<decltype(&::CreateStdAccessibleObject)> create_standard_object(
    L"oleacc.dll", "CreateStdAccessibleObject");
SystemFunction<decltype(&::LresultFromObject)> result_from_object(L"oleacc.dll",
                                                                  "LresultFromObject");
SystemFunction<decltype(&::SysAllocStringLen)> allocate_string(L"oleaut32.dll",
                                                               "SysAllocStringLen");

bool is_self(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT answer_text(std::wstring_view text, BSTR* answer) noexcept {
    if (!answer) {
        return E_POINTER;
    }
    // No exception may leave a COM method; a text that cannot be made is reported as E_OUTOFMEMORY.
    try {
        *answer = allocate_string(text.data(), static_cast<UINT>(text.size()));
    } catch (...) {
        *answer = nullptr;
    }
    return *answer ? S_OK : E_OUTOFMEMORY;
}

// The system's accessible object of the control with the look's name, role and default
// action in place of its own; every other question goes to the system's object unchanged.
class DescribedObject final : public IAccessible, public IOleWindow {
  public:
    DescribedObject(HWND control, ComPtr<IAccessible> base, const AccessibleLook& look)
        : control_(control), base_(std::move(base)), look_(look) {}

    STDMETHODIMP QueryInterface(REFIID interface_id, void** object) override {
        if (!object) {
            return E_POINTER;
        }
        *object = nullptr;
        if (interface_id == IID_IUnknown || interface_id == IID_IDispatch ||
            interface_id == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
        } else if (interface_id == IID_IOleWindow) {
            // How clients find the window of an object, as they do for the system's own.
            *object = static_cast<IOleWindow*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;  // made by make_unique and handed over to this count
        }
        return left;
    }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override { return base_->GetTypeInfoCount(count); }
    STDMETHODIMP GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return base_->GetTypeInfo(index, locale, info);
    }
    STDMETHODIMP GetIDsOfNames(REFIID interface_id, LPOLESTR* names, UINT count, LCID locale,
                               DISPID* ids) override {
        return base_->GetIDsOfNames(interface_id, names, count, locale, ids);
    }
    // Through the interface's type description onto this object's own methods, so a
    // client that asks by name gets the same answers as one that calls them.
    STDMETHODIMP Invoke(DISPID member, REFIID, LCID locale, WORD flags, DISPPARAMS* parameters,
                        VARIANT* result, EXCEPINFO* exception, UINT* argument_error) override {
        ComPtr<ITypeInfo> description;
        const HRESULT described = base_->GetTypeInfo(0, locale, &description);
        return FAILED(described)
                   ? described
                   : description->Invoke(static_cast<IAccessible*>(this), member, flags, parameters,
                                         result, exception, argument_error);
    }

    STDMETHODIMP GetWindow(HWND* window) override {
        if (!window) {
            return E_POINTER;
        }
        *window = control_;
        return S_OK;
    }
    STDMETHODIMP ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    STDMETHODIMP get_accName(VARIANT child, BSTR* name) override {
        return is_self(child) && !look_.name.empty() ? answer_text(look_.name, name)
                                                     : base_->get_accName(child, name);
    }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT* role) override {
        if (!is_self(child) || look_.role == 0) {
            return base_->get_accRole(child, role);
        }
        if (!role) {
            return E_POINTER;
        }
        role->vt = VT_I4;
        role->lVal = look_.role;
        return S_OK;
    }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* action) override {
        return acts_itself(child) ? answer_text(look_.action, action)
                                  : base_->get_accDefaultAction(child, action);
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override {
        if (!acts_itself(child)) {
            return base_->accDoDefaultAction(child);
        }
        return PostMessageW(control_, kDoDefaultAction, 0, 0) ? S_OK
                                                              : HRESULT_FROM_WIN32(GetLastError());
    }

    // Everything else as the system's object answers it.
    STDMETHODIMP get_accParent(IDispatch** out) override { return base_->get_accParent(out); }
    STDMETHODIMP get_accChildCount(long* out) override { return base_->get_accChildCount(out); }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
        return base_->get_accChild(child, out);
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override {
        return base_->get_accValue(child, out);
    }
    STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override {
        return base_->get_accDescription(child, out);
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
        return base_->get_accState(child, out);
    }
    STDMETHODIMP get_accHelp(VARIANT child, BSTR* out) override {
        return base_->get_accHelp(child, out);
    }
    STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return base_->get_accHelpTopic(file, child, topic);
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return base_->get_accKeyboardShortcut(child, out);
    }
    STDMETHODIMP get_accFocus(VARIANT* out) override { return base_->get_accFocus(out); }
    STDMETHODIMP get_accSelection(VARIANT* out) override { return base_->get_accSelection(out); }
    STDMETHODIMP accSelect(long flags, VARIANT child) override {
        return base_->accSelect(flags, child);
    }
    STDMETHODIMP accLocation(long* left, long* top, long* width, long* height,
                             VARIANT child) override {
        return base_->accLocation(left, top, width, height, child);
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return base_->accNavigate(direction, start, end);
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT* out) override {
        return base_->accHitTest(x, y, out);
    }
    STDMETHODIMP put_accName(VARIANT child, BSTR name) override {
        return base_->put_accName(child, name);
    }
    STDMETHODIMP put_accValue(VARIANT child, BSTR value) override {
        return base_->put_accValue(child, value);
    }

  private:
    bool acts_itself(const VARIANT& child) const { return is_self(child) && !look_.action.empty(); }

    std::atomic<ULONG> references_{1};
    HWND control_;
    ComPtr<IAccessible> base_;
    const AccessibleLook& look_;
};

// The control's own window procedure and its look, kept with the control itself.
constexpr wchar_t kOwnProcedure[] = L"Torvane.OwnProcedure";
constexpr wchar_t kLook[] = L"Torvane.AccessibleLook";

LRESULT CALLBACK describing_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    const auto own_procedure = reinterpret_cast<WNDPROC>(GetPropW(control, kOwnProcedure));
    if (message == WM_GETOBJECT) {
        const auto& look = *static_cast<const AccessibleLook*>(GetPropW(control, kLook));
        if (const auto answer = answer_screen_reader(control, wparam, lparam, look)) {
            return *answer;
        }
    } else if (message == WM_NCDESTROY) {
        RemovePropW(control, kOwnProcedure);
        RemovePropW(control, kLook);
    }
    return CallWindowProcW(own_procedure, control, message, wparam, lparam);
}

}  // namespace

std::optional<LRESULT> answer_screen_reader(HWND control, WPARAM flags, LPARAM object,
                                            const AccessibleLook& look) {
    // The object identifier is a 32-bit value whatever the size of LPARAM.
    if (static_cast<DWORD>(object) != static_cast<DWORD>(OBJID_CLIENT)) {
        return std::nullopt;
    }
    try {
        ComPtr<IAccessible> standard;
        if (FAILED(create_standard_object(control, OBJID_CLIENT, IID_PPV_ARGS(&standard)))) {
            return std::nullopt;
        }
        ComPtr<IAccessible> described;
        described.Attach(
            std::make_unique<DescribedObject>(control, std::move(standard), look).release());
        const LRESULT result = result_from_object(IID_IAccessible, flags, described.Get());
        // A failure code would fail the client's request; the control's own answer is better.
        return result >= 0 ? std::optional<LRESULT>(result) : std::nullopt;
    } catch (...) {
        // No library or no memory: nothing may leave a window procedure.
        return std::nullopt;
    }
}

void describe_for_screen_readers(HWND control, const AccessibleLook& look) {
    // Subclassed by hand rather than with SetWindowSubclass, which would load the common
    // controls library into every run for a question that most runs are never asked.
    SetPropW(control, kLook, const_cast<AccessibleLook*>(&look));
    SetPropW(control, kOwnProcedure,
             reinterpret_cast<HANDLE>(GetWindowLongPtrW(control, GWLP_WNDPROC)));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(describing_procedure));
}

}  // namespace shell
