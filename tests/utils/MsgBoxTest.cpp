// The message box, answered from inside its own modal loop: the system box where no
// module holds the template, its own dialog from a DLL that holds it, task-modal
// disabling, fonts and colours, and the "ASSERT ERROR" box for its own failures.
#include <gtest/gtest.h>

#include <string>

#include "ModalBoxAnswerer.h"
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

HWND DestroyedWindow()
{
    Window window = MakeWindow(true);
    return window.Get();
}

std::string Text(HWND window)
{
    return ModalBoxAnswerer::Text(window);
}

LOGFONTA FontOf(HWND window)
{
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

SIZE SizeOf(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return SIZE{ r.right - r.left, r.bottom - r.top };
}

velutils::ModuleHandle LoadBeside(const char* name)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path);
    dir.erase(dir.find_last_of('\\') + 1);
    return velutils::ModuleHandle(LoadLibraryA((dir + name).c_str()));
}

// The DLL that holds the dialog template, beside the test program.
HMODULE TemplateDll()
{
    static velutils::ModuleHandle dll = LoadBeside("velmsgbox_template.dll");
    return dll.Get();
}

}  // namespace

TEST(SystemMessageBox, StandsInWhereNoModuleHoldsTheTemplate)
{
    std::vector<std::string> texts;
    bool yes = false, no = false, ok = true;
    ModalBoxAnswerer answer("Hiba történt", IDNO, [&](HWND box) {
        texts = ModalBoxAnswerer::StaticTexts(box);
        yes = GetDlgItem(box, IDYES) != nullptr;
        no = GetDlgItem(box, IDNO) != nullptr;
        ok = GetDlgItem(box, IDOK) != nullptr;
    });
    int result = velutils::VelMessageBox(nullptr, "Hiba történt", "Fő szöveg: ő", "Részletek: ű",
                                         MB_YESNO | MB_ICONQUESTION);
    EXPECT_TRUE(answer.Answered());
    EXPECT_EQ(IDNO, result);
    EXPECT_EQ(std::vector<std::string>{ "Fő szöveg: ő\r\n------\r\nRészletek: ű" }, texts);
    EXPECT_TRUE(yes && no);
    EXPECT_FALSE(ok);
}

TEST(SystemMessageBox, StandsInWhenTheGivenModuleHasNoResourcesAtAll)
{
    velutils::ModuleHandle bare = LoadBeside("velnoresources.dll");
    ASSERT_TRUE(bare);
    VelMsgBox box(bare.Get());
    ModalBoxAnswerer answer("Üres modul", IDOK);
    EXPECT_EQ(IDOK, box.Show(nullptr, "Üres modul", _TextInfo("t"), _TextInfo("d"), MB_OKCANCEL));
    EXPECT_TRUE(answer.Answered());
}

TEST(SystemMessageBox, IsOwnedByTheParentAndReturnsTheAnswer)
{
    Window parent = MakeWindow();
    HWND owner = nullptr;
    ModalBoxAnswerer answer("Kérdés", IDRETRY, [&](HWND box) { owner = GetWindow(box, GW_OWNER); });
    EXPECT_EQ(IDRETRY, velutils::VelMessageBox(parent.Get(), "Kérdés", _TextInfo("a"), _TextInfo("b"),
                                               MB_ABORTRETRYIGNORE));
    EXPECT_EQ(parent.Get(), owner);
}

class OwnDialog : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, TemplateDll()) << "velmsgbox_template.dll beside the tests"; }
    VelMsgBox box{ TemplateDll() };
};

