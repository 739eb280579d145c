#include "windows/AccessibleText.h"

#include <commctrl.h>
#include <oleacc.h>

#include <utility>

namespace {

// The standard accessible object of a control with its name and value
// answered by the program. Every other question goes to the standard object.
class AccessibleOverride final : public IAccessible {
public:
    // The texts are asked for only while the control's window exists: a
    // screen reader may keep the object longer than the window lives.
    AccessibleOverride(HWND control, IAccessible* standard, AccessibleText text)
        : control_(control), standard_(standard), text_(std::move(text))
    {
    }
    AccessibleOverride(const AccessibleOverride&) = delete;
    AccessibleOverride& operator=(const AccessibleOverride&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (object == nullptr) return E_POINTER;
        if (id == IID_IUnknown || id == IID_IDispatch || id == IID_IAccessible) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return standard_->GetTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override
    {
        return standard_->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override
    {
        return standard_->GetIDsOfNames(id, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* argumentError) override
    {
        return standard_->Invoke(member, id, locale, flags, parameters, result, exception, argumentError);
    }

    // IAccessible: name and value of the control itself are ours.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        if (IsSelf(child) && text_.name && IsWindow(control_)) return Answer(text_.name(), name);
        return standard_->get_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        if (IsSelf(child) && text_.value && IsWindow(control_)) return Answer(text_.value(), value);
        return standard_->get_accValue(child, value);
    }

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override { return standard_->get_accParent(parent); }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override { return standard_->get_accChildCount(count); }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override
    {
        return standard_->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override
    {
        return standard_->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override
    {
        return standard_->get_accRole(child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override
    {
        return standard_->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override
    {
        return standard_->get_accHelp(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override
    {
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override
    {
        return standard_->get_accKeyboardShortcut(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override { return standard_->get_accFocus(child); }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override
    {
        return standard_->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override
    {
        return standard_->get_accDefaultAction(child, text);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override { return standard_->accSelect(flags, child); }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override
    {
        return standard_->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override
    {
        return standard_->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override
    {
        return standard_->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override { return standard_->accDoDefaultAction(child); }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override { return standard_->put_accName(child, name); }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override
    {
        return standard_->put_accValue(child, value);
    }

private:
    ~AccessibleOverride() { standard_->Release(); }

    static bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }
    static HRESULT Answer(const std::wstring& text, BSTR* out)
    {
        if (out == nullptr) return E_POINTER;
        *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    HWND control_;
    IAccessible* standard_;
    AccessibleText text_;
    LONG references_ = 1;
};

LRESULT CALLBACK AccessibleTextProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                    DWORD_PTR data)
{
    auto* text = reinterpret_cast<AccessibleText*>(data);
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        IAccessible* standard = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible,
                                                reinterpret_cast<void**>(&standard)))) {
            auto* answer = new AccessibleOverride(window, standard, *text);
            const LRESULT result = LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(answer));
            answer->Release();
            return result;
        }
    }
    if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(window, &AccessibleTextProc, 0);
        delete text;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

void ProvideAccessibleText(HWND control, AccessibleText text)
{
    auto* owned = new AccessibleText(std::move(text));
    if (!SetWindowSubclass(control, &AccessibleTextProc, 0, reinterpret_cast<DWORD_PTR>(owned))) delete owned;
}

void AnnounceValueChange(HWND control)
{
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}
