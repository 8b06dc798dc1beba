// A GDI font owned by its object.
#pragma once
#include <windows.h>

#include "utils/UniqueHandle.h"

class CFont {
public:
    BOOL CreateFont(int height, int width, int escapement, int orientation, int weight,
                    BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                    BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                    BYTE pitchAndFamily, LPCSTR faceName);
    BOOL CreateFontIndirect(const LOGFONTA& logFont);
    BOOL DeleteObject();
    HFONT GetSafeHandle() const { return m_font.Get(); }
    operator HFONT() const { return m_font.Get(); }

private:
    velutils::FontHandle m_font;
};
