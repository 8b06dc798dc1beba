#include "treelist/SharedGdi.h"

#include "utils/UniqueHandle.h"

namespace treelist {

namespace {

LONG g_refs = 0;
velutils::PenHandle g_pen;
velutils::FontHandle g_font;
velutils::FontHandle g_boldFont;

HPEN MakeLinePen()
{
    LOGBRUSH brush = { BS_SOLID, GetSysColor(COLOR_BTNSHADOW), 0 };
    HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
    return pen ? pen : CreatePen(PS_DOT, 1, GetSysColor(COLOR_BTNSHADOW));
}

void MakeFonts()
{
    LOGFONTA lf = {};
    if (!SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0)) {
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    }
    lf.lfWeight = FW_NORMAL;
    g_font.Reset(CreateFontIndirectA(&lf));
    lf.lfWeight = FW_BOLD;
    g_boldFont.Reset(CreateFontIndirectA(&lf));
}

}  // namespace

void AddSharedGdiRef()
{
    if (InterlockedIncrement(&g_refs) == 1) {
        g_pen.Reset(MakeLinePen());
        MakeFonts();
    }
}

void ReleaseSharedGdiRef()
{
    if (InterlockedDecrement(&g_refs) == 0) {
        g_pen.Reset();
        g_font.Reset();
        g_boldFont.Reset();
    }
}

HPEN SharedLinePen()
{
    return g_pen.Get();
}

HFONT SharedFont()
{
    return g_font.Get() ? g_font.Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HFONT SharedBoldFont()
{
    return g_boldFont.Get() ? g_boldFont.Get() : SharedFont();
}

}  // namespace treelist
