// What the system reads from the program file before it shows anything: the manifest
// (DPI awareness, visual styles, supported systems) and the icons at every size, in each
// build of the program.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "res/resource.h"
#include "tests/app/dpi/ScaledWindow.h"
#include "utils/UniqueHandle.h"

namespace {

const WORD kManifestType = 24;     // RT_MANIFEST

// veldbctrl.exe of this build tree, and of the other one where it is built too.
std::vector<std::string> Programs()
{
    std::string tree = BuildDirectory();                 // "...\build\x86_64\"
    tree.pop_back();
    const std::string builds = tree.substr(0, tree.find_last_of('\\') + 1);
    const std::string own = tree.substr(builds.size());
    std::vector<std::string> programs = { builds + own + "\\veldbctrl.exe" };
    for (const char* other : { "x86_64", "i686" }) {
        if (own != other && GetFileAttributesA((builds + other + "\\build.ninja").c_str()) != INVALID_FILE_ATTRIBUTES)
            programs.push_back(builds + other + "\\veldbctrl.exe");
    }
    return programs;
}

std::string Resource(HMODULE module, LPCSTR name, LPCSTR type)
{
    HRSRC found = FindResourceA(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    return loaded ? std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found))
                  : std::string();
}

std::wstring Setting(HANDLE context, const wchar_t* space, const wchar_t* name)
{
    wchar_t value[64] = L"";
    SIZE_T length = 0;
    return QueryActCtxSettingsW(0, context, space, name, value, 64, &length) ? value : L"";
}

// (width, bits per pixel) of each image of an icon resource.
std::set<std::pair<int, int>> IconImages(HMODULE module, UINT id)
{
    const std::string group = Resource(module, MAKEINTRESOURCEA(id), RT_GROUP_ICON);
    std::set<std::pair<int, int>> images;
    const size_t entrySize = 14;
    for (size_t at = 6; at + entrySize <= group.size(); at += entrySize) {
        const int width = static_cast<unsigned char>(group[at]);
        const int bits = static_cast<unsigned char>(group[at + 6]) | static_cast<unsigned char>(group[at + 7]) << 8;
        images.insert({ width ? width : 256, bits });
    }
    return images;
}

}  // namespace

TEST(ProgramManifest, InEveryBuildAndAcceptedByTheLoader)
{
    for (const std::string& program : Programs()) {
        SCOPED_TRACE(program);
        velutils::ModuleHandle module(LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module);
        const std::string manifest = Resource(module.Get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(kManifestType));
        for (const char* os : { "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}" })
            EXPECT_NE(std::string::npos, manifest.find(os)) << "supported from Windows 7 to 10: " << os;
        EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));

        // A manifest the loader cannot read stops the program before it starts.
        ACTCTXA request = { sizeof request, ACTCTX_FLAG_RESOURCE_NAME_VALID, program.c_str(), 0, 0, nullptr,
                            MAKEINTRESOURCEA(1), nullptr, nullptr };
        HANDLE context = CreateActCtxA(&request);
        ASSERT_NE(INVALID_HANDLE_VALUE, context) << "error " << GetLastError();
        EXPECT_EQ(L"PerMonitorV2, PerMonitor",
                  Setting(context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"));
        EXPECT_EQ(L"true/pm", Setting(context, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"));
        ReleaseActCtx(context);
    }
}

TEST(ProgramIconImages, EverySizeInColoursWithAlphaBesideTheSixteenColourImages)
{
    std::set<std::pair<int, int>> scaled = { { 16, 4 } };
    for (int side : { 16, 20, 24, 32, 40, 48, 64 })
        scaled.insert({ side, 32 });
    for (const std::string& program : Programs()) {
        SCOPED_TRACE(program);
        velutils::ModuleHandle module(LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module);
        for (UINT id : { IDR_MAINFRAME, IDI_RUNNING, IDI_STOPPED, IDI_UNAVAILABLE }) {
            std::set<std::pair<int, int>> expected = scaled;
            if (id == IDR_MAINFRAME)
                expected.insert({ { 32, 4 }, { 256, 32 } });
            EXPECT_EQ(expected, IconImages(module.Get(), id)) << id;
        }
    }
    // Each size loads as an image of its own, not one scaled from another size.
    for (int side : { 16, 20, 24, 32, 40, 48, 64, 256 }) {
        velutils::IconHandle icon(static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, side, side, 0)));
        EXPECT_EQ(std::make_pair(side, true), ScaledWindow::IconOf(icon.Get()));
    }
}