TEST_F(OwnDialog, ShowsTextsIconAndButtonsAndReturnsThePressedOne)
{
    std::string caption, text, detail, yes, no, cancel;
    SIZE buttonSize = {};
    LRESULT defId = 0;
    HWND focus = nullptr, noButton = nullptr, detailWindow = nullptr;
    HICON icon = nullptr;
    bool ok = true;
    RECT detailRect = {}, cancelRect = {};
    ModalBoxAnswerer answer("Adatbázis hiba", IDCANCEL, [&](HWND dlg) {
        caption = Text(dlg);
        text = Text(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT));
        detailWindow = GetDlgItem(dlg, IDC_VELMSGBOX_DETAIL);
        detail = Text(detailWindow);
        yes = Text(GetDlgItem(dlg, IDYES));
        no = Text(GetDlgItem(dlg, IDNO));
        cancel = Text(GetDlgItem(dlg, IDCANCEL));
        ok = GetDlgItem(dlg, IDOK) != nullptr;
        buttonSize = SizeOf(GetDlgItem(dlg, IDCANCEL));
        defId = SendMessageA(dlg, DM_GETDEFID, 0, 0);
        focus = GetFocus();
        noButton = GetDlgItem(dlg, IDNO);
        icon = reinterpret_cast<HICON>(SendDlgItemMessageA(dlg, IDC_VELMSGBOX_ICON, STM_GETICON, 0, 0));
        GetWindowRect(detailWindow, &detailRect);
        GetWindowRect(GetDlgItem(dlg, IDCANCEL), &cancelRect);
    });
    int result = box.Show(nullptr, "Adatbázis hiba", _TextInfo("Első sor\nMásodik sor"),
                          _TextInfo("Hibakód: 10017\r\nfile x.cpp"), MB_YESNOCANCEL | MB_ICONHAND | MB_DEFBUTTON2);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ("Adatbázis hiba", caption);
    EXPECT_EQ("Első sor\r\nMásodik sor", text);
    EXPECT_EQ("Hibakód: 10017\r\nfile x.cpp", detail);
    EXPECT_EQ("Igen", yes);
    EXPECT_EQ("Nem", no);
    EXPECT_EQ("Mégse", cancel);
    EXPECT_FALSE(ok);
    EXPECT_EQ(75, buttonSize.cx);
    EXPECT_EQ(25, buttonSize.cy);
    EXPECT_EQ(MAKELRESULT(IDNO, DC_HASDEFID), defId);
    EXPECT_EQ(noButton, focus);
    EXPECT_EQ(LoadIconA(nullptr, IDI_HAND), icon);
    EXPECT_GE(cancelRect.top, detailRect.bottom) << "the buttons stand below the detail";
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

TEST_F(OwnDialog, DefaultFontInfoKeepsTheDialogFont)
{
    HFONT dialogFont = nullptr, textFont = nullptr;
    ModalBoxAnswerer answer("Betűk", IDOK, [&](HWND dlg) {
        dialogFont = reinterpret_cast<HFONT>(SendMessageA(dlg, WM_GETFONT, 0, 0));
        textFont = reinterpret_cast<HFONT>(SendDlgItemMessageA(dlg, IDC_VELMSGBOX_TEXT, WM_GETFONT, 0, 0));
    });
    box.Show(nullptr, "Betűk", _TextInfo("t", _FontInf()), _TextInfo("d"), MB_OK);
    EXPECT_NE(nullptr, dialogFont);
    EXPECT_EQ(dialogFont, textFont);
}

TEST_F(OwnDialog, FontInfoChangesOnlyWhatItNames)
{
    LOGFONTA dialogFont = {}, text = {}, detail = {};
    int pixelsPerInch = 0;
    ModalBoxAnswerer answer("Betűk", IDOK, [&](HWND dlg) {
        dialogFont = FontOf(dlg);
        text = FontOf(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT));
        detail = FontOf(GetDlgItem(dlg, IDC_VELMSGBOX_DETAIL));
        HDC dc = GetDC(dlg);
        pixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
        ReleaseDC(dlg, dc);
    });
    _FontInf bold("Courier New", 14, _FontInf::Bold | _FontInf::Italic, RGB(200, 0, 0), EASTEUROPE_CHARSET);
    box.Show(nullptr, "Betűk", _TextInfo("t", _FontInf("Arial", 0)), _TextInfo("d", bold), MB_OK);

    EXPECT_STREQ("Arial", text.lfFaceName);
    EXPECT_EQ(dialogFont.lfHeight, text.lfHeight);
    EXPECT_EQ(dialogFont.lfWeight, text.lfWeight);

    EXPECT_STREQ("Courier New", detail.lfFaceName);
    EXPECT_EQ(-MulDiv(14, pixelsPerInch, 72), detail.lfHeight);
    EXPECT_EQ(FW_BOLD, detail.lfWeight);
    EXPECT_TRUE(detail.lfItalic);
    EXPECT_FALSE(detail.lfUnderline);
    EXPECT_EQ(EASTEUROPE_CHARSET, detail.lfCharSet);
}

