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

    std::string String(UINT id)
    {
        char buffer[512] = "";
        int n = LoadStringA(m_module.Get(), id, buffer, sizeof buffer);
        return std::string(buffer, n > 0 ? n : 0);
    }

    velutils::ModuleHandle m_module;
};

BOOL CALLBACK CollectStringBlock(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids)
{
    reinterpret_cast<std::vector<UINT>*>(ids)->push_back(static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)));
    return TRUE;
}

TEST_F(ProgramResources, EveryStringInCodePage1250)
{
    const std::map<UINT, std::string> expected = {
        { 1, "veldbsrv control client" }, { 22000, "Az adatbázis nincs megnyitva: %1" },
        { 22002, "Ismeretlen tábla vagy rekordtípus: %1" }, { 22003, "Ismeretlen mező: %1" },
        { 22004, "Hibás adatbázis-leírás (%1): %2" },
        { 22005, "Ismeretlen pozicionálási mód a(z) %1 tábla listájában" },
        { 22006, "A(z) %1 tábla %2 mezője nem alakítható szöveggé" },
        { 22007, "A(z) %2 hívás sikert jelzett, de nem adott rekordot: %1" }, { 23002, "Nincs találat: %1 %2" },
        { 23004, "Az adatbázis nem nyitható meg: %1 (%2)" }, { 23014, "Ismeretlen felhasználó: %1 %2" },
        { 23020, "Az adatbázis már meg van nyitva: %1 %2" },
        { 23038, "A kliens könyvtár (veldbcli.dll) nem tölthető be, vagy hiányzik belőle a(z) %1 belépési pont" },
        { 23039, "Nincs kliens beállítás a(z) %1 adatbázishoz (HKLM\\software\\veldbclients)" },
        { 23044, "Az adatbázis szerver hibát jelzett: %1 %2" }, { 23067, "A felhasználó tiltott: %1 %2" },
        { 23068, "Nem megfelelő jelszó: %1 %2" }, { 23071, "Az adatbázis szerver nem érhető el: %1 %2" },
        { 24047, "file" }, { 24048, "function" }, { 24049, "line" }, { 24050, "Additional datas:" },
        { 24051, "ErrCode:" }, { 24052, "Error occured:" }, { 52771, "Kontrol ablak menyitása" },
        { 52772, "Szerver indítás" }, { 52773, "Szerver leállítás" }, { 52774, "Szerver újraindítás" },
        { 52775, "Kilépés a kontrol programból" }, { 52776, "Szerver paraméterek" }, { 52777, "Kiszolgáló helye" },
        { 52778, "Archiválási alapkönyvtár" }, { 52779, "Adatbázis alapkönyvtár" }, { 52780, "Logolási szint" },
        { 52781, "Szinkronizációs időtúllépési határ" }, { 52782, "Bejelentkezés azonos néven" },
        { 52783, "Kliens állapot lekérdezési időhatár" }, { 52784, "Párhuzamos kapcsolatok max. száma" },
        { 52785, "Port" }, { 52786, "Kiszolgáló zárolt" }, { 52787, "Adatbázisok" },
        { 52788, "\nA szolgáltatás nem elérhető" }, { 52789, "\nA kiszolgáló fut" }, { 52790, "\nA kiszolgáló áll" },
        { 52791, "tiltott" }, { 52792, "támogatott" }, { 52793, "NEM" }, { 52794, "IGEN" },
        { 52795, "Adatbázis helye" }, { 52796, "Session ID" }, { 52797, "Paraméter fájl" },
        { 52798, "Adatcache méret" }, { 52799, "Tranzakció cache méret" }, { 52800, "Archiválási útvonal" },
        { 52801, "Elindítva" }, { 52802, "Verzió információk" }, { 52803, "Hálózati kiszolgáló (veldbsrv)" },
        { 52804, "Adatbázis szerver (veldb)" }, { 52805, "Kliens stub (veldbcli)" },
        { 52806, "Adatkapcsolat (veldblink)" }, { 52807, "Kontrol program (veldbctrl)" },
        { 52808, "Monitor program (velmonitor)" }, { 52809, "nem elérhető" },
        { 52810, "Archiváló program (velarchiver)" }, { 52812, "Hálózat zárolt" }, { 52813, "Kiegészítő modulok" },
        { 52814, "Tulajdonság" }, { 52815, "Érték" }, { 52900, "A kiszolgáló leállt" },
        { 52901, "A veldbsrv szolgáltatás leállt, nem ennek a programnak a parancsára. Az adatbázisok nem érhetők el." },
        { 52902, "A szolgáltatás nem elérhető" },
        { 52903, "A veldbsrv szolgáltatás állapota nem kérdezhető le: törölték, vagy a szolgáltatáskezelő nem válaszol." },
        { 52904, "A kiszolgáló újra fut" }, { 52905, "A veldbsrv szolgáltatás ismét fut." },
    };
    ASSERT_EQ(1250u, GetACP());

    std::vector<UINT> blocks;
    EnumResourceNamesA(m_module.Get(), RT_STRING, CollectStringBlock,
                       reinterpret_cast<LONG_PTR>(&blocks));
    std::map<UINT, std::string> found;
    for (UINT block : blocks) {
        for (UINT id = (block - 1) * 16; id < block * 16; ++id) {
            std::string text = String(id);
            if (!text.empty())
                found[id] = text;
        }
    }
    EXPECT_EQ(expected, found);
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
