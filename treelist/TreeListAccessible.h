// The accessibility object of a "TreeList" control, as screen readers read it: the
// control is an outline, its items are its children (outline items, addressed by their
// handles as child ids), in tree order. Made on the first WM_GETOBJECT and kept by the
// control until its window goes; clients may hold it longer, and from then on every call
// answers that the object is gone (CO_E_OBJNOTCONNECTED).
//
// Clients call on any thread (another process's calls arrive on a thread of the COM
// runtime); each call is handed to the control's thread in a sent message, so that the
// tree is read there, under the control's lock, as every message reads it.
#pragma once
#include <windows.h>
#include <oleacc.h>

#include <atomic>
#include <memory>
#include <mutex>

#include "treelist/AccessibleQuery.h"
#include "utils/ComPtr.h"

namespace treelist {

class TreeListAccessible final : public IAccessible, public IEnumVARIANT {
public:
    static velutils::ComPtr<TreeListAccessible> Create(HWND hwnd);
    // The window goes.
    void Disconnect();

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch: no type information; clients use the IAccessible methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override;
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override;
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override;
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override;
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override;
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override;
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override;
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override;
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override;
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override;
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override;

    // IEnumVARIANT: the items in tree order, as child ids.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override;
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override;

private:
    // Clones share the window with the object they came from.
    using Link = std::atomic<HWND>;
    // Where the enumeration stands: the index of the next child, and (0 = unknown) that
    // child with the tree's count of changes when it was learnt.
    struct Cursor {
        ULONG index = 0;
        LONG item = 0;
        unsigned stamp = 0;
    };
    TreeListAccessible(std::shared_ptr<Link> window, Cursor cursor);

    // Asks the control; CO_E_OBJNOTCONNECTED once the window is gone.
    HRESULT Ask(AccessibleQuery& query) const;
    HRESULT AskAbout(AccessibleAsk ask, const VARIANT& child, AccessibleQuery& query) const;
    HRESULT AskText(AccessibleAsk ask, const VARIANT& child, BSTR* text) const;
    HRESULT AskNumber(AccessibleAsk ask, const VARIANT& child, VARIANT* number) const;
    // The object meant by an answer (an item, the control, a child window, or none).
    HRESULT AnswerObject(const AccessibleQuery& query, VARIANT* object) const;
    HRESULT NavigateStandard(long direction, VARIANT* end) const;

    std::atomic<LONG> m_refs{ 1 };
    std::shared_ptr<Link> m_window;
    std::mutex m_cursorLock;
    Cursor m_cursor;
};

}  // namespace treelist
