// The resources of the built veldbctrl.exe, read from the file as Windows reads them.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/app/AppTestSupport.h"
#include "utils/UniqueHandle.h"

namespace {

std::string ProgramPath() { return BuildDirectory() + "veldbctrl.exe"; }

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_module.Reset(LoadLibraryExA(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(m_module) << ProgramPath() << " error " << GetLastError();
    }

    velutils::ModuleHandle m_module;
};

// The texts that the window tests do not show.
TEST_F(ProgramResources, StringsInCodePage1250)
{
    const std::map<UINT, std::string> expected = {
        { 22000, "Az adatbázis nincs megnyitva: %1" }, { 22002, "Ismeretlen tábla vagy rekordtípus: %1" },
        { 22003, "Ismeretlen mező: %1" }, { 22004, "Hibás adatbázis-leírás (%1): %2" },
        { 22005, "Ismeretlen pozicionálási mód a(z) %1 tábla listájában" },
        { 22006, "A(z) %1 tábla %2 mezője nem alakítható szöveggé" },
        { 22007, "A(z) %2 hívás sikert jelzett, de nem adott rekordot: %1" }, { 23002, "Nincs találat: %1 %2" },
        { 23004, "Az adatbázis nem nyitható meg: %1 (%2)" }, { 23014, "Ismeretlen felhasználó: %1 %2" },
        { 23020, "Az adatbázis már meg van nyitva: %1 %2" },
        { 23038, "A kliens könyvtár (veldbcli.dll) nem tölthető be, vagy hiányzik belőle a(z) %1 belépési pont" },
        { 23039, "Nincs kliens beállítás a(z) %1 adatbázishoz (HKLM\\software\\veldbclients)" },
        { 23044, "Az adatbázis szerver hibát jelzett: %1 %2" }, { 23067, "A felhasználó tiltott: %1 %2" },
        { 23068, "Nem megfelelő jelszó: %1 %2" }, { 23071, "Az adatbázis szerver nem érhető el: %1 %2" },
        { 52771, "Kontrol ablak menyitása" }, { 52772, "Szerver indítás" }, { 52773, "Szerver leállítás" },
        { 52774, "Szerver újraindítás" }, { 52775, "Kilépés a kontrol programból" },
        { 52900, "A kiszolgáló leállt" }, { 52902, "A szolgáltatás nem elérhető" },
        { 52903, "A veldbsrv szolgáltatás állapota nem kérdezhető le: törölték, vagy a szolgáltatáskezelő nem válaszol." },
        { 52904, "A kiszolgáló újra fut" },
    };
    ASSERT_EQ(1250u, GetACP());
    for (const auto& text : expected) {
        char buffer[512] = "";
        LoadStringA(m_module.Get(), text.first, buffer, sizeof buffer);
        EXPECT_EQ(text.second, buffer) << text.first;
    }
}

TEST_F(ProgramResources, MenuItemsInOrder)
{
    velutils::MenuHandle menu(LoadMenuA(m_module.Get(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
    ASSERT_TRUE(menu);
    HMENU popup = GetSubMenu(menu.Get(), 0);
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

// The file version itself the version report reads (the window content tests).
TEST(ProgramVersion, HungarianDescription)
{
    std::string path = ProgramPath();
    DWORD handle = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(path.c_str(), &handle));
    ASSERT_FALSE(data.empty());
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    char* description = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040e04b0\\FileDescription",
                               reinterpret_cast<void**>(&description), &length));
    EXPECT_STREQ("veldbsrv kontrol program ", description);
}

}  // namespace
