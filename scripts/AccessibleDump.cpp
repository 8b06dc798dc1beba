// The demo's tool (scripts/run): prints the control window's tree as a screen reader reads
// it, from another process: each item indented by its level, with its name, role and level
// (value), description, states and default action, beside the demo's screenshots.
//
//   accessible_dump [caption]      the caption defaults to the control window's
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/treelist/AccessibleReader.h"
#include "treelist/TreeListMessages.h"

namespace {

std::string RoleText(LONG role)
{
    char text[100] = "";
    GetRoleTextA(static_cast<DWORD>(role), text, sizeof text);
    return text;
}

int Dump(HWND tree)
{
    velutils::ComPtr<IAccessible> object = ObjectOf(tree);
    if (!object) {
        std::fprintf(stderr, "no accessibility object\n");
        return 1;
    }
    AccessibleRow control = ReadRow(object.Get(), CHILDID_SELF);
    std::printf("%s (%s)\n", RoleText(control.role).c_str(), StateText(control.state).c_str());
    for (LONG id : ChildIds(object.Get())) {
        AccessibleRow row = ReadRow(object.Get(), id);
        int indent = 2 * std::atoi(row.value.c_str());
        std::printf("%*s%s  [%s %s]", indent, "", row.name.c_str(), RoleText(row.role).c_str(), row.value.c_str());
        if (!row.description.empty())
            std::printf("  {%s}", row.description.c_str());
        std::printf("  (%s)", StateText(row.state).c_str());
        if (!row.action.empty())
            std::printf("  <%s>", row.action.c_str());
        std::printf("\n");
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    HWND window = FindWindowA(nullptr, argc > 1 ? argv[1] : "veldbsrv control program");
    HWND tree = window ? FindWindowExA(window, nullptr, TREELIST_CLASSNAME, nullptr) : nullptr;
    if (!tree) {
        std::fprintf(stderr, "no control window with a tree\n");
        return 1;
    }
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    int status = Dump(tree);
    CoUninitialize();
    return status;
}
