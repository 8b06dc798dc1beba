// Windows tells the window of a new DPI (dragged to another monitor, or the scale
// changed) with WM_DPICHANGED and a rectangle; Wine never does, so the test sends it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/app/dpi/ScaleTable.h"
#include "tests/app/dpi/ScaledWindow.h"
#include "utils/DpiScale.h"

namespace {

// Every node with its handle, texts and expanded state, the selection and the loaded
// catalogue nodes: what a rebuild of the tree would change.
std::vector<std::string> TreeState(TestDlg& dlg)
{
    std::vector<std::string> state;
    dlg.RunOnUi([&] {
        CTreeListCtrl& tree = dlg.m_tree;
        std::vector<HTREEITEM> pending = { tree.GetRootItem() };
        while (!pending.empty()) {
            HTREEITEM item = pending.back();
            pending.pop_back();
            if (!item)
                continue;
            const char* label = tree.GetItemText(item, 0);
            const char* value = tree.GetItemText(item, 1);
            state.push_back(std::to_string(reinterpret_cast<UINT_PTR>(item)) + " " + (label ? label : "") + "="
                            + (value ? value : "") + ((tree.GetItemState(item, TVIS_EXPANDED) & TVIS_EXPANDED) ? " +" : ""));
            pending.push_back(tree.GetNextSiblingItem(item));
            pending.push_back(tree.GetChildItem(item));
        }
        state.push_back("selected " + std::to_string(reinterpret_cast<UINT_PTR>(tree.GetSelectedItem())));
        for (const auto& loaded : dlg.m_modules)
            state.push_back("loaded " + std::to_string(reinterpret_cast<UINT_PTR>(loaded.first)) + " " + loaded.second);
    });
    return state;
}

}  // namespace

TEST(DpiChange, NewSizesAndTheSameTree)
{
    ScaledWindow window;
    ASSERT_TRUE(window.ServerStarted());
    ASSERT_EQ(96u, velutils::DpiScale::OfSystem().Dpi());
    ControlWindowDriver& catalog = window.Window();
    HTREEITEM modules = catalog.Modules("proba");
    catalog.PressRight(modules);
    ASSERT_TRUE(catalog.AnswerLogin("admin", "admin"));
    ASSERT_EQ(1u, catalog.LoadedNodes().size());
    TestDlg& dlg = window.Dlg();
    dlg.RunOnUi([&] {
        dlg.m_tree.Expand(dlg.m_hVersionRoot, TVE_EXPAND);
        dlg.m_tree.SelectItem(dlg.m_tree.GetChildItem(modules));
    });
    const std::vector<std::string> before = TreeState(dlg);
    RECT at96 = {}, now = {};
    GetWindowRect(window.Hwnd(), &at96);

    const RECT suggested = { 40, 30, 1040, 730 };
    SendMessageA(window.Hwnd(), WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(window.Hwnd(), &now);
    EXPECT_TRUE(EqualRect(&suggested, &now)) << now.left << "," << now.top << " " << now.right << "," << now.bottom;
    RECT client = {}, tree = {};
    GetClientRect(window.Hwnd(), &client);
    GetWindowRect(dlg.m_tree.GetSafeHwnd(), &tree);
    MapWindowPoints(nullptr, window.Hwnd(), reinterpret_cast<POINT*>(&tree), 2);
    EXPECT_TRUE(EqualRect(&client, &tree)) << "the tree fills the window";
    EXPECT_EQ(std::make_pair(32L, 16L), window.TreeFont());
    EXPECT_EQ((std::vector<int>{ 600, 400 }), window.ColumnWidths());
    EXPECT_EQ(std::make_pair(64, 32), window.WindowIconSides());
    // Wine answers the process's DPI for every window, so the tree keeps its own sizes of
    // 96 DPI here (its header among them): what is cut is what is cut at 96.
    for (const std::string& label : window.CutLabels())
        EXPECT_NE(kCutAt96.end(), std::find(kCutAt96.begin(), kCutAt96.end(), label)) << label;
    // The notification area is on the primary monitor, whose DPI has not changed here.
    EXPECT_EQ(16, ScaledWindow::IconOf(dlg.ReadOnUi<HICON>([&] { return dlg.m_hIconCurrent; })).first);
    EXPECT_EQ(before, TreeState(dlg));

    SendMessageA(window.Hwnd(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&at96));
    EXPECT_EQ(16, window.TreeFont().first);
    EXPECT_EQ((std::vector<int>{ 300, 200 }), window.ColumnWidths());
    EXPECT_EQ(before, TreeState(dlg));
}
