// The message box, answered from inside its own modal loop: the system box where no
// module holds the template, its own dialog from a DLL that holds it, task-modal
// disabling, fonts and colours, and the "ASSERT ERROR" box for its own failures.
#include <gtest/gtest.h>

#include <string>

#include "ModalBoxAnswerer.h"
#include "WindowText.h"
#include "res/resource.h"
#include "utils/UniqueHandle.h"
#include "utils/VelMsgBox.h"

using velutils::_FontInf;
using velutils::_TextInfo;
using velutils::VelMsgBox;

namespace {

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static void Close(Handle h) { DestroyWindow(h); }
};
using Window = velutils::UniqueHandle<WindowTraits>;

// A top-level window of this thread, as the program's own windows are.
Window MakeWindow(bool enabled = true)
{
    HWND window = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200, 100,
                                  nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EnableWindow(window, enabled);
    return Window(window);
}

LOGFONTA FontOf(HWND window)
{
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

// Beside the test program, where LoadLibrary looks first.
HMODULE TemplateDll()
{
    static velutils::ModuleHandle dll(LoadLibraryA("velmsgbox_template.dll"));
    return dll.Get();
}

}  // namespace

TEST(SystemMessageBox, StandsInWhereNoModuleHoldsTheTemplate)
{
    Window parent = MakeWindow();
    ModalBoxAnswerer answer("Hiba történt", IDNO, [&](HWND box) {
        EXPECT_EQ(std::vector<std::string>{ "Fő szöveg: ő\r\n------\r\nRészletek: ű" },
                  ModalBoxAnswerer::StaticTexts(box));
        EXPECT_TRUE(GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO));
        EXPECT_EQ(nullptr, GetDlgItem(box, IDOK));
        EXPECT_EQ(parent.Get(), GetWindow(box, GW_OWNER));
    });
    EXPECT_EQ(IDNO, velutils::VelMessageBox(parent.Get(), "Hiba történt", "Fő szöveg: ő", "Részletek: ű",
                                            MB_YESNO | MB_ICONQUESTION));
    EXPECT_TRUE(answer.Answered());
}

TEST(SystemMessageBox, StandsInWhenTheGivenModuleHasNoResourcesAtAll)
{
    velutils::ModuleHandle bare(LoadLibraryA("velnoresources.dll"));
    ASSERT_TRUE(bare);
    VelMsgBox box(bare.Get());
    ModalBoxAnswerer answer("Üres modul", IDOK);
    EXPECT_EQ(IDOK, box.Show(nullptr, "Üres modul", _TextInfo("t"), _TextInfo("d"), MB_OKCANCEL));
    EXPECT_TRUE(answer.Answered());
}

class OwnDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, TemplateDll()) << "velmsgbox_template.dll beside the tests"; }
    VelMsgBox box{ TemplateDll() };
};

TEST_F(OwnDialog, ShowsTextsIconAndButtonsAndReturnsThePressedOne)
{
    ModalBoxAnswerer answer("Adatbázis hiba", IDCANCEL, [](HWND dlg) {
        EXPECT_EQ("Első sor\r\nMásodik sor", WindowText(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT)));
        EXPECT_EQ("Hibakód: 10017\r\nfile x.cpp", WindowText(GetDlgItem(dlg, IDC_VELMSGBOX_DETAIL)));
        EXPECT_EQ("Igen|Nem|Mégse|", Joined(ChildTexts(dlg, "Button"))) << "and no other button";
        EXPECT_EQ(MAKELRESULT(IDNO, DC_HASDEFID), SendMessageA(dlg, DM_GETDEFID, 0, 0));
        EXPECT_EQ(GetDlgItem(dlg, IDNO), GetFocus());
        EXPECT_EQ(reinterpret_cast<LRESULT>(LoadIconA(nullptr, IDI_HAND)),
                  SendDlgItemMessageA(dlg, IDC_VELMSGBOX_ICON, STM_GETICON, 0, 0));
        RECT detail = {}, cancel = {};
        GetWindowRect(GetDlgItem(dlg, IDC_VELMSGBOX_DETAIL), &detail);
        GetWindowRect(GetDlgItem(dlg, IDCANCEL), &cancel);
        EXPECT_GE(cancel.top, detail.bottom) << "the buttons stand below the detail";
    });
    const unsigned style = MB_YESNOCANCEL | MB_ICONHAND | MB_DEFBUTTON2;
    EXPECT_EQ(IDCANCEL, box.Show(nullptr, "Adatbázis hiba", _TextInfo("Első sor\nMásodik sor"),
                                 _TextInfo("Hibakód: 10017\r\nfile x.cpp"), style));
    EXPECT_TRUE(answer.Answered());
}

