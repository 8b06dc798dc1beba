// The control as a screen reader meets it: its accessibility object read from another
// thread, the WinEvents it raises, and the context menu asked of its owner.
#include <gtest/gtest.h>

#include <windowsx.h>

#include "AccessibleReader.h"
#include "TreeListFixture.h"

namespace {

LONG Id(HTREEITEM item)
{
    return static_cast<LONG>(reinterpret_cast<UINT_PTR>(item));
}

// The child an answer names: an id, -1 for none, -2 for an object of its own.
LONG IdOf(HRESULT result, VARIANT found)
{
    LONG id = result == S_OK && found.vt == VT_I4 ? found.lVal : found.vt == VT_DISPATCH ? -2 : -1;
    VariantClear(&found);
    return id;
}

LONG Navigate(IAccessible* object, LONG from, long direction)
{
    VARIANT end;
    return IdOf(object->accNavigate(direction, ChildId(from), &end), end);
}

LONG HitTest(IAccessible* object, POINT p)
{
    VARIANT found;
    return IdOf(object->accHitTest(p.x, p.y, &found), found);
}

class AccessibleTree : public TreeListTest {
protected:
    void SetUp() override
    {
        TreeListTest::SetUp();
        Make(TVS_HASBUTTONS | TVS_LINESATROOT | TVS_CHECKBOXES);
        AddColumn("Tulajdonság", 150, 0);
        AddColumn("Érték", 100);
    }

    // Alfa (expanded: Egy, checked; Kettő*, a text its owner supplies), Béta (collapsed:
    // Rejtett), Gamma; Egy holds the caret and the focus. Three rows fit.
    void BuildSample()
    {
        alfa = Insert("Alfa");
        egy = Insert("Egy", alfa);
        TVITEMA callback = ItemOf(nullptr, TVIF_TEXT);
        callback.pszText = LPSTR_TEXTCALLBACKA;
        TVINSERTSTRUCTA insert = { alfa, TVI_LAST, {} };
        insert.item = callback;
        ketto = ItemOf(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        beta = Insert("Béta");
        rejtett = Insert("Rejtett", beta);
        gamma = Insert("Gamma");
        m_hooks[TVN_GETDISPINFOA] = [](const NMHDR* nm) {
            const auto* info = reinterpret_cast<const NMTVDISPINFOA*>(nm);
            lstrcpynA(info->item.pszText, "Kettő*", info->item.cchTextMax);
            return LRESULT(0);
        };
        SetText(alfa, 1, "1");
        TVITEMA checked = ItemOf(egy, TVIF_STATE);
        checked.state = INDEXTOSTATEIMAGEMASK(2);
        checked.stateMask = TVIS_STATEIMAGEMASK;
        Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&checked));
        Expand(alfa, TVE_EXPAND);
        SetWindowPos(m_tree, nullptr, 0, 0, 300, HeaderHeight() + 3 * RowHeight(), SWP_NOMOVE | SWP_NOZORDER);
        SetFocus(m_tree);
        Select(egy);
    }

