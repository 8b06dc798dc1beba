#include "utils/NamedAccessible.h"

#include <new>

#include "utils/AccessibleIid.h"

namespace velutils {

namespace {

HRESULT CopyOut(const std::wstring& text, BSTR* out)
{
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

LRESULT NamedAccessible::Answer(HWND hwnd, WPARAM flags, LPARAM object, const Naming& naming)
{
    const LONG id = static_cast<LONG>(static_cast<DWORD>(object));
    if (id != OBJID_WINDOW && id != OBJID_CLIENT)
        return 0;
    ComPtr<IAccessible> system;
    if (FAILED(CreateStdAccessibleObject(hwnd, id, kIidAccessible, system.ReceiveVoid())))
        return 0;
    Naming own = naming;
    if (id == OBJID_WINDOW)
        own.role = 0;     // the window stays a window; its client area is what it shows
    ComPtr<IAccessible> named(new (std::nothrow) NamedAccessible(std::move(system), hwnd, std::move(own)));
    if (!named)
        return 0;
    LRESULT answer = LresultFromObject(kIidAccessible, flags, named.Get());
    return answer > 0 ? answer : 0;     // a failure: the system's object stands in
}

HRESULT NamedAccessible::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kIidAccessible) {
        *object = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    return m_system->QueryInterface(iid, object);
}

ULONG NamedAccessible::Release()
{
    LONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

bool NamedAccessible::Own(const VARIANT& child, HRESULT& gone) const
{
    if (child.vt != VT_I4 || child.lVal != CHILDID_SELF)
        return false;
    gone = IsWindow(m_hwnd) ? S_OK : CO_E_OBJNOTCONNECTED;
    return true;
}

HRESULT NamedAccessible::get_accName(VARIANT child, BSTR* name)
{
    HRESULT gone = S_OK;
    if (!name || !Own(child, gone))
        return m_system->get_accName(child, name);
    *name = nullptr;
    return FAILED(gone) ? gone : CopyOut(m_naming.name, name);
}

HRESULT NamedAccessible::get_accValue(VARIANT child, BSTR* value)
{
    HRESULT gone = S_OK;
    if (!value || !m_naming.valued || !Own(child, gone))
        return m_system->get_accValue(child, value);
    *value = nullptr;
    return FAILED(gone) ? gone : CopyOut(m_naming.name, value);
}

HRESULT NamedAccessible::get_accRole(VARIANT child, VARIANT* role)
{
    HRESULT gone = S_OK;
    if (!role || !m_naming.role || !Own(child, gone))
        return m_system->get_accRole(child, role);
    VariantInit(role);
    if (FAILED(gone))
        return gone;
    role->vt = VT_I4;
    role->lVal = m_naming.role;
    return S_OK;
}

std::wstring WindowTextOf(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    length = GetWindowTextW(hwnd, &text[0], length + 1);
    text.resize(static_cast<size_t>(length > 0 ? length : 0));
    return text;
}

}  // namespace velutils
