// The box of a refused login as a screen reader meets it: the box has no caption, so its
// main text names it; its texts are read, by name and value, among the box's children.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/catalog/CatalogWindow.h"
#include "tests/catalog/CatalogueFile.h"
#include "tests/catalog/ClientSettingsKey.h"
#include "tests/treelist/AccessibleReader.h"
#include "utils/AccessibleIid.h"
#include "StandinServer.h"

namespace {

// The children of the box's client area as "|name=value|", the way a reader walks them.
std::string ChildTexts(IAccessible* client)
{
    std::string texts = "|";
    for (VARIANT& child : Children(client)) {
        velutils::ComPtr<IAccessible> own;
        if (child.vt == VT_DISPATCH)
            child.pdispVal->QueryInterface(velutils::kIidAccessible, own.ReceiveVoid());
        AccessibleRow row = own ? ReadRow(own.Get(), CHILDID_SELF) : ReadRow(client, child.lVal);
        texts += row.name + "=" + row.value + "|";
        VariantClear(&child);
    }
    return texts;
}

TEST(AccessibleBox, RefusedLoginBoxIsNamedByItsTextAndItsTextsAreRead)
{
    ConfigDir data;
    CatalogueFile catalogue;
    catalogue.Library(1, "naplo.dll");
    catalogue.serverChecksLogins = false;
    StandinServer server;
    ASSERT_TRUE(server.StartFile(catalogue.Write(data.FilePath("KONYVELES.xml"))));
    ClientSettingsKey settings("KONYVELES", server.PipeName());
    CatalogWindow window({ "konyveles" });
    window.PressRight(window.Modules("konyveles"));
    ASSERT_TRUE(window.TypeLogin("admin", "rossz"));
    DWORD thread = GetWindowThreadProcessId(window.Dlg().GetSafeHwnd(), nullptr);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindThreadWindow(thread, nullptr, "")) != nullptr; }));

    std::string name, texts;
    ReaderThread reader;
    reader.Run([&] {
        name = ReadRow(ObjectOf(box, OBJID_WINDOW).Get(), CHILDID_SELF).name;
        texts = ChildTexts(ObjectOf(box).Get());
    });
    EXPECT_EQ(0, GetWindowTextLengthA(box));            // what the box shows stays as it was
    EXPECT_EQ(0u, name.find("ADMIN/***@KONYVELES")) << name;
    EXPECT_NE(std::string::npos, texts.find("|" + name + "=" + name + "|")) << texts;
    EXPECT_NE(std::string::npos, texts.find("|Nem megfelelő jelszó!=Nem megfelelő jelszó!|")) << texts;

    EXPECT_FALSE(window.AnswerRefusal().empty());
    EXPECT_TRUE(window.AnswerLogin("", "", "", false));
}

}  // namespace
