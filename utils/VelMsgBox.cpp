#include "utils/VelMsgBox.h"

#include <algorithm>

#include <commctrl.h>

#include "res/resource.h"
#include "utils/AssertBox.h"
#include "utils/MsgBoxLayout.h"
#include "utils/NamedAccessible.h"
#include "utils/ThreadWindowsDisabler.h"

namespace velutils {

namespace {

const unsigned kSystemBoxStyleMask = 0xFF3FFFFF;   // without bits 22 and 23

std::vector<int> ButtonsOf(unsigned style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return { IDOK, IDCANCEL };
    case MB_ABORTRETRYIGNORE: return { IDABORT, IDRETRY, IDIGNORE };
    case MB_YESNOCANCEL: return { IDYES, IDNO, IDCANCEL };
    case MB_YESNO: return { IDYES, IDNO };
    case MB_RETRYCANCEL: return { IDRETRY, IDCANCEL };
    case MB_CANCELTRYCONTINUE: return { IDCANCEL, IDTRYAGAIN, IDCONTINUE };
    default: return { IDOK };
    }
}

const char* CaptionOf(int button)
{
    switch (button) {
    case IDCANCEL: return "Mégse";
    case IDABORT: return "Megszakítás";
    case IDRETRY: return "Ismét";
    case IDIGNORE: return "Kihagyás";
    case IDYES: return "Igen";
    case IDNO: return "Nem";
    case IDTRYAGAIN: return "Újra";
    case IDCONTINUE: return "Folytatás";
    default: return "OK";
    }
}

size_t DefaultButton(unsigned style, size_t count)
{
    size_t index = (style & MB_DEFMASK) >> 8;
    return index < count ? index : 0;
}

LPCSTR IconOf(unsigned style)
{
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND: return IDI_HAND;
    case MB_ICONQUESTION: return IDI_QUESTION;
    case MB_ICONEXCLAMATION: return IDI_EXCLAMATION;
    case MB_ICONASTERISK: return IDI_ASTERISK;
    default: return nullptr;
    }
}

// A module without any resources (1812) holds no template either.
bool IsMissingTemplate(DWORD code)
{
    return code == ERROR_RESOURCE_DATA_NOT_FOUND || code == ERROR_RESOURCE_TYPE_NOT_FOUND
        || code == ERROR_RESOURCE_NAME_NOT_FOUND || code == ERROR_RESOURCE_LANG_NOT_FOUND;
}

// Edit controls break lines only at "\r\n".
std::string EditText(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 8);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

// The texts sit in read-only edit boxes, which have no names of their own: a reader hears
// each as a text, named and valued by what it says.
LRESULT CALLBACK ReadableTextProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    if (msg == WM_GETOBJECT) {
        NamedAccessible::Naming naming;
        naming.name = WindowTextOf(edit);
        naming.role = ROLE_SYSTEM_STATICTEXT;
        naming.valued = true;
        if (LRESULT answer = NamedAccessible::Answer(edit, wParam, lParam, naming))
            return answer;
    }
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(edit, ReadableTextProc, id);
    return DefSubclassProc(edit, msg, wParam, lParam);
}

}  // namespace

VelMsgBox::VelMsgBox(HMODULE templateModule) : m_templateModule(templateModule) {}

VelMsgBox::~VelMsgBox() = default;

int VelMsgBox::Show(HWND parent, const std::string& caption, const _TextInfo& text, const _TextInfo& detail,
                    unsigned style)
{
    try {
        m_parent = parent;
        m_caption = caption;
        m_text = text;
        m_detail = detail;
        m_style = style;
        m_buttons = ButtonsOf(style);
        m_buttonWindows.clear();
        m_fonts.clear();
        m_brushes.clear();
        m_baseFont.Reset();
        m_icon.Reset();

        ThreadWindowsDisabler disabler;
        if (!parent && (style & MB_MODEMASK) == MB_TASKMODAL && !disabler.DisableAll())
            VEL_ASSERT_ERROR(m_caption, GetLastError());

        DWORD failure = ERROR_SUCCESS;
        HMODULE module = TemplateModule();
        int result = RunDialog(module, parent, failure);
        HMODULE own = GetModuleHandleA(nullptr);
        if (result <= 0 && IsMissingTemplate(failure) && module != own)
            result = RunDialog(own, parent, failure);
        if (result <= 0 && IsMissingTemplate(failure))
            return ShowSystemBox(parent);
        if (result <= 0) {
            VEL_ASSERT_ERROR(Describe(), failure);
            return -1;
        }
        return result;
    } catch (...) {
        return -1;
    }
}

