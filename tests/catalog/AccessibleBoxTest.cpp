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

// Each child of the box's client area as "name=value", the way a reader walks it.
std::vector<std::string> ChildTexts(IAccessible* client)
{
    std::vector<std::string> texts;
    long count = 0;
    client->get_accChildCount(&count);
    std::vector<VARIANT> children(static_cast<size_t>(count > 0 ? count : 1));
    long got = 0;
    AccessibleChildren(client, 0, count, children.data(), &got);
    for (long i = 0; i < got; ++i) {
        velutils::ComPtr<IAccessible> child;
        if (children[i].vt == VT_DISPATCH && children[i].pdispVal)
            children[i].pdispVal->QueryInterface(velutils::kIidAccessible, child.ReceiveVoid());
        AccessibleRow row = child ? ReadRow(child.Get(), CHILDID_SELF) : ReadRow(client, children[i].lVal);
        texts.push_back(row.name + "=" + row.value);
        VariantClear(&children[i]);
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

    std::string name;
    std::vector<std::string> texts;
    ReaderThread reader;
    reader.Run([&] {
        velutils::ComPtr<IAccessible> own;
        AccessibleObjectFromWindow(box, static_cast<DWORD>(OBJID_WINDOW), velutils::kIidAccessible, own.ReceiveVoid());
        velutils::ComPtr<IAccessible> client = ClientObject(box);
        if (!own || !client)
            return;
        name = ReadRow(own.Get(), CHILDID_SELF).name;
        texts = ChildTexts(client.Get());
    });
    EXPECT_EQ(0, GetWindowTextLengthA(box));            // what the box shows stays as it was
    EXPECT_EQ(0u, name.find("ADMIN/***@KONYVELES")) << name;
    bool mainText = false, detail = false;
    for (const std::string& text : texts) {
        mainText |= text.find(name + "=" + name) == 0;
        detail |= text.find("Nem megfelelő jelszó!=Nem megfelelő jelszó!") == 0;
    }
    EXPECT_TRUE(mainText && detail) << ::testing::PrintToString(texts);

    EXPECT_FALSE(window.AnswerRefusal().empty());
    EXPECT_TRUE(window.AnswerLogin("", "", "", false));
}

}  // namespace
