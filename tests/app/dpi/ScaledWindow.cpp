#include "tests/app/dpi/ScaledWindow.h"

#include <commctrl.h>

#include <cstring>

#include "tests/catalog/CatalogueFile.h"
#include "treelist/TreeListMessages.h"
#include "utils/UniqueHandle.h"

namespace {

CatalogueFile Catalogue()
{
    CatalogueFile catalogue;
    catalogue.Library(1, "naplo.dll");
    catalogue.Function(10, 1, "Mentes");
    catalogue.Function(11, 1, "Visszatoltes");
    return catalogue;
}

// The text's size in the window's font.
SIZE TextSize(HWND window, const std::string& text)
{
    velutils::MemoryDc dc(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc.Get(), &metrics);
    SelectObject(dc.Get(), old);
    return SIZE{ size.cx, metrics.tmHeight };
}

}  // namespace

ScaledWindow::ScaledWindow()
    : m_started(m_server.StartFile(Catalogue().Write(m_data.FilePath("PROBA.xml")))),
      m_settings("PROBA", m_server.PipeName()),
      m_window(std::make_unique<ControlWindowDriver>(std::vector<std::string>{ "proba" }))
{
}

std::pair<LONG, LONG> ScaledWindow::TreeFont()
{
    LOGFONTA font = {};
    GetObjectA(reinterpret_cast<HGDIOBJ>(SendMessageA(Dlg().m_tree.GetSafeHwnd(), WM_GETFONT, 0, 0)), sizeof font, &font);
    return { font.lfHeight, font.lfWidth };
}

std::vector<int> ScaledWindow::ColumnWidths()
{
    HWND tree = Dlg().m_tree.GetSafeHwnd();
    std::vector<int> widths;
    const int count = static_cast<int>(SendMessageA(tree, TVM_GETCOLUMNCOUNT, 0, 0));
    for (int column = 0; column < count; ++column) {
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        SendMessageA(tree, TVM_GETCOLUMN, column, reinterpret_cast<LPARAM>(&item));
        widths.push_back(item.cxy);
    }
    return widths;
}

std::pair<int, int> ScaledWindow::WindowIconSides()
{
    return { IconOf(reinterpret_cast<HICON>(SendMessageA(Hwnd(), WM_GETICON, ICON_BIG, 0))).first,
             IconOf(reinterpret_cast<HICON>(SendMessageA(Hwnd(), WM_GETICON, ICON_SMALL, 0))).first };
}

std::vector<std::string> ScaledWindow::Headings()
{
    std::vector<std::string> headings;
    HWND header = reinterpret_cast<HWND>(SendMessageA(Dlg().m_tree.GetSafeHwnd(), TVM_GETHEADER, 0, 0));
    RECT area = {};
    GetClientRect(header, &area);
    const int edges = 6 * GetSystemMetrics(SM_CXEDGE);      // the header's margins beside a heading
    for (int column = 0; column < Header_GetItemCount(header); ++column) {
        char text[64] = "";
        HDITEMA item = {};
        item.mask = HDI_TEXT | HDI_WIDTH;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        Header_GetItem(header, column, &item);
        const SIZE needed = TextSize(header, text);
        const bool cut = needed.cx + edges > item.cxy || needed.cy > area.bottom;
        headings.push_back(text + std::string(cut ? " (cut)" : ""));
    }
    return headings;
}

std::vector<std::string> ScaledWindow::CutLabels()
{
    std::vector<std::string> cut;
    HWND tree = Dlg().m_tree.GetSafeHwnd();
    const int firstColumn = ColumnWidths().front();
    Dlg().RunOnUi([&] {
        for (LPARAM row = 0; HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETROWITEM, 0, row));
             ++row) {
            RECT label = {};
            memcpy(&label, &item, sizeof item);
            SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&label));
            const char* text = Dlg().m_tree.GetItemText(item, 0);
            const SIZE needed = TextSize(tree, text ? text : "");
            // The tree draws a label 2 pixels in from its left and from the column's end.
            if (label.left + 2 + needed.cx + 2 > firstColumn || label.bottom - label.top < needed.cy)
                cut.push_back(text ? text : "");
        }
    });
    return cut;
}

// Partly transparent pixels (the soft edges of the artwork) exist only in images with an
// alpha channel.
std::pair<int, bool> ScaledWindow::IconOf(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return { 0, false };
    velutils::BitmapHandle colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap = {};
    GetObjectA(colour ? colour.Get() : mask.Get(), sizeof bitmap, &bitmap);
    std::pair<int, bool> found = { bitmap.bmWidth, false };
    if (!colour)
        return found;
    BITMAPINFO format = {};
    format.bmiHeader = { sizeof format.bmiHeader, bitmap.bmWidth, -bitmap.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0 };
    std::vector<RGBQUAD> pixels(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight);
    velutils::MemoryDc dc(CreateCompatibleDC(nullptr));
    const int rows = GetDIBits(dc.Get(), colour.Get(), 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    for (const RGBQUAD& pixel : pixels)
        found.second = found.second || (rows > 0 && pixel.rgbReserved > 0 && pixel.rgbReserved < 255);
    return found;
}
