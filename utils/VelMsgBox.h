// The program's message box: a caption, a main text and a detail text, each with its
// own font and colours, an icon and the buttons of the MB_* style bits. Returns the
// pressed button's id as MessageBoxA does, or -1 on failure; never throws. Where no
// module holds its dialog template, the system message box stands in.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "utils/DpiScale.h"
#include "utils/FontInf.h"
#include "utils/TextInfo.h"
#include "utils/UniqueHandle.h"

namespace velutils {

class VelMsgBox {
public:
    // The template is looked up in `templateModule` (null: the module that holds this
    // code), then in the program's own module.
    explicit VelMsgBox(HMODULE templateModule = nullptr);
    virtual ~VelMsgBox();
    VelMsgBox(const VelMsgBox&) = delete;
    VelMsgBox& operator=(const VelMsgBox&) = delete;

    int Show(HWND parent, const std::string& caption, const _TextInfo& text, const _TextInfo& detail,
             unsigned style);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
    BOOL OnInitDialog(HWND dialog);
    BOOL OnCommand(WPARAM wParam);
    INT_PTR OnCtlColor(HDC dc, HWND control);
    BOOL OnClose();
    BOOL OnDpiChanged(UINT dpi, const RECT* suggested);
    BOOL OnGetObject(WPARAM flags, LPARAM object);

    HMODULE TemplateModule() const;
    int RunDialog(HMODULE module, HWND parent, DWORD& failure);
    int ShowSystemBox(HWND parent) const;
    std::string Describe() const;

    HWND Control(int id, const char* windowClass, DWORD style);
    HFONT BaseFont() const;
    void KeepDialogFromScaling() const;
    void SetUpIcon();
    void SetUpText(int id, const _TextInfo& info);
    void SetTextFont(int id, const _TextInfo& info);
    void CreateButtons();
    void Layout(const RECT* suggested = nullptr);

    HMODULE m_templateModule;
    HWND m_parent = nullptr;
    HWND m_dialog = nullptr;
    unsigned m_style = 0;
    std::string m_caption;
    _TextInfo m_text;
    _TextInfo m_detail;
    std::vector<int> m_buttons;
    std::vector<HWND> m_buttonWindows;
    std::map<int, FontHandle> m_fonts;            // by control id
    std::map<COLORREF, BrushHandle> m_brushes;    // by colour
    FontHandle m_baseFont;                        // the dialog's font at a DPI it was not made for
    IconHandle m_icon;                            // a system icon at a size of its own
    DpiScale m_scale;                             // of the monitor the box is on
    UINT m_dialogFontDpi = DpiScale::kBaseDpi;    // the DPI the dialog's own font was made for

    // Layout, in pixels at 96 DPI.
    const int m_marginText = 5;       // around a text inside its field
    const int m_marginBorder = 10;    // between the dialog's edge and its content
    const int m_marginBottom = 5;     // added below the buttons
    const int m_spacingBlock = 8;     // between icon, texts and the button row
    const int m_spacingButton = 8;    // between two buttons
    const SIZE m_buttonSize = { 75, 25 };
};

// A box with default fonts and colours.
int VelMessageBox(HWND parent, const std::string& caption, const std::string& text, const std::string& detail,
                  unsigned style);
int VelMessageBox(HWND parent, const std::string& caption, const _TextInfo& text, const _TextInfo& detail,
                  unsigned style);

}  // namespace velutils
