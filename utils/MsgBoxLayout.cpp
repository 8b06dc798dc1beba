#include "utils/MsgBoxLayout.h"

#include <algorithm>
#include <string>

#include "res/resource.h"
#include "utils/UniqueHandle.h"

namespace velutils {

namespace {

const int kProbeSide = 2000;        // a size at which an edit control shows its insets
const int kNarrowestWrap = 240;     // texts wrap no narrower than this (pixels at 96 DPI)
const int kFewestDetailLines = 3;   // a scrolling detail shows at least this many

std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], static_cast<int>(text.size()))));
    return text;
}

HFONT FontOf(HWND window)
{
    return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

// The width the control's text takes when wrapped at `wrap` pixels, and its height.
SIZE MeasureText(HWND control, int wrap)
{
    MemoryDc dc(CreateCompatibleDC(nullptr));
    HFONT font = FontOf(control);
    HGDIOBJ old = SelectObject(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    std::string text = WindowText(control);
    if (text.empty())
        text = " ";
    RECT rect = { 0, 0, wrap, 0 };
    DrawTextA(dc.Get(), text.c_str(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_EDITCONTROL);
    SelectObject(dc.Get(), old);
    return SIZE{ rect.right - rect.left, rect.bottom - rect.top };
}

int LineHeight(HWND control)
{
    MemoryDc dc(CreateCompatibleDC(nullptr));
    HFONT font = FontOf(control);
    HGDIOBJ old = SelectObject(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc.Get(), &metrics);
    SelectObject(dc.Get(), old);
    return std::max<int>(1, metrics.tmHeight);
}

RECT FormatRect(HWND edit)
{
    RECT format = {};
    SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    return format;
}

void Resize(HWND window, int width, int height)
{
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

// What an edit control's size has beyond its text: frame, border insets and margins.
// Wide and tall enough, the insets are all there; above and below the text they are equal.
SIZE EditOverhead(HWND edit)
{
    Resize(edit, kProbeSide, kProbeSide);
    RECT client = {};
    GetClientRect(edit, &client);
    const RECT format = FormatRect(edit);
    return SIZE{ kProbeSide - (format.right - format.left), kProbeSide - client.bottom + 2 * format.top };
}

int LineCount(HWND edit)
{
    return std::max<int>(1, static_cast<int>(SendMessageA(edit, EM_GETLINECOUNT, 0, 0)));
}

// Grows the edit until its formatting rectangle holds all its lines.
int FitLines(HWND edit, int width, int height)
{
    const int lineHeight = LineHeight(edit);
    for (int tries = 0; tries < 4; ++tries) {
        Resize(edit, width, height);
        const RECT format = FormatRect(edit);
        const int missing = LineCount(edit) * lineHeight - (format.bottom - format.top);
        if (missing <= 0)
            break;
        height += missing;
    }
    return height;
}

}  // namespace

MsgBoxLayout::MsgBoxLayout(HWND dialog, HWND parent, const Spacing& spacing, DpiScale scale)
    : m_dialog(dialog), m_parent(parent), m_spacing(spacing), m_scale(scale), m_work(), m_frame()
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(MonitorOf(dialog, parent), &info))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    m_work = info.rcWork;
    RECT window = {}, client = {};
    GetWindowRect(dialog, &window);
    GetClientRect(dialog, &client);
    m_frame = SIZE{ (window.right - window.left) - client.right, (window.bottom - window.top) - client.bottom };
}

HMONITOR MsgBoxLayout::MonitorOf(HWND dialog, HWND parent)
{
    return MonitorFromWindow(parent && IsWindowVisible(parent) ? parent : dialog, MONITOR_DEFAULTTONEAREST);
}

RECT MsgBoxLayout::Place(int iconSide, bool detail, const std::vector<HWND>& buttons)
{
    const int border = Px(m_spacing.marginBorder);
    const int block = Px(m_spacing.spacingBlock);
    const int count = static_cast<int>(buttons.size());
    const int rowWidth = count * Px(m_spacing.button.cx) + std::max(0, count - 1) * Px(m_spacing.spacingButton);
    const int textLeft = border + (iconSide ? iconSide + block : 0);
    const int clientWidth = std::max(textLeft + FieldWidth(textLeft, detail) + border, rowWidth + 2 * border);
    const int fieldWidth = clientWidth - textLeft - border;

    if (iconSide)
        MoveWindow(GetDlgItem(m_dialog, IDC_VELMSGBOX_ICON), border, border, iconSide, iconSide, FALSE);
    HWND text = GetDlgItem(m_dialog, IDC_VELMSGBOX_TEXT);
    const int textHeight = TextHeight(text, fieldWidth, iconSide);
    MoveWindow(text, textLeft, border, fieldWidth, textHeight, FALSE);
    int top = border + textHeight + block;

    HWND detailEdit = GetDlgItem(m_dialog, IDC_VELMSGBOX_DETAIL);
    ShowWindow(detailEdit, detail ? SW_SHOWNA : SW_HIDE);
    if (detail) {
        const int below = block + Px(m_spacing.button.cy) + border + Px(m_spacing.marginBottom);
        const int available = (m_work.bottom - m_work.top) - m_frame.cy - top - below;
        bool scrolls = false;
        const int height = DetailHeight(detailEdit, fieldWidth, available, scrolls);
        MoveWindow(detailEdit, textLeft, top, fieldWidth, height, FALSE);
        top += height + block;
    }
    PlaceButtons(buttons, top, clientWidth);
    return WindowRect(clientWidth, top + Px(m_spacing.button.cy) + border + Px(m_spacing.marginBottom));
}

// The width the texts need: each wrapped at half the work area (but no narrower than
// kNarrowestWrap), never wider than the work area allows.
int MsgBoxLayout::FieldWidth(int textLeft, bool detail) const
{
    HWND text = GetDlgItem(m_dialog, IDC_VELMSGBOX_TEXT);
    HWND detailEdit = GetDlgItem(m_dialog, IDC_VELMSGBOX_DETAIL);
    const int workWidth = m_work.right - m_work.left;
    const int workHeight = m_work.bottom - m_work.top;
    const int widest = workWidth - m_frame.cx - textLeft - Px(m_spacing.marginBorder);
    const int scrollBar = m_scale.SystemMetric(SM_CXVSCROLL);
    const SIZE textOverhead = EditOverhead(text);
    const SIZE detailOverhead = EditOverhead(detailEdit);
    const int wrap = std::max<int>(Px(kNarrowestWrap / 6), std::min<int>(std::max(Px(kNarrowestWrap), workWidth / 2),
                                                                         widest - detailOverhead.cx - scrollBar));
    const SIZE measured = MeasureText(text, wrap);
    int width = measured.cx + textOverhead.cx;
    if (detail) {
        // A detail that will scroll keeps room for its scroll bar beside the text.
        const SIZE detailMeasured = MeasureText(detailEdit, wrap);
        const int fixed = 2 * Px(m_spacing.marginBorder) + 3 * Px(m_spacing.spacingBlock) + Px(m_spacing.button.cy)
                          + Px(m_spacing.marginBottom) + measured.cy + textOverhead.cy + 2 * Px(m_spacing.marginText);
        const int wanted = detailMeasured.cy + detailOverhead.cy + 2 * Px(m_spacing.marginText);
        const bool scrolls = wanted > workHeight - m_frame.cy - fixed;
        width = std::max<int>(width, detailMeasured.cx + detailOverhead.cx + (scrolls ? scrollBar : 0));
    }
    // One pixel more: a line exactly as wide as the field stays whole on every system.
    return std::min(width + 1, std::max(widest, wrap));
}

// The height that shows all lines the edit makes of its text at that width.
int MsgBoxLayout::TextHeight(HWND edit, int width, int minimum) const
{
    const SIZE overhead = EditOverhead(edit);
    Resize(edit, width, kProbeSide);
    const int height = overhead.cy + LineCount(edit) * LineHeight(edit) + 2 * Px(m_spacing.marginText);
    return std::max(FitLines(edit, width, height), minimum);
}

int MsgBoxLayout::DetailHeight(HWND edit, int width, int available, bool& scrolls) const
{
    ShowScrollBar(edit, SB_VERT, FALSE);
    const int wanted = TextHeight(edit, width, 0);
    scrolls = wanted > available;
    if (!scrolls)
        return wanted;
    // Too tall for the screen: the detail scrolls, and the keyboard can reach it.
    ShowScrollBar(edit, SB_VERT, TRUE);
    SetWindowLongPtrA(edit, GWL_STYLE, GetWindowLongPtrA(edit, GWL_STYLE) | WS_TABSTOP);
    const SIZE overhead = EditOverhead(edit);
    const int fewest = overhead.cy + kFewestDetailLines * LineHeight(edit);
    return std::max(available, fewest);
}

void MsgBoxLayout::PlaceButtons(const std::vector<HWND>& buttons, int top, int clientWidth) const
{
    const int count = static_cast<int>(buttons.size());
    const int width = Px(m_spacing.button.cx);
    const int height = Px(m_spacing.button.cy);
    const int step = width + Px(m_spacing.spacingButton);
    int x = (clientWidth - (count * step - Px(m_spacing.spacingButton))) / 2;
    MoveWindow(GetDlgItem(m_dialog, IDC_VELMSGBOX_BUTTONS), x, top, std::max(0, count * step - Px(m_spacing.spacingButton)),
               height, FALSE);
    for (HWND button : buttons) {
        MoveWindow(button, x, top, width, height, FALSE);
        x += step;
    }
}

// Over the parent when it is shown, else in the middle of the work area; inside the
// work area as far as the box fits.
RECT MsgBoxLayout::WindowRect(int clientWidth, int clientHeight) const
{
    const int width = clientWidth + m_frame.cx;
    const int height = clientHeight + m_frame.cy;
    RECT area = m_work;
    if (m_parent && IsWindowVisible(m_parent))
        GetWindowRect(m_parent, &area);
    const RECT centred = { 0, 0, width, height };
    return Keep(centred, area.left + (area.right - area.left - width) / 2, area.top + (area.bottom - area.top - height) / 2);
}

RECT MsgBoxLayout::Keep(const RECT& box, int left, int top) const
{
    const int width = box.right - box.left;
    const int height = box.bottom - box.top;
    const int x = std::max<int>(m_work.left, std::min<int>(left, m_work.right - width));
    const int y = std::max<int>(m_work.top, std::min<int>(top, m_work.bottom - height));
    return RECT{ x, y, x + width, y + height };
}

}  // namespace velutils
