#include "treelist/Appearance.h"

#include "treelist/GdiScopes.h"
#include "treelist/SharedGdi.h"

namespace treelist {

namespace {

COLORREF EighthBlend(COLORREF base, COLORREF tint)
{
    return 7 * ((base >> 3) & 0x1F1F1F) + ((tint >> 3) & 0x1F1F1F);
}

COLORREF DefaultColor(const TreeListState& s, int index)
{
    switch (index) {
    case TVC_BK: return GetSysColor(COLOR_WINDOW);
    case TVC_ODD: return GetSysColor(COLOR_INFOBK);
    case TVC_EVEN: return GetSysColor(COLOR_WINDOW);
    case TVC_FRAME: return GetSysColor(COLOR_BTNFACE);
    case TVC_TEXT: return GetSysColor(COLOR_WINDOWTEXT);
    case TVC_LINE: return GetSysColor(COLOR_WINDOWTEXT);
    case TVC_BOX: return GetSysColor(COLOR_BTNSHADOW);
    case TVC_TRACK: return GetSysColor(COLOR_WINDOWTEXT) ^ 0xFF0000;
    case TVC_MARK: return EighthBlend(s.colors[TVC_ODD], GetSysColor(COLOR_HIGHLIGHT));
    case TVC_MARKEVEN: return EighthBlend(s.colors[TVC_EVEN], GetSysColor(COLOR_HIGHLIGHT));
    default: return GetSysColor(COLOR_INFOBK);
    }
}

void DrawCheckBox(HDC dc, int x, int size, int inset, UINT state)
{
    RECT box = { x + inset, inset, x + size - inset, size - inset };
    DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | state);
}

}  // namespace

void UpdateDefaultColors(TreeListState& s)
{
    for (int i = 0; i < TVC_COUNT; ++i)
        if (!s.colorSet[i])
            s.colors[i] = DefaultColor(s, i);
}

COLORREF SetColorSlot(TreeListState& s, WPARAM index, COLORREF color)
{
    if (index >= TVC_COUNT)
        return CLR_NONE;
    COLORREF old = s.colors[index];
    // -1 is the protocol's "back to the system colour", as CLR_DEFAULT is.
    if (color == CLR_DEFAULT || color == CLR_NONE) {
        s.colorSet[index] = false;
    } else {
        s.colors[index] = color;
        s.colorSet[index] = true;
    }
    UpdateDefaultColors(s);
    return old;
}

void SetControlFont(TreeListState& s, HFONT font)
{
    s.ownerFont = font;
    if (font) {
        s.font = font;
        s.boldFont = font;
    } else if (s.dpi == SharedFontDpi()) {
        s.font = SharedFont();
        s.boldFont = SharedBoldFont();
    } else {
        if (!s.dpiFont)
            MakeFontsAtDpi(s.dpi, s.dpiFont, s.dpiBoldFont);
        s.font = s.dpiFont ? s.dpiFont.Get() : SharedFont();
        s.boldFont = s.dpiBoldFont ? s.dpiBoldFont.Get() : s.font;
    }
    MeasureFont(s);
}

void MeasureFont(TreeListState& s)
{
    WindowDc dc(s.hwnd);
    SelectScope select(dc.Get(), s.font);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc.Get(), &tm);
    s.textHeight = tm.tmHeight;
    s.measuredFont = s.font;
    ForgetTextWidths(s);
    UpdateRowHeight(s);
}

void ForgetTextWidths(TreeListState& s)
{
    for (unsigned id = 1; id < s.capacity; ++id)
        if (s.items[id])
            s.items[id]->textWidth = 0;
    for (int c = 1; c < s.columnCount; ++c)
        for (unsigned id = 1; id < s.capacity; ++id)
            s.columns[c].cells[id].textWidth = 0;
}

void UpdateRowHeight(TreeListState& s)
{
    if (!s.rowHeightSet) {
        const Metrics& m = s.metrics;
        int height = m.minRowHeight;
        if (s.stateImages && s.stateImageHeight + m.rowPad > height)
            height = s.stateImageHeight + m.rowPad;
        if (s.images && s.imageHeight + m.rowPad > height)
            height = s.imageHeight + m.rowPad;
        if (s.textHeight + m.rowPad > height)
            height = s.textHeight + m.rowPad;
        if (s.exStyle & TVS_EX_GRIDLINES_TL)
            height += m.line;
        if ((s.style & TVS_NONEVENHEIGHT) && (height & 1))
            ++height;
        s.rowHeight = height;
    }
    UpdateRowsFit(s);
}

int SetRowHeight(TreeListState& s, int height)
{
    int old = s.rowHeight;
    if (height == -1) {
        s.rowHeightSet = false;
        UpdateRowHeight(s);
        return old;
    }
    if (height < 1)
        height = 1;
    if (height > s.metrics.maxRowHeight)
        height = s.metrics.maxRowHeight;
    if ((height & 1) && height > 1 && !(s.exStyle & TVS_EX_EVENHEIGHT_TL))
        --height;
    s.rowHeight = height;
    s.rowHeightSet = true;
    UpdateRowsFit(s);
    return old;
}

bool CreateCheckBoxImages(TreeListState& s)
{
    const int size = s.metrics.checkBox;
    velutils::ImageListHandle list(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 3, 0));
    if (!list)
        return false;
    WindowDc screen(s.hwnd);
    velutils::MemoryDc dc(CreateCompatibleDC(screen.Get()));
    velutils::BitmapHandle bitmap(CreateCompatibleBitmap(screen.Get(), size * 3, size));
    if (!dc || !bitmap)
        return false;
    {
        SelectScope select(dc.Get(), bitmap.Get());
        RECT all = { 0, 0, size * 3, size };
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(dc.Get(), &all, magenta);
        DeleteObject(magenta);
        DrawCheckBox(dc.Get(), size, size, s.metrics.line, 0);
        DrawCheckBox(dc.Get(), size * 2, size, s.metrics.line, DFCS_CHECKED);
    }
    ImageList_AddMasked(list.Get(), bitmap.Get(), RGB(255, 0, 255));
    s.ownStateImages = std::move(list);
    SetImageList(s, TVSIL_STATE, s.ownStateImages.Get());
    return true;
}

HIMAGELIST SetImageList(TreeListState& s, int which, HIMAGELIST list)
{
    int cx = 0;
    int cy = 0;
    if (list)
        ImageList_GetIconSize(list, &cx, &cy);
    HIMAGELIST handedBack = nullptr;
    if (which == TVSIL_STATE) {
        bool ownOld = s.ownStateImages && s.stateImages == s.ownStateImages.Get();
        handedBack = ownOld ? nullptr : s.stateImages;
        if (s.ownStateImages && s.ownStateImages.Get() != list)
            s.ownStateImages.Reset();
        s.stateImages = list;
        s.stateImageWidth = cx;
        s.stateImageHeight = cy;
    } else {
        handedBack = s.images.Release();
        s.images.Reset(list);
        s.imageWidth = cx;
        s.imageHeight = cy;
        if (s.header)
            SendMessageA(s.header.Get(), HDM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    }
    UpdateRowHeight(s);
    return handedBack;
}

void UpdateRowsFit(TreeListState& s)
{
    int area = s.clientHeight - s.headerHeight;
    if (area < 0)
        area = 0;
    int height = s.rowHeight > 0 ? s.rowHeight : 1;
    s.rowsFit = area / height;
    s.rowsFitPartial = (area + height - 1) / height;
}

}  // namespace treelist