    RECT ScreenRow(HTREEITEM item) const
    {
        RECT rect;
        ItemRect(item, FALSE, rect);
        MapWindowPoints(m_tree, nullptr, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    LPARAM OnLabel(HTREEITEM item) const
    {
        RECT rect;
        ItemRect(item, TRUE, rect);
        return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    }

    void Key(WPARAM key) { Send(WM_KEYDOWN, key, 1); }

    HTREEITEM alfa, egy, ketto, beta, rejtett, gamma;
    ReaderThread reader;
};

TEST_F(AccessibleTree, ReaderSeesEveryItemWithItsNameLevelStatesAndPlace)
{
    BuildSample();
    std::vector<LONG> ids, oneByOne;
    std::vector<AccessibleRow> rows;
    reader.Run([&] {
        velutils::ComPtr<IAccessible> object = ObjectOf(m_tree);
        ids = ChildIds(object.Get());
        for (LONG id : ids)
            rows.push_back(ReadRow(object.Get(), id));
        rows.push_back(ReadRow(object.Get(), CHILDID_SELF));
        velutils::ComPtr<IEnumVARIANT> list;
        object->QueryInterface(IID_IEnumVARIANT, list.ReceiveVoid());
        VARIANT child;
        for (list->Reset(), list->Skip(1); list->Next(1, &child, nullptr) == S_OK;)
            oneByOne.push_back(child.lVal);
    });
    EXPECT_EQ((std::vector<LONG>{ Id(alfa), Id(egy), Id(ketto), Id(beta), Id(rejtett), Id(gamma) }), ids);
    EXPECT_EQ(std::vector<LONG>(ids.begin() + 1, ids.end()), oneByOne);
    const char* expected[] = {
        "Alfa|1|Érték: 1|Összecsukás|expanded",   "Egy|2|||focused selected checked", "Kettő*|2|||",
        "Béta|1||Kibontás|collapsed offscreen", "Rejtett|2|||invisible",            "Gamma|1|||offscreen",
    };
    ASSERT_EQ(7u, rows.size());
    for (size_t i = 0; i < 6; ++i) {
        const AccessibleRow& r = rows[i];
        EXPECT_EQ(expected[i], r.name + "|" + r.value + "|" + r.description + "|" + r.action + "|" + StateText(r.state));
        EXPECT_EQ(ROLE_SYSTEM_OUTLINEITEM, r.role);
        EXPECT_EQ(STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE,
                  r.state & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_SELECTABLE)) << r.name;
    }
    RECT egyRow = ScreenRow(egy);
    EXPECT_TRUE(EqualRect(&egyRow, &rows[1].location)) << rows[1].location.top << " " << egyRow.top;
    EXPECT_TRUE(IsRectEmpty(&rows[4].location));
    EXPECT_EQ(ROLE_SYSTEM_OUTLINE, rows[6].role);
    EXPECT_EQ("focused", StateText(rows[6].state));
}

TEST_F(AccessibleTree, NavigationHitTestFocusSelectionAndActionsAnswerAsATreeView)
{
    BuildSample();
    Clear();
    RECT egyRow = ScreenRow(egy), header = {};
    GetWindowRect(reinterpret_cast<HWND>(Send(TVM_GETHEADER)), &header);
    std::vector<LONG> found;
    HRESULT select = E_FAIL, action = E_FAIL, noAction = E_FAIL;
    reader.Run([&] {
        velutils::ComPtr<IAccessible> object = ObjectOf(m_tree);
        IAccessible* o = object.Get();
        found = { Navigate(o, 0, NAVDIR_FIRSTCHILD), Navigate(o, 0, NAVDIR_LASTCHILD), Navigate(o, Id(alfa), NAVDIR_NEXT),
                  Navigate(o, Id(beta), NAVDIR_PREVIOUS), Navigate(o, Id(alfa), NAVDIR_FIRSTCHILD),
                  Navigate(o, Id(alfa), NAVDIR_LASTCHILD), Navigate(o, Id(ketto), NAVDIR_LEFT),
                  Navigate(o, Id(ketto), NAVDIR_DOWN), Navigate(o, Id(beta), NAVDIR_UP), Navigate(o, Id(gamma), NAVDIR_NEXT),
                  Navigate(o, Id(alfa), NAVDIR_LEFT),
                  HitTest(o, POINT{ egyRow.left + 40, (egyRow.top + egyRow.bottom) / 2 }),
                  HitTest(o, POINT{ header.left + 5, header.top + 2 }), HitTest(o, POINT{ -5000, -5000 }) };
        VARIANT focus, selection;
        found.push_back(IdOf(o->get_accFocus(&focus), focus));
        found.push_back(IdOf(o->get_accSelection(&selection), selection));
        select = o->accSelect(SELFLAG_TAKEFOCUS | SELFLAG_TAKESELECTION, ChildId(Id(ketto)));
        action = o->accDoDefaultAction(ChildId(Id(beta)));
        noAction = o->accDoDefaultAction(ChildId(Id(gamma)));
    });
    EXPECT_EQ((std::vector<LONG>{ Id(alfa), Id(gamma), Id(beta), Id(alfa), Id(egy), Id(ketto), Id(alfa), Id(beta),
                                  Id(ketto), -1, -1, Id(egy), -2, -1, Id(egy), Id(egy) }), found);
    EXPECT_EQ(S_OK, select);
    EXPECT_EQ(ketto, Caret());
    EXPECT_EQ(ketto, Noted(TVN_SELCHANGEDA).item);
    // The expansion is posted: the reader does not wait for what the owner does then.
    EXPECT_EQ(S_OK, action);
    EXPECT_EQ(DISP_E_MEMBERNOTFOUND, noAction);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    EXPECT_TRUE(Expanded(beta));
}

TEST_F(AccessibleTree, ChangesOfTheTreeRaiseTheirEvents)
{
    HTREEITEM a = Insert("A"), b = Insert("B");
    HTREEITEM b1 = Insert("B1", b);
    SetFocus(m_tree);
    reader.Listen(m_tree);
    Expand(b, TVE_EXPAND);
    Expand(b, TVE_COLLAPSE);
    Select(a);
    Key(VK_SPACE);                              // A's check box
    SetText(a, 0, "A2");
    SetText(a, 1, "érték");
    HTREEITEM c = Insert("C");
    Send(TVM_DELETEITEM, 0, Ptr(b));
    Send(TVM_SORTCHILDREN, 0, Ptr(TVI_ROOT));
    EXPECT_EQ((std::vector<HeardEvent>{ { EVENT_OBJECT_STATECHANGE, Id(b) }, { EVENT_OBJECT_STATECHANGE, Id(b) },
                                        { EVENT_OBJECT_SELECTION, Id(a) }, { EVENT_OBJECT_FOCUS, Id(a) },
                                        { EVENT_OBJECT_STATECHANGE, Id(a) }, { EVENT_OBJECT_NAMECHANGE, Id(a) },
                                        { EVENT_OBJECT_DESCRIPTIONCHANGE, Id(a) }, { EVENT_OBJECT_CREATE, Id(c) },
                                        { EVENT_OBJECT_DESTROY, Id(b1) }, { EVENT_OBJECT_DESTROY, Id(b) },
                                        { EVENT_OBJECT_REORDER, CHILDID_SELF } }),
              reader.Heard());

    // A whole tree at once is one reorder, not an event per item.
    for (int i = 0; i < 300; ++i)
        Insert("x", c);
    Send(TVM_DELETEITEM, 0, Ptr(TVI_ROOT));
    std::vector<HeardEvent> heard = reader.Heard();
    EXPECT_EQ(300u + 1, heard.size());
    EXPECT_EQ(HeardEvent(EVENT_OBJECT_REORDER, CHILDID_SELF), heard.back());
}

TEST_F(AccessibleTree, ObjectOutlivesItsItemsAndItsWindow)
{
    HTREEITEM a = Insert("A"), b = Insert("B");
    velutils::ComPtr<IAccessible> held;
    reader.Run([&] { held = ObjectOf(m_tree); });
    ASSERT_TRUE(held);
    Send(TVM_DELETEITEM, 0, Ptr(b));
    std::string names;
    reader.Run([&] { names = ReadRow(held.Get(), Id(a)).name + "," + ReadRow(held.Get(), Id(b)).name; });
    EXPECT_EQ("A,<failed>", names);

    DestroyWindow(m_tree);
    m_tree = nullptr;
    HRESULT name = S_OK, count = S_OK;
    reader.Run([&] {
        BSTR text = nullptr;
        long children = 0;
        name = held->get_accName(ChildId(CHILDID_SELF), &text);
        count = held->get_accChildCount(&children);
        held.Reset();
    });
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, name);
    EXPECT_EQ(CO_E_OBJNOTCONNECTED, count);
}

