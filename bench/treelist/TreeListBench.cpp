// Speed and memory of the "TreeList" control beside the system tree view doing the same
// work: insert, expand every parent, paint a screen, scroll to the end and paint,
// collapse everything, delete everything. The screen steps take a few milliseconds each:
// they are timed as the median of repeated runs, with the quartiles as their spread, and
// side by side the two controls take turns run by run.
//
//   bench_treelist            side by side at 100,000 items, then TreeList alone at
//                             100, 10,000 and 1,000,000 items
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "treelist/TreeListMessages.h"
#include "treelist/TreeListWindow.h"

namespace {

constexpr int kChildren = 100;
const char* const kSteps[] = { "insert", "expand all", "paint screen", "scroll to end + paint", "repaint screen",
                               "collapse all", "delete all" };
constexpr int kStepCount = sizeof(kSteps) / sizeof(kSteps[0]);
constexpr int kRepeats = 21;     // runs of each screen step

// One step: a single run, or the median of repeated runs with the quartiles.
struct Time {
    double median;
    double low;
    double high;
};

struct Result {
    Time ms[kStepCount];
    double bytesPerItem;
};

double Now()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Private bytes where the system counts them; otherwise the committed pagefile bytes.
SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof(pmc);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof(pmc));
    return pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage;
}

// Deferred work (posted messages, paints) belongs to the step that caused it.
void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Paint(HWND tree)
{
    InvalidateRect(tree, nullptr, FALSE);
    UpdateWindow(tree);
    Pump();
}

Time Once(double ms)
{
    return Time{ ms, ms, ms };
}

Time MedianOf(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    size_t n = ms.size();
    return Time{ ms[n / 2], ms[n / 4], ms[n - 1 - n / 4] };
}

// One control under test, with the parents it was given and its times.
struct Control {
    HWND tree;
    std::vector<HTREEITEM> tops;
    Result result;
};

// Runs `prepare` untimed and then `step` timed on each control in turn, kRepeats times:
// the controls take turns so that a busy moment of the machine falls on both alike.
template <typename Prepare, typename Step>
void Repeat(const std::vector<Control*>& controls, int index, Prepare prepare, Step step)
{
    std::vector<std::vector<double>> ms(controls.size());
    for (int i = 0; i < kRepeats; ++i) {
        for (size_t k = 0; k < controls.size(); ++k) {
            prepare(controls[k]->tree);
            double t = Now();
            step(controls[k]->tree);
            ms[k].push_back(Now() - t);
        }
    }
    for (size_t k = 0; k < controls.size(); ++k)
        controls[k]->result.ms[index] = MedianOf(ms[k]);
}

HWND MakeControl(HWND host, const char* cls, bool columns, int x)
{
    HWND tree = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | TVS_HASBUTTONS | TVS_HASLINES |
                                TVS_LINESATROOT, x, 0, 600, 400, host, reinterpret_cast<HMENU>(1002),
                                GetModuleHandleA(nullptr), nullptr);
    if (tree && columns) {
        SendMessageA(tree, TVM_SETEXTENDEDSTYLE, 0, TVS_EX_FULLROWSELECT_TL);
        const char* names[] = { "Tulajdonság", "Érték" };
        int widths[] = { 300, 200 };
        for (int i = 0; i < 2; ++i) {
            TVCOLUMNA column = {};
            column.mask = TVCF_TEXT | TVCF_WIDTH;
            column.pszText = const_cast<char*>(names[i]);
            column.cx = widths[i];
            SendMessageA(tree, TVM_INSERTCOLUMN, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
        }
    }
    Pump();
    return tree;
}

// Makes a control at x and fills it: insert and expand every parent, timed.
Control Build(HWND host, const char* cls, bool columns, int parents, int x)
{
    Control c = {};
    c.tree = MakeControl(host, cls, columns, x);
    HWND tree = c.tree;
    c.tops.reserve(static_cast<size_t>(parents));
    char text[64];
    SIZE_T before = PrivateBytes();

    double t = Now();
    for (int p = 0; p < parents; ++p) {
        TVINSERTSTRUCTA insert = {};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        std::snprintf(text, sizeof(text), "Parent %d", p);
        insert.item.pszText = text;
        HTREEITEM parent = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
        c.tops.push_back(parent);
        insert.hParent = parent;
        for (int k = 0; k < kChildren; ++k) {
            std::snprintf(text, sizeof(text), "Child %d.%d", p, k);
            HTREEITEM child = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
            if (columns) {
                std::snprintf(text, sizeof(text), "value %d", k);
                TVITEMA cell = {};
                cell.mask = TVIF_TEXT | TVIF_SUBITEM;
                cell.hItem = child;
                cell.pszText = text;
                cell.cChildren = 1;
                SendMessageA(tree, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&cell));
            }
        }
    }
    Pump();
    c.result.ms[0] = Once(Now() - t);
    SIZE_T after = PrivateBytes();
    int items = parents * (kChildren + 1);
    c.result.bytesPerItem = static_cast<double>(after > before ? after - before : 0) / items;

    t = Now();
    for (HTREEITEM parent : c.tops)
        SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
    Pump();
    c.result.ms[1] = Once(Now() - t);
    return c;
}

