#include "utils/VelMsgBox.h"

#include <algorithm>

#include "res/resource.h"
#include "utils/AssertBox.h"
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
        m_fonts.clear();
        m_brushes.clear();

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
    SetWindowTextA(dialog, m_caption.c_str());
    SetUpIcon();
    SetUpText(IDC_VELMSGBOX_TEXT, m_text);
    SetUpText(IDC_VELMSGBOX_DETAIL, m_detail);
    Layout();
    return FALSE;   // the default button has the focus
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
    SendMessageA(control, WM_SETFONT, SendMessageA(m_dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

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
    // A shared system icon: not to be destroyed.
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, which)), 0);
}

void VelMsgBox::SetUpText(int id, const _TextInfo& info)
{
    DWORD style = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY;
    if (id == IDC_VELMSGBOX_DETAIL)
        style |= WS_BORDER;
    HWND control = Control(id, "EDIT", style);
    if (!control)
        return;
    MemoryDc dc(CreateCompatibleDC(nullptr));
    auto dialogFont = reinterpret_cast<HFONT>(SendMessageA(m_dialog, WM_GETFONT, 0, 0));
    FontHandle font = info.font.Create(dialogFont, dc.Get());
    if (font) {
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
        m_fonts[id] = std::move(font);
    }
    SendMessageA(control, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(m_marginText, m_marginText));
    SetWindowTextA(control, EditText(info.text).c_str());
}

SIZE VelMsgBox::MeasureText(int id, const std::string& text, int maxWidth) const
{
    MemoryDc dc(CreateCompatibleDC(nullptr));
    auto font = reinterpret_cast<HFONT>(SendDlgItemMessageA(m_dialog, id, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    RECT rect = { 0, 0, maxWidth, 0 };
    const std::string measured = text.empty() ? std::string(" ") : text;
    DrawTextA(dc.Get(), measured.c_str(), -1, &rect,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL);
    SelectObject(dc.Get(), old);
    return SIZE{ rect.right - rect.left, rect.bottom - rect.top };
}

void VelMsgBox::Layout()
{
    const int iconSide = IconOf(m_style) ? GetSystemMetrics(SM_CXICON) : 0;
    const int textLeft = m_marginBorder + (iconSide ? iconSide + m_spacingBlock : 0);
    const int maxWidth = std::max(240, GetSystemMetrics(SM_CXSCREEN) / 2);
    const int count = static_cast<int>(m_buttons.size());
    const int rowWidth = count * m_buttonSize.cx + (count - 1) * m_spacingButton;

    SIZE text = MeasureText(IDC_VELMSGBOX_TEXT, m_text.text, maxWidth);
    SIZE detail = MeasureText(IDC_VELMSGBOX_DETAIL, m_detail.text, maxWidth);
    int fieldWidth = std::max(text.cx, m_detail.text.empty() ? 0 : detail.cx) + 2 * m_marginText + 4;
    const int clientWidth = std::max(textLeft + fieldWidth + m_marginBorder, rowWidth + 2 * m_marginBorder);
    fieldWidth = clientWidth - textLeft - m_marginBorder;

    const int rowTop = LayoutTexts(textLeft, m_marginBorder, fieldWidth, iconSide);
    CreateButtons(rowTop, clientWidth);
    ResizeAndCenter(clientWidth, rowTop + m_buttonSize.cy + m_marginBorder + m_marginBottom);
}

// Places icon, main text and detail from `top` on; returns the top of the button row.
int VelMsgBox::LayoutTexts(int left, int top, int width, int iconSide)
{
    const int maxWidth = width - 2 * m_marginText - 4;
    if (iconSide)
        MoveWindow(GetDlgItem(m_dialog, IDC_VELMSGBOX_ICON), m_marginBorder, top, iconSide, iconSide, FALSE);
    const int textHeight = std::max<int>(MeasureText(IDC_VELMSGBOX_TEXT, m_text.text, maxWidth).cy
                                         + 2 * m_marginText, iconSide);
    MoveWindow(GetDlgItem(m_dialog, IDC_VELMSGBOX_TEXT), left, top, width, textHeight, FALSE);
    int next = top + textHeight + m_spacingBlock;

    HWND detail = GetDlgItem(m_dialog, IDC_VELMSGBOX_DETAIL);
    if (m_detail.text.empty()) {
        ShowWindow(detail, SW_HIDE);
        return next;
    }
    const int wanted = MeasureText(IDC_VELMSGBOX_DETAIL, m_detail.text, maxWidth).cy + 2 * m_marginText + 4;
    const int limit = std::max(100, GetSystemMetrics(SM_CYSCREEN) / 3);
    const int height = std::min(wanted, limit);
    MoveWindow(detail, left, next, width, height, FALSE);
    ShowScrollBar(detail, SB_VERT, wanted > limit);
    return next + height + m_spacingBlock;
}

void VelMsgBox::CreateButtons(int top, int clientWidth)
{
    const int count = static_cast<int>(m_buttons.size());
    int x = (clientWidth - (count * m_buttonSize.cx + (count - 1) * m_spacingButton)) / 2;
    MoveWindow(GetDlgItem(m_dialog, IDC_VELMSGBOX_BUTTONS), x, top, clientWidth - 2 * x, m_buttonSize.cy, FALSE);

    auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(m_dialog, GWLP_HINSTANCE));
    const WPARAM font = SendMessageA(m_dialog, WM_GETFONT, 0, 0);
    const size_t defaultIndex = DefaultButton(m_style, m_buttons.size());
    for (size_t i = 0; i < m_buttons.size(); ++i, x += m_buttonSize.cx + m_spacingButton) {
        const int id = m_buttons[i];
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == defaultIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        HWND button = CreateWindowExA(0, "BUTTON", CaptionOf(id), style, x, top, m_buttonSize.cx, m_buttonSize.cy,
                                      m_dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
        if (!button) {
            VEL_ASSERT_ERROR(m_caption, GetLastError());
            continue;
        }
        SendMessageA(button, WM_SETFONT, font, FALSE);
        if (i == defaultIndex) {
            SendMessageA(m_dialog, DM_SETDEFID, id, 0);
            SetFocus(button);
        }
    }
}

// Over the parent when it is shown, else in the middle of the work area.
void VelMsgBox::ResizeAndCenter(int clientWidth, int clientHeight)
{
    RECT frame = { 0, 0, clientWidth, clientHeight };
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(m_dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(m_dialog, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT area = {};
    if (!(m_parent && IsWindowVisible(m_parent) && GetWindowRect(m_parent, &area)))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int x = std::max<int>(area.left, area.left + (area.right - area.left - width) / 2);
    const int y = std::max<int>(area.top, area.top + (area.bottom - area.top - height) / 2);
    // MB_TOPMOST keeps the box above every other window, as the system box does: a box
    // without a parent would otherwise open behind the operator's work.
    const bool topmost = (m_style & MB_TOPMOST) != 0;
    SetWindowPos(m_dialog, topmost ? HWND_TOPMOST : nullptr, x, y, width, height,
                 (topmost ? 0 : SWP_NOZORDER) | SWP_NOACTIVATE);
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