// The right button asks for the menu at the click unless the owner took NM_RCLICK; the
// Apps key and Shift+F10 ask for it at the caret (-1, -1), once each.
TEST_F(AccessibleTree, RightButtonAndContextKeysAskTheOwnerForItsMenu)
{
    HTREEITEM a = Insert("A");
    Send(WM_RBUTTONDOWN, 0, OnLabel(a));
    Send(WM_RBUTTONUP, 0, OnLabel(a));
    ASSERT_EQ(1u, m_contextMenus.size());
    POINT screen = { GET_X_LPARAM(OnLabel(a)), GET_Y_LPARAM(OnLabel(a)) };
    ClientToScreen(m_tree, &screen);
    EXPECT_EQ(screen.x, m_contextMenus[0].x);
    EXPECT_EQ(screen.y, m_contextMenus[0].y);

    m_hooks[NM_RCLICK] = [](const NMHDR*) { return LRESULT(1); };
    Send(WM_RBUTTONDOWN, 0, OnLabel(a));
    EXPECT_EQ(1u, m_contextMenus.size());

    m_contextMenus.clear();
    Key(VK_APPS);
    Send(WM_KEYUP, VK_APPS, 0xC0000001);
    {
        HeldKey shift(VK_SHIFT);
        Send(WM_SYSKEYDOWN, VK_F10, 1);
        Send(WM_SYSKEYUP, VK_F10, 0xC0000001);
    }
    ASSERT_EQ(2u, m_contextMenus.size());
    for (const POINT& p : m_contextMenus)
        EXPECT_TRUE(p.x == -1 && p.y == -1);
}

}  // namespace