HMODULE VelMsgBox::TemplateModule() const
{
    if (m_templateModule)
        return m_templateModule;
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&VelMsgBox::DialogProc), &module)) {
        VEL_ASSERT_ERROR(m_caption, GetLastError());
        return GetModuleHandleA(nullptr);
    }
    return module;
}

int VelMsgBox::RunDialog(HMODULE module, HWND parent, DWORD& failure)
{
    SetLastError(ERROR_SUCCESS);
    INT_PTR result = DialogBoxParamA(module, MAKEINTRESOURCEA(IDD_VELMSGBOX), parent, DialogProc,
                                     reinterpret_cast<LPARAM>(this));
    failure = result > 0 ? ERROR_SUCCESS : GetLastError();
    m_dialog = nullptr;
    return static_cast<int>(result);
}

int VelMsgBox::ShowSystemBox(HWND parent) const
{
    const std::string text = m_text.text + "\r\n------\r\n" + m_detail.text;
    int result = MessageBoxA(parent, text.c_str(), m_caption.c_str(), m_style & kSystemBoxStyleMask);
    if (result == 0) {
        VEL_ASSERT_ERROR(m_caption, GetLastError());
        return -1;
    }
    return result;
}

std::string VelMsgBox::Describe() const
{
    return m_caption + "/" + m_text.text + " (" + m_detail.text + ")";
}

INT_PTR CALLBACK VelMsgBox::DialogProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_INITDIALOG)
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    auto* box = reinterpret_cast<VelMsgBox*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!box)
        return FALSE;
    try {
        switch (msg) {
        case WM_INITDIALOG:
            return box->OnInitDialog(dialog);
        case WM_COMMAND:
            return box->OnCommand(wParam);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
            return box->OnCtlColor(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_CLOSE:
            return box->OnClose();
        case WM_DPICHANGED:
            return box->OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        case WM_GETOBJECT:
            return box->OnGetObject(wParam, lParam);
        default:
            return FALSE;
        }
    } catch (...) {
        return FALSE;
    }
}

BOOL VelMsgBox::OnInitDialog(HWND dialog)
{
    m_dialog = dialog;
    m_scale = DpiScale::OfWindow(dialog);
    m_dialogFontDpi = m_scale.Dpi();
    KeepDialogFromScaling();
    SetWindowTextA(dialog, m_caption.c_str());
    SetUpIcon();
    SetUpText(IDC_VELMSGBOX_TEXT, m_text);
    SetUpText(IDC_VELMSGBOX_DETAIL, m_detail);
    CreateButtons();
    Layout();
    return FALSE;   // the default button has the focus
}

// The box moved to a monitor of another DPI, or the scale changed: fonts, icon and
// layout are made again for the new DPI, where Windows suggests.
BOOL VelMsgBox::OnDpiChanged(UINT dpi, const RECT* suggested)
{
    if (!dpi || dpi == m_scale.Dpi())
        return TRUE;
    m_scale = DpiScale(dpi);
    FontHandle shown = std::move(m_baseFont);      // goes once the controls have the new one
    LOGFONTA font = {};
    if (GetObjectA(reinterpret_cast<HFONT>(SendMessageA(m_dialog, WM_GETFONT, 0, 0)), sizeof font, &font)) {
        font.lfHeight = m_scale.ScaleFrom(font.lfHeight, m_dialogFontDpi);
        font.lfWidth = m_scale.ScaleFrom(font.lfWidth, m_dialogFontDpi);
        m_baseFont.Reset(CreateFontIndirectA(&font));
    }
    for (HWND button : m_buttonWindows)
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(BaseFont()), FALSE);
    SetTextFont(IDC_VELMSGBOX_TEXT, m_text);
    SetTextFont(IDC_VELMSGBOX_DETAIL, m_detail);
    SetUpIcon();
    Layout(suggested);
    InvalidateRect(m_dialog, nullptr, TRUE);
    return TRUE;
}

