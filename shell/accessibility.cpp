#include "shell/accessibility.hpp"

#include "platform/system_function.hpp"

#include <oleacc.h>
#include <wrl/client.h>

#include <atomic>
#include <new>
#include <memory>
#include <optional>
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

// The system's accessible object of the control with the look's name and role in place of
// its own; every other question goes to the system's object unchanged.
class DescribedObject final : public IAccessible, public IOleWindow {
  public:
    DescribedObject(HWND control, ComPtr<IAccessible> standard, const AccessibleLook& look)
        : control_(control), standard_(std::move(standard)), look_(look) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID interface_id, void** object) override {
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
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            // Made by make_unique and handed over to this count (described_client_object).
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return standard_->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID interface_id, LPOLESTR* names, UINT count,
                                            LCID locale, DISPID* ids) override {
        return standard_->GetIDsOfNames(interface_id, names, count, locale, ids);
    }
    // Through the interface's type description onto this object's own methods, so a
    // client that asks by name gets the same answers as one that calls them.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument_error) override {
        ComPtr<ITypeInfo> description;
        const HRESULT described = standard_->GetTypeInfo(0, locale, &description);
        if (FAILED(described)) {
            return described;
        }
        return description->Invoke(static_cast<IAccessible*>(this), member, flags, parameters,
                                   result, exception, argument_error);
    }

    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (!window) {
            return E_POINTER;
        }
        *window = control_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!is_self(child) || look_.name.empty()) {
            return standard_->get_accName(child, name);
        }
        if (!name) {
            return E_POINTER;
        }
        // No exception may leave a COM method.
        try {
            *name = allocate_string(look_.name.data(), static_cast<UINT>(look_.name.size()));
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            return E_FAIL;
        }
        return *name ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!is_self(child) || look_.role == 0) {
            return standard_->get_accRole(child, role);
        }
        if (!role) {
            return E_POINTER;
        }
        role->vt = VT_I4;
        role->lVal = look_.role;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        return standard_->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return standard_->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return standard_->get_accDescription(child, description);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focused) override {
        return standard_->get_accFocus(focused);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selected) override {
        return standard_->get_accSelection(selected);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return standard_->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_->put_accValue(child, value);
    }

  private:
    std::atomic<ULONG> references_{1};
    HWND control_;
    ComPtr<IAccessible> standard_;
    const AccessibleLook& look_;
};

// The answer to WM_GETOBJECT for the control's client object, or nothing when the system
// cannot make its own object (then the control answers as if it were not described).
std::optional<LRESULT> described_client_object(HWND control, WPARAM flags,
                                               const AccessibleLook& look) {
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

// The control's own window procedure and its look, kept with the control itself.
constexpr wchar_t kOwnProcedure[] = L"Torvane.OwnProcedure";
constexpr wchar_t kLook[] = L"Torvane.AccessibleLook";

LRESULT CALLBACK describing_procedure(HWND control, UINT message, WPARAM wparam, LPARAM lparam) {
    const auto own_procedure = reinterpret_cast<WNDPROC>(GetPropW(control, kOwnProcedure));
    switch (message) {
        case WM_GETOBJECT:
            // The object identifier is a 32-bit value whatever the size of LPARAM.
            if (static_cast<DWORD>(lparam) == static_cast<DWORD>(OBJID_CLIENT)) {
                const auto& look = *static_cast<const AccessibleLook*>(GetPropW(control, kLook));
                if (const auto answer = described_client_object(control, wparam, look)) {
                    return *answer;
                }
            }
            break;
        case WM_NCDESTROY:
            // Put back only if no later subclass has replaced this one meanwhile.
            if (GetWindowLongPtrW(control, GWLP_WNDPROC) ==
                reinterpret_cast<LONG_PTR>(describing_procedure)) {
                SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(own_procedure));
            }
            RemovePropW(control, kOwnProcedure);
            RemovePropW(control, kLook);
            break;
        default:
            break;
    }
    return CallWindowProcW(own_procedure, control, message, wparam, lparam);
}

}  // namespace

void describe_for_screen_readers(HWND control, const AccessibleLook& look) {
    // Subclassed by hand rather than with SetWindowSubclass, which would load the common
    // controls library into every run for a question that most runs are never asked.
    SetPropW(control, kLook, const_cast<AccessibleLook*>(&look));
    if (GetPropW(control, kOwnProcedure)) {
        return;  // described already: only the look changes
    }
    SetPropW(control, kOwnProcedure,
             reinterpret_cast<HANDLE>(GetWindowLongPtrW(control, GWLP_WNDPROC)));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(describing_procedure));
}

}  // namespace shell