TEST_F(OwnDialog, EveryButtonOfTheStyleEndsTheBoxWithItsId)
{
    struct Case { unsigned style; int button; };
    for (Case c : { Case{ MB_OK, IDOK }, Case{ MB_OKCANCEL, IDOK }, Case{ MB_ABORTRETRYIGNORE, IDABORT },
                    Case{ MB_ABORTRETRYIGNORE, IDIGNORE }, Case{ MB_YESNO, IDYES }, Case{ MB_RETRYCANCEL, IDRETRY },
                    Case{ MB_CANCELTRYCONTINUE, IDTRYAGAIN }, Case{ MB_CANCELTRYCONTINUE, IDCONTINUE } }) {
        ModalBoxAnswerer answer("Gombok", c.button);
        EXPECT_EQ(c.button, box.Show(nullptr, "Gombok", _TextInfo("t"), _TextInfo(), c.style)) << c.style;
    }
}

TEST_F(OwnDialog, CloseBoxAnswersCancelOrTheOnlyOkAndIsIgnoredOtherwise)
{
    struct Case { unsigned style; int expected; };
    for (Case c : { Case{ MB_OK, IDOK }, Case{ MB_YESNOCANCEL, IDCANCEL }, Case{ MB_YESNO, IDYES } }) {
        bool stillShown = false;
        ModalBoxAnswerer answer("Bezárás", 0, [&](HWND dlg) {
            SendMessageA(dlg, WM_CLOSE, 0, 0);
            stillShown = IsWindowVisible(dlg) != FALSE;
            if (stillShown)
                SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        });
        EXPECT_EQ(c.expected, box.Show(nullptr, "Bezárás", _TextInfo("t"), _TextInfo("d"), c.style));
        EXPECT_EQ(c.style == MB_YESNO, stillShown) << c.style;
    }
}

TEST_F(OwnDialog, FontInfoChangesOnlyWhatItNames)
{
    ModalBoxAnswerer answer("Betűk", IDOK, [](HWND dlg) {
        const LOGFONTA dialogFont = FontOf(dlg);
        const LOGFONTA text = FontOf(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT));
        const LOGFONTA detail = FontOf(GetDlgItem(dlg, IDC_VELMSGBOX_DETAIL));
        EXPECT_STREQ("Arial", text.lfFaceName);
        EXPECT_EQ(dialogFont.lfHeight, text.lfHeight);
        EXPECT_EQ(dialogFont.lfWeight, text.lfWeight);
        EXPECT_STREQ("Courier New", detail.lfFaceName);
        HDC dc = GetDC(dlg);
        EXPECT_EQ(-MulDiv(14, GetDeviceCaps(dc, LOGPIXELSY), 72), detail.lfHeight);
        ReleaseDC(dlg, dc);
        EXPECT_EQ(FW_BOLD, detail.lfWeight);
        EXPECT_TRUE(detail.lfItalic);
        EXPECT_FALSE(detail.lfUnderline);
        EXPECT_EQ(EASTEUROPE_CHARSET, detail.lfCharSet);
    });
    _FontInf bold("Courier New", 14, _FontInf::Bold | _FontInf::Italic, RGB(200, 0, 0), EASTEUROPE_CHARSET);
    box.Show(nullptr, "Betűk", _TextInfo("t", _FontInf("Arial", 0)), _TextInfo("d", bold), MB_OK);
    EXPECT_TRUE(answer.Answered());
}