// A reader names the box by its caption; where the caption is empty (the box of a refused
// login has none) by its main text, and the visible caption stays empty.
BOOL VelMsgBox::OnGetObject(WPARAM flags, LPARAM object)
{
    if (!m_caption.empty())
        return FALSE;
    NamedAccessible::Naming naming;
    naming.name = WindowTextOf(GetDlgItem(m_dialog, IDC_VELMSGBOX_TEXT));
    LRESULT answer = NamedAccessible::Answer(m_dialog, flags, object, naming);
    if (!answer)
        return FALSE;
    SetWindowLongPtrA(m_dialog, DWLP_MSGRESULT, answer);
    return TRUE;
}

BOOL VelMsgBox::OnCommand(WPARAM wParam)
{
    const int id = LOWORD(wParam);
    if (std::find(m_buttons.begin(), m_buttons.end(), id) != m_buttons.end()) {
        EndDialog(m_dialog, id);
        return TRUE;
    }
    return id == IDCANCEL ? OnClose() : FALSE;
}

// Esc and the close box: Cancel where there is one, OK where it is the only button,
// otherwise nothing (as the system's box does).
BOOL VelMsgBox::OnClose()
{
    if (std::find(m_buttons.begin(), m_buttons.end(), IDCANCEL) != m_buttons.end())
        EndDialog(m_dialog, IDCANCEL);
    else if (m_buttons.size() == 1 && m_buttons[0] == IDOK)
        EndDialog(m_dialog, IDOK);
    return TRUE;
}

INT_PTR VelMsgBox::OnCtlColor(HDC dc, HWND control)
{
    const int id = GetDlgCtrlID(control);
    const _TextInfo* info = id == IDC_VELMSGBOX_TEXT ? &m_text : id == IDC_VELMSGBOX_DETAIL ? &m_detail : nullptr;
    if (!info || (info->font.colour == _FontInf::DefaultColour && info->colour == _TextInfo::DefaultColour))
        return FALSE;
    if (info->font.colour != _FontInf::DefaultColour)
        SetTextColor(dc, info->font.colour);
    const COLORREF back = info->colour != _TextInfo::DefaultColour ? info->colour : GetSysColor(COLOR_3DFACE);
    SetBkColor(dc, back);
    BrushHandle& brush = m_brushes[back];
    if (!brush)
        brush.Reset(CreateSolidBrush(back));
    return reinterpret_cast<INT_PTR>(brush.Get());
}

// The template's control, or one made now where the template lacks it.
HWND VelMsgBox::Control(int id, const char* windowClass, DWORD style)
{
    HWND control = GetDlgItem(m_dialog, id);
    if (control)
        return control;
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_dialog, GWLP_HINSTANCE));
    control = CreateWindowExA(0, windowClass, "", style, 0, 0, 0, 0, m_dialog,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!control) {
        VEL_ASSERT_ERROR(m_caption, GetLastError());
        return nullptr;
    }
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(BaseFont()), FALSE);
    return control;
}

// The dialog's own font, or the same font made for the DPI the box has moved to.
HFONT VelMsgBox::BaseFont() const
{
    return m_baseFont ? m_baseFont.Get() : reinterpret_cast<HFONT>(SendMessageA(m_dialog, WM_GETFONT, 0, 0));
}

// The box lays itself out for a new DPI (OnDpiChanged); the dialog manager of Windows 10
// would otherwise scale it too, over the fonts the box chose. Looked up at run time: only
// Windows 10 has it.
void VelMsgBox::KeepDialogFromScaling() const
{
    using SetBehaviourFn = BOOL(WINAPI*)(HWND, int, int);
    const int disableAll = 1;      // DDC_DISABLE_ALL
    static const auto setBehaviour = reinterpret_cast<SetBehaviourFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetDialogDpiChangeBehavior")));
    if (setBehaviour)
        setBehaviour(m_dialog, disableAll, disableAll);
}