TEST_F(OwnDialog, TextsGetTheirColours)
{
    COLORREF textColour = 0, background = 0, brushColour = 0;
    ModalBoxAnswerer answer("Színek", IDOK, [&](HWND dlg) {
        velutils::MemoryDc dc(CreateCompatibleDC(nullptr));
        auto brush = reinterpret_cast<HBRUSH>(SendMessageA(dlg, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()),
                                                           reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDC_VELMSGBOX_TEXT))));
        textColour = GetTextColor(dc.Get());
        background = GetBkColor(dc.Get());
        LOGBRUSH info = {};
        GetObjectA(brush, sizeof info, &info);
        brushColour = info.lbColor;
    });
    _FontInf red("", 0, _FontInf::KeepStyle, RGB(255, 0, 0), _FontInf::KeepCharSet);
    box.Show(nullptr, "Színek", _TextInfo("t", red, RGB(255, 255, 0)), _TextInfo("d"), MB_OK);
    EXPECT_EQ(RGB(255, 0, 0), textColour);
    EXPECT_EQ(RGB(255, 255, 0), background);
    EXPECT_EQ(RGB(255, 255, 0), brushColour);
}

// A box whose parent is gone fails for a reason other than a missing template: the
// failure is reported with the box's texts, the system error and the position.
TEST_F(OwnDialog, FailureOtherThanAMissingTemplateIsReported)
{
    std::string report;
    ModalBoxAnswerer answer("ASSERT ERROR", IDOK, [&](HWND dlg) {
        auto texts = ModalBoxAnswerer::StaticTexts(dlg);
        report = texts.empty() ? std::string() : texts[0];
    });
    EXPECT_EQ(-1, box.Show(DestroyedWindow(), "Cím", _TextInfo("Fő"), _TextInfo("Rész"), MB_OK));
    EXPECT_TRUE(answer.Answered());
    const std::string code = std::to_string(ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(0u, report.find("Cím/Fő (Rész) (" + code + ")\r\n Original error: ")) << report;
    EXPECT_NE(std::string::npos, report.find("\r\n File:utils/VelMsgBox.cpp\r\n Line:")) << report;
}


namespace {

// Shows a box and records whether the thread's two windows were enabled meanwhile.
struct TaskModalRun {
    bool firstEnabled = true;
    bool secondEnabled = true;
    int result = 0;
};

TaskModalRun ShowWithTwoWindows(VelMsgBox& box, HWND first, HWND second, HWND parent, unsigned style)
{
    TaskModalRun run;
    ModalBoxAnswerer answer("Feladat", IDOK, [&](HWND) {
        run.firstEnabled = IsWindowEnabled(first) != FALSE;
        run.secondEnabled = IsWindowEnabled(second) != FALSE;
    });
    run.result = box.Show(parent, "Feladat", _TextInfo("t"), _TextInfo("d"), style);
    return run;
}

void ExpectTaskModalDisablesAndEnablesAgain(VelMsgBox& box)
{
    Window first = MakeWindow(), second = MakeWindow(), disabled = MakeWindow(false);
    TaskModalRun run = ShowWithTwoWindows(box, first.Get(), second.Get(), nullptr, MB_OK | MB_TASKMODAL);
    EXPECT_EQ(IDOK, run.result);
    EXPECT_FALSE(run.firstEnabled);
    EXPECT_FALSE(run.secondEnabled);
    EXPECT_TRUE(IsWindowEnabled(first.Get()));
    EXPECT_TRUE(IsWindowEnabled(second.Get()));
    EXPECT_FALSE(IsWindowEnabled(disabled.Get())) << "a window disabled before stays disabled";

    run = ShowWithTwoWindows(box, first.Get(), second.Get(), nullptr, MB_OK);
    EXPECT_TRUE(run.firstEnabled && run.secondEnabled) << "application-modal without a parent disables nothing";

    run = ShowWithTwoWindows(box, first.Get(), second.Get(), first.Get(), MB_OK | MB_TASKMODAL);
    EXPECT_TRUE(run.secondEnabled) << "with a parent only the parent is disabled";
    EXPECT_TRUE(IsWindowEnabled(first.Get()));
}

}  // namespace

TEST_F(OwnDialog, TaskModalDisablesTheThreadsWindowsWhileShown)
{
    ExpectTaskModalDisablesAndEnablesAgain(box);
}

TEST(SystemMessageBox, TaskModalDisablesTheThreadsWindowsWhileShown)
{
    VelMsgBox box;
    ExpectTaskModalDisablesAndEnablesAgain(box);
}
