#include "treelist/SharedGdi.h"

#include <cstddef>
#include <cstring>

#include "utils/DpiScale.h"

namespace treelist {

namespace {

// Windows 10 (1607) on; it gives the font as LOGFONTW.
using SystemParametersInfoForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

LONG g_refs = 0;
velutils::PenHandle g_pen;
velutils::FontHandle g_font;
velutils::FontHandle g_boldFont;
UINT g_fontDpi = velutils::DpiScale::kBaseDpi;

HPEN MakeLinePen()
{
    LOGBRUSH brush = { BS_SOLID, GetSysColor(COLOR_BTNSHADOW), 0 };
    HPEN pen = ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &brush, 0, nullptr);
    return pen ? pen : CreatePen(PS_DOT, 1, GetSysColor(COLOR_BTNSHADOW));
}

LOGFONTA SystemIconTitleFont()
{
    LOGFONTA lf = {};
    if (!SystemParametersInfoA(SPI_GETICONTITLELOGFONT, sizeof(lf), &lf, 0)) {
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    }
    return lf;
}

bool IconTitleFontForDpi(UINT dpi, LOGFONTA& lf)
{
    static const auto forDpi = reinterpret_cast<SystemParametersInfoForDpiFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SystemParametersInfoForDpi")));
    LOGFONTW wide = {};
    if (!forDpi || !forDpi(SPI_GETICONTITLELOGFONT, sizeof(wide), &wide, 0, dpi))
        return false;
    static_assert(offsetof(LOGFONTW, lfFaceName) == offsetof(LOGFONTA, lfFaceName), "the same fields first");
    memcpy(&lf, &wide, offsetof(LOGFONTA, lfFaceName));
    WideCharToMultiByte(CP_ACP, 0, wide.lfFaceName, -1, lf.lfFaceName, LF_FACESIZE, nullptr, nullptr);
    lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return true;
}

void MakeFontPair(LOGFONTA lf, velutils::FontHandle& normal, velutils::FontHandle& bold)
{
    lf.lfWeight = FW_NORMAL;
    normal.Reset(CreateFontIndirectA(&lf));
    lf.lfWeight = FW_BOLD;
    bold.Reset(CreateFontIndirectA(&lf));
}

}  // namespace

void AddSharedGdiRef()
{
    if (InterlockedIncrement(&g_refs) == 1) {
        g_pen.Reset(MakeLinePen());
        g_fontDpi = velutils::DpiScale::OfSystem().Dpi();
        MakeFontPair(SystemIconTitleFont(), g_font, g_boldFont);
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

UINT SharedFontDpi()
{
    return g_fontDpi;
}

void MakeFontsAtDpi(UINT dpi, velutils::FontHandle& normal, velutils::FontHandle& bold)
{
    LOGFONTA lf = {};
    if (!IconTitleFontForDpi(dpi, lf)) {
        // Older Windows: the system's font, scaled as the system scales.
        lf = SystemIconTitleFont();
        const velutils::DpiScale scale(dpi);
        lf.lfHeight = scale.ScaleFrom(lf.lfHeight, velutils::DpiScale::OfSystem().Dpi());
        lf.lfWidth = scale.ScaleFrom(lf.lfWidth, velutils::DpiScale::OfSystem().Dpi());
    }
    MakeFontPair(lf, normal, bold);
}

}  // namespace treelist