// The system's icon at the size of the box's DPI: the shared one where that is the
// system's own size, else one of our own.
void VelMsgBox::SetUpIcon()
{
    HWND icon = Control(IDC_VELMSGBOX_ICON, "STATIC", WS_CHILD | WS_VISIBLE | WS_GROUP | SS_ICON);
    if (!icon)
        return;
    LPCSTR which = IconOf(m_style);
    if (!which) {
        ShowWindow(icon, SW_HIDE);
        return;
    }
    const int side = m_scale.SystemMetric(SM_CXICON);
    IconHandle own;
    if (side != GetSystemMetrics(SM_CXICON))
        own.Reset(static_cast<HICON>(LoadImageA(nullptr, which, IMAGE_ICON, side, side, 0)));
    HICON image = own ? own.Get() : LoadIconA(nullptr, which);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(image), 0);
    m_icon = std::move(own);     // the one shown before goes only now
}

void VelMsgBox::SetUpText(int id, const _TextInfo& info)
{
    DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY;
    if (id == IDC_VELMSGBOX_DETAIL)
        style |= WS_BORDER;
    HWND control = Control(id, "EDIT", style);
    if (!control)
        return;
    SetTextFont(id, info);
    SetWindowTextA(control, EditText(info.text).c_str());
    SetWindowSubclass(control, ReadableTextProc, 0, 0);
}

// The text's own font at the box's DPI, or the box's font; with the margins of the DPI.
void VelMsgBox::SetTextFont(int id, const _TextInfo& info)
{
    HWND control = GetDlgItem(m_dialog, id);
    if (!control)
        return;
    FontHandle font = info.font.Create(BaseFont(), m_scale.Dpi());
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font ? font.Get() : BaseFont()), FALSE);
    if (font)
        m_fonts[id] = std::move(font);
    else
        m_fonts.erase(id);
    const int margin = m_scale.Scale(m_marginText);
    SendMessageA(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
}

void VelMsgBox::CreateButtons()
{
    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_dialog, GWLP_HINSTANCE));
    const size_t defaultIndex = DefaultButton(m_style, m_buttons.size());
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        const int id = m_buttons[i];
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND button = CreateWindowExA(0, "BUTTON", CaptionOf(id), style, 0, 0, 0, 0, m_dialog,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!button) {
            VEL_ASSERT_ERROR(m_caption, GetLastError());
            continue;
        }
        m_buttonWindows.push_back(button);
        SendMessageA(button, WM_SETFONT, reinterpret_cast<WPARAM>(BaseFont()), FALSE);
        if (i == defaultIndex) {
            SendMessageA(m_dialog, DM_SETDEFID, id, 0);
            SetFocus(button);
        }
    }
}

// Centred, or from the top left corner of `suggested` (both inside the work area). MB_TOPMOST
// keeps the box above every other window, as the system box does: a box without a parent
// would otherwise open behind the operator's work.
void VelMsgBox::Layout(const RECT* suggested)
{
    const MsgBoxLayout::Spacing spacing = { m_marginText, m_marginBorder, m_marginBottom, m_spacingBlock,
                                            m_spacingButton, m_buttonSize };
    const int iconSide = IconOf(m_style) ? m_scale.SystemMetric(SM_CXICON) : 0;
    MsgBoxLayout layout(m_dialog, m_parent, spacing, m_scale);
    RECT box = layout.Place(iconSide, !m_detail.text.empty(), m_buttonWindows);
    if (suggested)
        box = layout.Keep(box, suggested->left, suggested->top);
    const bool topmost = (m_style & MB_TOPMOST) != 0;
    SetWindowPos(m_dialog, topmost ? HWND_TOPMOST : nullptr, box.left, box.top, box.right - box.left,
                 box.bottom - box.top, (topmost ? 0 : SWP_NOZORDER) | SWP_NOACTIVATE);
}

int VelMessageBox(HWND parent, const std::string& caption, const std::string& text, const std::string& detail,
                  unsigned style)
{
    return VelMessageBox(parent, caption, _TextInfo(text, _FontInf(), _TextInfo::DefaultColour),
                         _TextInfo(detail, _FontInf(), _TextInfo::DefaultColour), style);
}

int VelMessageBox(HWND parent, const std::string& caption, const _TextInfo& text, const _TextInfo& detail,
                  unsigned style)
{
    VelMsgBox box;
    return box.Show(parent, caption, text, detail, style);
}

}  // namespace velutils