// Paint a screen, scroll to the end and paint, paint again.
void TimeScreens(const std::vector<Control*>& controls)
{
    auto nothing = [](HWND) {};
    auto paint = [](HWND tree) { Paint(tree); };
    auto toTop = [](HWND tree) {
        SendMessageA(tree, WM_VSCROLL, SB_TOP, 0);
        Paint(tree);
    };
    auto toEnd = [](HWND tree) {
        SendMessageA(tree, WM_VSCROLL, SB_BOTTOM, 0);
        Paint(tree);
    };
    Repeat(controls, 2, nothing, paint);
    Repeat(controls, 3, toTop, toEnd);
    Repeat(controls, 4, nothing, paint);
}

// Collapse every parent and delete everything, timed; then the control goes.
void Empty(Control& c)
{
    double t = Now();
    for (HTREEITEM parent : c.tops)
        SendMessageA(c.tree, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(parent));
    Pump();
    c.result.ms[5] = Once(Now() - t);

    t = Now();
    SendMessageA(c.tree, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    Pump();
    c.result.ms[6] = Once(Now() - t);

    DestroyWindow(c.tree);
    Pump();
}

Result RunAlone(HWND host, const char* cls, bool columns, int parents)
{
    Control c = Build(host, cls, columns, parents, 0);
    TimeScreens({ &c });
    Empty(c);
    return c.result;
}

// "12.34" for a single run, "12.34 (11.90-13.02)" for a median and its quartiles.
const char* Format(const Time& time, char* buffer, size_t size)
{
    if (time.low == time.high)
        std::snprintf(buffer, size, "%.2f", time.median);
    else
        std::snprintf(buffer, size, "%.2f (%.2f-%.2f)", time.median, time.low, time.high);
    return buffer;
}

void PrintSideBySide(const Result& ours, const Result& system, int items)
{
    std::printf("\n%d items (%d parents x %d children), times in ms; screen steps: median (quartiles) of %d runs\n",
                items, items / (kChildren + 1), kChildren, kRepeats);
    std::printf("%-24s %24s %24s %8s\n", "step", "TreeList", "SysTreeView32", "ratio");
    char a[64];
    char b[64];
    for (int i = 0; i < kStepCount; ++i)
        std::printf("%-24s %24s %24s %8.2f\n", kSteps[i], Format(ours.ms[i], a, sizeof(a)),
                    Format(system.ms[i], b, sizeof(b)),
                    system.ms[i].median > 0 ? ours.ms[i].median / system.ms[i].median : 0.0);
    std::printf("%-24s %24.1f %24.1f\n", "private bytes per item", ours.bytesPerItem, system.bytesPerItem);
}

void PrintScaling(const std::vector<int>& sizes, const std::vector<Result>& results)
{
    std::printf("\nTreeList alone, times in ms; screen steps: median (quartiles) of %d runs\n%-24s", kRepeats,
                "step");
    for (int n : sizes)
        std::printf(" %24d", n);
    std::printf("\n");
    char buffer[64];
    for (int i = 0; i < kStepCount; ++i) {
        std::printf("%-24s", kSteps[i]);
        for (const Result& r : results)
            std::printf(" %24s", Format(r.ms[i], buffer, sizeof(buffer)));
        std::printf("\n");
    }
    std::printf("%-24s", "private bytes per item");
    for (const Result& r : results)
        std::printf(" %24.1f", r.bytesPerItem);
    std::printf("\n");
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

int main()
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_TREEVIEW_CLASSES };
    InitCommonControlsEx(&icc);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    treelist::RegisterTreeListClass(instance);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = instance;
    wc.lpszClassName = "TreeListBenchHost";
    RegisterClassA(&wc);
    // Room for two controls side by side.
    HWND host = CreateWindowExA(0, wc.lpszClassName, "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 1260, 480,
                                nullptr, nullptr, instance, nullptr);

    RunAlone(host, TREELIST_CLASSNAME, true, 10);    // warm up both classes and the fonts
    RunAlone(host, WC_TREEVIEWA, false, 10);
    Control ours = Build(host, TREELIST_CLASSNAME, true, 1000, 0);
    Control system = Build(host, WC_TREEVIEWA, false, 1000, 620);
    TimeScreens({ &ours, &system });
    Empty(ours);
    Empty(system);
    PrintSideBySide(ours.result, system.result, 1000 * (kChildren + 1));
    std::fflush(stdout);

    std::vector<int> parents = { 1, 100, 1000, 10000 };
    std::vector<int> sizes;
    std::vector<Result> results;
    for (int p : parents) {
        sizes.push_back(p * (kChildren + 1));
        results.push_back(RunAlone(host, TREELIST_CLASSNAME, true, p));
    }
    PrintScaling(sizes, results);
    std::fflush(stdout);
    return 0;
}
