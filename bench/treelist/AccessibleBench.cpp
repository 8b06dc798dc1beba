// A "TreeList" read through its accessibility object as a screen reader reads it, from a
// thread of its own while the control's thread serves it: the children's ids in one
// AccessibleChildren call, every item's name, and the children one at a time through
// IEnumVARIANT::Next (as some readers walk them). Each figure is the median of repeated
// runs with the lowest and highest.
//
//   bench_accessible          at 1,000, 10,000 and 100,000 items
#include <windows.h>
#include <oleacc.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <thread>
#include <vector>

#include "bench/Spread.h"
#include "treelist/TreeListMessages.h"
#include "treelist/TreeListWindow.h"
#include "utils/AccessibleIid.h"
#include "utils/ComPtr.h"

namespace {

constexpr int kRuns = 5;
constexpr int kChildren = 100;

// Runs `work` on a thread in COM's multithreaded apartment while this thread serves the
// control's messages.
void AsReader(const std::function<void()>& work)
{
    std::atomic<bool> done{ false };
    std::thread reader([&] {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        work();
        CoUninitialize();
        done = true;
    });
    while (!done) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    reader.join();
}

HWND MakeTree(HWND host, int parents)
{
    HWND tree = CreateWindowExA(0, TREELIST_CLASSNAME, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT,
                                0, 0, 600, 400, host, nullptr, GetModuleHandleA(nullptr), nullptr);
    TVINSERTSTRUCTA insert = {};
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    char text[64];
    insert.item.pszText = text;
    for (int p = 0; p < parents; ++p) {
        insert.hParent = TVI_ROOT;
        std::snprintf(text, sizeof text, "Parent %d", p);
        LRESULT parent = SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
        insert.hParent = reinterpret_cast<HTREEITEM>(parent);
        for (int k = 0; k < kChildren; ++k) {
            std::snprintf(text, sizeof text, "Child %d.%d", p, k);
            SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert));
        }
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, parent);
    }
    return tree;
}

struct Figures {
    std::vector<double> children, names, oneByOne;
};

// One run of each reading; false when the object did not answer with every item.
bool ReadOnce(HWND tree, long items, Figures& figures)
{
    bool whole = false;
    AsReader([&] {
        velutils::ComPtr<IAccessible> object;
        AccessibleObjectFromWindow(tree, static_cast<DWORD>(OBJID_CLIENT), velutils::kIidAccessible,
                                   object.ReceiveVoid());
        if (!object)
            return;
        std::vector<VARIANT> ids(static_cast<size_t>(items));
        long got = 0;
        double t = NowMs();
        AccessibleChildren(object.Get(), 0, items, ids.data(), &got);
        figures.children.push_back(NowMs() - t);

        t = NowMs();
        for (long i = 0; i < got; ++i) {
            BSTR name = nullptr;
            object->get_accName(ids[static_cast<size_t>(i)], &name);
            SysFreeString(name);
        }
        figures.names.push_back(NowMs() - t);

        velutils::ComPtr<IEnumVARIANT> list;
        object->QueryInterface(IID_IEnumVARIANT, list.ReceiveVoid());
        long walked = 0;
        t = NowMs();
        VARIANT one;
        for (list->Reset(); list->Next(1, &one, nullptr) == S_OK; ++walked)
            VariantClear(&one);
        figures.oneByOne.push_back(NowMs() - t);
        whole = got == items && walked == items;
    });
    return whole;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    treelist::RegisterTreeListClass(instance);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = instance;
    wc.lpszClassName = "AccessibleBenchHost";
    RegisterClassA(&wc);
    HWND host = CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                                nullptr, nullptr, instance, nullptr);

    std::printf("TreeList read by a reader on another thread, ms: median (lowest..highest) of %d runs\n", kRuns);
    std::printf("%10s  %24s %24s %24s\n", "items", "all ids at once", "every name", "ids one at a time");
    for (int parents : { 10, 100, 1000 }) {
        HWND tree = MakeTree(host, parents);
        long items = parents * (kChildren + 1);
        Figures figures;
        bool whole = true;
        for (int run = 0; run < kRuns; ++run)
            whole = ReadOnce(tree, items, figures) && whole;
        std::printf("%10ld ", items);
        if (figures.oneByOne.empty()) {
            std::printf("no accessibility object\n");
            continue;
        }
        for (const std::vector<double>* runs : { &figures.children, &figures.names, &figures.oneByOne }) {
            std::printf(" ");
            Spread::Of(*runs).Print();
        }
        std::printf("%s\n", whole ? "" : "  (not every item answered)");
        std::fflush(stdout);
        DestroyWindow(tree);
    }
    return 0;
}
