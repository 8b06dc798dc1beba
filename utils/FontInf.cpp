#include "utils/FontInf.h"

namespace velutils {

_FontInf::_FontInf(const std::string& face, int size) : faceName(face), size(size) {}

_FontInf::_FontInf(const std::string& face, int size, unsigned long style, COLORREF colour, unsigned char charSet)
    : faceName(face), size(size), style(style), charSet(charSet), colour(colour)
{
}

bool _FontInf::operator==(const _FontInf& other) const
{
    return faceName == other.faceName && size == other.size;
}

bool _FontInf::KeepsDialogFont() const
{
    return faceName.empty() && size == 0 && style == KeepStyle && charSet == KeepCharSet;
}

FontHandle _FontInf::Create(HFONT dialogFont, UINT dpi) const
{
    if (KeepsDialogFont())
        return FontHandle();
    LOGFONTA font = {};
    HGDIOBJ base = dialogFont ? static_cast<HGDIOBJ>(dialogFont) : GetStockObject(DEFAULT_GUI_FONT);
    GetObjectA(base, sizeof font, &font);
    if (!faceName.empty())
        lstrcpynA(font.lfFaceName, faceName.c_str(), LF_FACESIZE);
    if (size != 0)
        font.lfHeight = -MulDiv(size, static_cast<int>(dpi), 72);
    if (style != KeepStyle) {
        font.lfWeight = (style & Bold) ? FW_BOLD : FW_NORMAL;
        font.lfItalic = (style & Italic) ? TRUE : FALSE;
        font.lfUnderline = (style & Underline) ? TRUE : FALSE;
        font.lfStrikeOut = (style & StrikeOut) ? TRUE : FALSE;
    }
    if (charSet != KeepCharSet)
        font.lfCharSet = charSet;
    return FontHandle(CreateFontIndirectA(&font));
}

}  // namespace velutils
