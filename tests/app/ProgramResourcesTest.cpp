// The resources of the built veldbctrl.exe, read from the file as Windows reads them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "utils/UniqueHandle.h"

namespace {

std::string ProgramPath()
{
    return BuildDirectory() + "veldbctrl.exe";
}

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_module.Reset(LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(m_module) << ProgramPath() << " error " << GetLastError();
    }

    std::string String(UINT id)
    {
        char buffer[512] = "";
        int n = LoadStringA(m_module.Get(), id, buffer, sizeof buffer);
        return std::string(buffer, n > 0 ? n : 0);
    }

    velutils::ModuleHandle m_module;
};

TEST_F(ProgramResources, HungarianStringsAreCodePage1250Bytes)
{
    ASSERT_EQ(1250u, GetACP());
    EXPECT_EQ("Kiegészítő modulok", String(IDS_EXT_MODULES));
    EXPECT_EQ("\nA szolgáltatás nem elérhető", String(IDS_STATUS_UNAVAILABLE));
    EXPECT_EQ("Érték", String(IDS_COL_VALUE));
    EXPECT_EQ("veldbsrv control client", String(IDS_TRAY_TIP));
    EXPECT_EQ("Error occured:", String(IDS_ERROR_OCCURED));
}

TEST_F(ProgramResources, MenuItemsInOrder)
{
    HMENU menu = LoadMenuA(m_module.Get(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_TRUE(menu);
    velutils::MenuHandle owner(menu);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_TRUE(popup);
    const UINT ids[] = { ID_OPEN_CONTROL, 0, ID_SERVER_START, ID_SERVER_STOP, ID_SERVER_RESTART,
                         ID_NET_LOCK, 0, ID_EXIT };
    ASSERT_EQ(8, GetMenuItemCount(popup));
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(ids[i], GetMenuItemID(popup, i)) << i;
    char text[64] = "";
    GetMenuStringA(popup, ID_NET_LOCK, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ("Hálózat zárolva", text);
}

TEST(ProgramVersion, FileVersionAndHungarianStrings)
{
    std::string path = ProgramPath();
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(MAKELONG(1, 3), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(45, 1), fixed->dwFileVersionLS);
    char* description = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040e04b0\\FileDescription",
                               reinterpret_cast<void**>(&description), &length));
    EXPECT_STREQ("veldbsrv kontrol program ", description);
}

}  // namespace
