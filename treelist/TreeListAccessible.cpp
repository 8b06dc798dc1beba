#include "treelist/TreeListAccessible.h"

#include <new>

#include "treelist/ChildIdEnum.h"
#include "utils/AccessibleIid.h"

namespace treelist {

namespace {

bool IsChildId(const VARIANT& child)
{
    return child.vt == VT_I4;
}

HRESULT SetText(const std::wstring& text, HRESULT result, BSTR* out)
{
    *out = nullptr;
    if (FAILED(result) || result == S_FALSE)
        return result;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void SetChildId(LONG id, VARIANT* out)
{
    out->vt = VT_I4;
    out->lVal = id;
}

}  // namespace

UINT AccessibleMessage()
{
    static const UINT message = RegisterWindowMessageA("TreeList.Accessible");
    return message;
}

velutils::ComPtr<TreeListAccessible> TreeListAccessible::Create(HWND hwnd)
{
    std::shared_ptr<Link> window(new (std::nothrow) Link(hwnd));
    if (!window)
        return velutils::ComPtr<TreeListAccessible>();
    return velutils::ComPtr<TreeListAccessible>(new (std::nothrow) TreeListAccessible(window, Cursor()));
}

TreeListAccessible::TreeListAccessible(std::shared_ptr<Link> window, Cursor cursor)
    : m_window(std::move(window)), m_cursor(cursor)
{
}

void TreeListAccessible::Disconnect()
{
    m_window->store(nullptr);
}

HRESULT TreeListAccessible::Ask(AccessibleQuery& query) const
{
    HWND hwnd = m_window->load();
    // A window that is gone (or no longer ours) does not answer the message.
    if (!hwnd || !SendMessageA(hwnd, AccessibleMessage(), kAccessibleAnswer, reinterpret_cast<LPARAM>(&query)))
        return CO_E_OBJNOTCONNECTED;
    return query.result;
}

HRESULT TreeListAccessible::AskAbout(AccessibleAsk ask, const VARIANT& child, AccessibleQuery& query) const
{
    if (!IsChildId(child))
        return E_INVALIDARG;
    query.ask = ask;
    query.child = child.lVal;
    return Ask(query);
}

HRESULT TreeListAccessible::AskText(AccessibleAsk ask, const VARIANT& child, BSTR* text) const
{
    if (!text)
        return E_POINTER;
    *text = nullptr;
    AccessibleQuery query{ ask };
    HRESULT result = AskAbout(ask, child, query);
    return SetText(query.text, result, text);
}

HRESULT TreeListAccessible::AskNumber(AccessibleAsk ask, const VARIANT& child, VARIANT* number) const
{
    if (!number)
        return E_POINTER;
    VariantInit(number);
    AccessibleQuery query{ ask };
    HRESULT result = AskAbout(ask, child, query);
    if (result == S_OK)
        SetChildId(query.value, number);
    return result;
}

HRESULT TreeListAccessible::AnswerObject(const AccessibleQuery& query, VARIANT* object) const
{
    if (query.result != S_OK)
        return query.result;
    if (query.window) {
        IDispatch* window = nullptr;
        HRESULT result = AccessibleObjectFromWindow(query.window, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                                    reinterpret_cast<void**>(&window));
        if (FAILED(result))
            return result;
        object->vt = VT_DISPATCH;
        object->pdispVal = window;
        return S_OK;
    }
    if (!query.hasId)
        return S_FALSE;
    SetChildId(query.id, object);
    return S_OK;
}

// The control among its sibling windows: as the system's own object of the window says.
HRESULT TreeListAccessible::NavigateStandard(long direction, VARIANT* end) const
{
    HWND hwnd = m_window->load();
    if (!hwnd)
        return CO_E_OBJNOTCONNECTED;
    velutils::ComPtr<IAccessible> standard;
    HRESULT result = CreateStdAccessibleObject(hwnd, OBJID_CLIENT, velutils::kIidAccessible, standard.ReceiveVoid());
    if (FAILED(result))
        return result;
    VARIANT self;
    VariantInit(&self);
    SetChildId(CHILDID_SELF, &self);
    return standard->accNavigate(direction, self, end);
}

// ---- IUnknown ----

HRESULT TreeListAccessible::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == velutils::kIidAccessible)
        *object = static_cast<IAccessible*>(this);
    else if (iid == IID_IEnumVARIANT)
        *object = static_cast<IEnumVARIANT*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG TreeListAccessible::AddRef()
{
    return static_cast<ULONG>(++m_refs);
}

ULONG TreeListAccessible::Release()
{
    LONG refs = --m_refs;
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

// ---- IDispatch ----

HRESULT TreeListAccessible::GetTypeInfoCount(UINT* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT TreeListAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

HRESULT TreeListAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT TreeListAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}

// ---- IAccessible ----

HRESULT TreeListAccessible::get_accParent(IDispatch** parent)
{
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    HWND hwnd = m_window->load();
    if (!hwnd)
        return CO_E_OBJNOTCONNECTED;
    return AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
}

HRESULT TreeListAccessible::get_accChildCount(long* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    AccessibleQuery query{ AccessibleAsk::ChildCount };
    HRESULT result = Ask(query);
    if (result == S_OK)
        *count = query.value;
    return result;
}

// The items are simple elements of the control, not objects of their own.
HRESULT TreeListAccessible::get_accChild(VARIANT child, IDispatch** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (IsChildId(child) && child.lVal == CHILDID_SELF)
        return E_INVALIDARG;
    AccessibleQuery query{ AccessibleAsk::Role };
    HRESULT result = AskAbout(AccessibleAsk::Role, child, query);
    return FAILED(result) ? result : S_FALSE;
}

HRESULT TreeListAccessible::get_accName(VARIANT child, BSTR* name)
{
    return AskText(AccessibleAsk::Name, child, name);
}

HRESULT TreeListAccessible::get_accValue(VARIANT child, BSTR* value)
{
    return AskText(AccessibleAsk::Value, child, value);
}

HRESULT TreeListAccessible::get_accDescription(VARIANT child, BSTR* description)
{
    return AskText(AccessibleAsk::Description, child, description);
}

HRESULT TreeListAccessible::get_accRole(VARIANT child, VARIANT* role)
{
    return AskNumber(AccessibleAsk::Role, child, role);
}

HRESULT TreeListAccessible::get_accState(VARIANT child, VARIANT* state)
{
    return AskNumber(AccessibleAsk::State, child, state);
}

HRESULT TreeListAccessible::get_accHelp(VARIANT, BSTR* help)
{
    if (!help)
        return E_POINTER;
    *help = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TreeListAccessible::get_accHelpTopic(BSTR* file, VARIANT, long* topic)
{
    if (!file || !topic)
        return E_POINTER;
    *file = nullptr;
    *topic = 0;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TreeListAccessible::get_accKeyboardShortcut(VARIANT, BSTR* shortcut)
{
    if (!shortcut)
        return E_POINTER;
    *shortcut = nullptr;
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TreeListAccessible::get_accFocus(VARIANT* child)
{
    if (!child)
        return E_POINTER;
    VariantInit(child);
    AccessibleQuery query{ AccessibleAsk::Focus };
    HRESULT result = Ask(query);
    return FAILED(result) ? result : AnswerObject(query, child);
}

HRESULT TreeListAccessible::get_accSelection(VARIANT* children)
{
    if (!children)
        return E_POINTER;
    VariantInit(children);
    AccessibleQuery query{ AccessibleAsk::Selection };
    HRESULT result = Ask(query);
    if (result != S_OK)
        return result;
    if (query.ids.empty())
        return S_FALSE;
    if (query.ids.size() == 1) {
        SetChildId(query.ids.front(), children);
        return S_OK;
    }
    IEnumVARIANT* list = new (std::nothrow) ChildIdEnum(query.ids);
    if (!list)
        return E_OUTOFMEMORY;
    children->vt = VT_UNKNOWN;
    children->punkVal = list;
    return S_OK;
}

HRESULT TreeListAccessible::get_accDefaultAction(VARIANT child, BSTR* action)
{
    return AskText(AccessibleAsk::DefaultAction, child, action);
}

HRESULT TreeListAccessible::accSelect(long flags, VARIANT child)
{
    AccessibleQuery query{ AccessibleAsk::Select };
    query.number = flags;
    return AskAbout(AccessibleAsk::Select, child, query);
}

HRESULT TreeListAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    AccessibleQuery query{ AccessibleAsk::Location };
    HRESULT result = AskAbout(AccessibleAsk::Location, child, query);
    if (result != S_OK)
        return result;
    *left = query.rect.left;
    *top = query.rect.top;
    *width = query.rect.right - query.rect.left;
    *height = query.rect.bottom - query.rect.top;
    return S_OK;
}

HRESULT TreeListAccessible::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (!end)
        return E_POINTER;
    VariantInit(end);
    AccessibleQuery query{ AccessibleAsk::Navigate };
    query.number = direction;
    HRESULT result = AskAbout(AccessibleAsk::Navigate, start, query);
    if (FAILED(result))
        return result;
    return query.standard ? NavigateStandard(direction, end) : AnswerObject(query, end);
}

HRESULT TreeListAccessible::accHitTest(long x, long y, VARIANT* child)
{
    if (!child)
        return E_POINTER;
    VariantInit(child);
    AccessibleQuery query{ AccessibleAsk::HitTest };
    query.point = POINT{ x, y };
    HRESULT result = Ask(query);
    return FAILED(result) ? result : AnswerObject(query, child);
}

HRESULT TreeListAccessible::accDoDefaultAction(VARIANT child)
{
    AccessibleQuery query{ AccessibleAsk::DoDefaultAction };
    return AskAbout(AccessibleAsk::DoDefaultAction, child, query);
}

HRESULT TreeListAccessible::put_accName(VARIANT, BSTR)
{
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT TreeListAccessible::put_accValue(VARIANT, BSTR)
{
    return DISP_E_MEMBERNOTFOUND;
}

// ---- IEnumVARIANT ----

HRESULT TreeListAccessible::Next(ULONG count, VARIANT* items, ULONG* fetched)
{
    if (!items || (count > 1 && !fetched))
        return E_POINTER;
    if (fetched)
        *fetched = 0;
    std::lock_guard<std::mutex> lock(m_cursorLock);
    AccessibleQuery query{ AccessibleAsk::Children };
    query.number = static_cast<LONG>(m_cursor.index);
    query.count = static_cast<LONG>(count);
    query.resumeAt = m_cursor.item;
    query.stamp = m_cursor.stamp;
    HRESULT result = Ask(query);
    if (FAILED(result))
        return result;
    ULONG n = static_cast<ULONG>(query.ids.size());
    for (ULONG i = 0; i < n; ++i) {
        VariantInit(&items[i]);
        SetChildId(query.ids[i], &items[i]);
    }
    m_cursor.index += n;
    m_cursor.item = query.resumeAt;
    m_cursor.stamp = query.stamp;
    if (fetched)
        *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT TreeListAccessible::Skip(ULONG count)
{
    AccessibleQuery query{ AccessibleAsk::ChildCount };
    HRESULT result = Ask(query);
    if (FAILED(result))
        return result;
    ULONG total = static_cast<ULONG>(query.value);
    std::lock_guard<std::mutex> lock(m_cursorLock);
    ULONG left = m_cursor.index < total ? total - m_cursor.index : 0;
    ULONG n = count < left ? count : left;
    m_cursor = Cursor{ m_cursor.index + n, 0, 0 };
    return n == count ? S_OK : S_FALSE;
}

HRESULT TreeListAccessible::Reset()
{
    std::lock_guard<std::mutex> lock(m_cursorLock);
    m_cursor = Cursor();
    return S_OK;
}

HRESULT TreeListAccessible::Clone(IEnumVARIANT** copy)
{
    if (!copy)
        return E_POINTER;
    std::lock_guard<std::mutex> lock(m_cursorLock);
    *copy = new (std::nothrow) TreeListAccessible(m_window, m_cursor);
    return *copy ? S_OK : E_OUTOFMEMORY;
}

}  // namespace treelist
