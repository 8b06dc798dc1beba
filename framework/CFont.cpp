#include "framework/CFont.h"

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet,
                       BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                       BYTE pitchAndFamily, LPCSTR faceName)
{
    m_font.Reset(::CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                               strikeOut, charSet, outPrecision, clipPrecision, quality,
                               pitchAndFamily, faceName));
    return m_font ? TRUE : FALSE;
}

BOOL CFont::CreateFontIndirect(const LOGFONTA& logFont)
{
    m_font.Reset(::CreateFontIndirectA(&logFont));
    return m_font ? TRUE : FALSE;
}

BOOL CFont::DeleteObject()
{
    BOOL had = m_font ? TRUE : FALSE;
    m_font.Reset();
    return had;
}