// A text with the default font info keeps the dialog's font.
TEST_F(OwnDialog, TextsGetTheirColoursAndTheDefaultFont)
{
    ModalBoxAnswerer answer("Színek", IDOK, [](HWND dlg) {
        const LRESULT dialogFont = SendMessageA(dlg, WM_GETFONT, 0, 0);
        EXPECT_NE(0, dialogFont);
        EXPECT_EQ(dialogFont, SendDlgItemMessageA(dlg, IDC_VELMSGBOX_DETAIL, WM_GETFONT, 0, 0));
        velutils::MemoryDc dc(CreateCompatibleDC(nullptr));
        auto brush = reinterpret_cast<HBRUSH>(SendMessageA(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                                                           reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT))));
        LOGBRUSH info = {};
        GetObjectA(brush, sizeof info, &info);
        EXPECT_EQ(RGB(255, 0, 0), GetTextColor(dc.Get()));
        EXPECT_EQ(RGB(255, 255, 0), GetBkColor(dc.Get()));
        EXPECT_EQ(RGB(255, 255, 0), info.lbColor);
    });
    _FontInf red("", 0, _FontInf::KeepStyle, RGB(255, 0, 0), _FontInf::KeepCharSet);
    box.Show(nullptr, "Színek", _TextInfo("t", red, RGB(255, 255, 0)), _TextInfo("d"), MB_OK);
    EXPECT_TRUE(answer.Answered());
}

// A box whose parent is gone fails for a reason other than a missing template: the
// failure is reported with the box's texts, the system error and the position.
TEST_F(OwnDialog, FailureOtherThanAMissingTemplateIsReported)
{
    std::string report;
    ModalBoxAnswerer answer("ASSERT ERROR", IDOK,
                            [&](HWND dlg) { report = Joined(ModalBoxAnswerer::StaticTexts(dlg)); });
    HWND gone = MakeWindow().Get();
    EXPECT_EQ(-1, box.Show(gone, "Cím", _TextInfo("Fő"), _TextInfo("Rész"), MB_OK));
    EXPECT_TRUE(answer.Answered());
    const std::string code = std::to_string(ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(0u, report.find("Cím/Fő (Rész) (" + code + ")\r\n Original error: ")) << report;
    EXPECT_NE(std::string::npos, report.find("\r\n File:utils/VelMsgBox.cpp\r\n Line:")) << report;
}


// Application-modal without a parent disables nothing; with a parent only the parent is
// disabled; a window disabled before stays disabled.
TEST_F(OwnDialog, TaskModalDisablesTheThreadsWindowsWhileShown)
{
    Window first = MakeWindow(), second = MakeWindow(), disabled = MakeWindow(false);
    const struct { HWND parent; unsigned style; bool firstEnabled, secondEnabled; } cases[] = {
        { nullptr, MB_OK | MB_TASKMODAL, false, false }, { nullptr, MB_OK, true, true },
        { first.Get(), MB_OK | MB_TASKMODAL, false, true } };
    for (const auto& c : cases) {
        ModalBoxAnswerer answer("Feladat", IDOK, [&](HWND) {
            EXPECT_EQ(c.firstEnabled, IsWindowEnabled(first.Get()) != FALSE) << c.style;
            EXPECT_EQ(c.secondEnabled, IsWindowEnabled(second.Get()) != FALSE) << c.style;
        });
        EXPECT_EQ(IDOK, box.Show(c.parent, "Feladat", _TextInfo("t"), _TextInfo("d"), c.style));
        EXPECT_TRUE(IsWindowEnabled(first.Get()) && IsWindowEnabled(second.Get()));
        EXPECT_FALSE(IsWindowEnabled(disabled.Get()));
    }
}
