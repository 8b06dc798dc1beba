#include "treelist/WindowDpi.h"

#include "treelist/Appearance.h"
#include "treelist/LabelEditor.h"
#include "treelist/Scrolling.h"
#include "utils/DpiScale.h"

namespace treelist {

UINT WindowDpi(HWND hwnd)
{
    return velutils::DpiScale::OfWindow(hwnd).Dpi();
}

int HeaderHeightAtDpi(const TreeListState& s)
{
    const velutils::DpiScale scale(s.dpi);
    return scale == velutils::DpiScale::OfSystem() ? GetSystemMetrics(SM_CYMENU) : scale.SystemMetric(SM_CYMENU);
}

void ApplyDpiAndFont(TreeListState& s, UINT dpi, HFONT font, bool redraw)
{
    // The fonts made for the old DPI go once the header and the editor have the new ones.
    velutils::FontHandle oldFont;
    velutils::FontHandle oldBoldFont;
    const bool newDpi = dpi != s.dpi;
    if (newDpi) {
        s.dpi = dpi;
        s.metrics = Metrics::AtDpi(dpi);
        if (!s.indentSet)
            s.indent = s.metrics.defaultIndent;
        oldFont = std::move(s.dpiFont);
        oldBoldFont = std::move(s.dpiBoldFont);
        if (s.ownStateImages && s.stateImages == s.ownStateImages.Get())
            CreateCheckBoxImages(s);
    }
    SetControlFont(s, font);
    if (s.header) {
        s.headerHeight = HeaderHeightAtDpi(s);
        SendMessageA(s.header.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(s.font), redraw || newDpi);
        PlaceHeader(s);
        UpdateRowsFit(s);
    }
    RefitEditor(s);
    s.scrollBarsDirty = true;
    if (redraw || newDpi)
        InvalidateRect(s.hwnd, nullptr, FALSE);
}

}  // namespace treelist
