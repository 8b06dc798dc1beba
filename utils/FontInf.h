// The font of one text of the message box. Every field has a value that keeps the
// dialog font's own setting, so a default description changes nothing.
#pragma once
#include <windows.h>

#include <string>

#include "utils/UniqueHandle.h"

namespace velutils {

class _FontInf {
public:
    static const unsigned long KeepStyle = 0x400;
    static const unsigned char KeepCharSet = 0xFF;
    static const COLORREF DefaultColour = 0xFF000000;
    enum StyleFlags : unsigned long { Bold = 1, Italic = 2, Underline = 4, StrikeOut = 8 };

    _FontInf() = default;
    _FontInf(const std::string& face, int size);
    _FontInf(const std::string& face, int size, unsigned long style, COLORREF colour, unsigned char charSet);
    _FontInf(const _FontInf&) = default;
    _FontInf& operator=(const _FontInf&) = default;
    virtual ~_FontInf() = default;

    // Same face and size.
    bool operator==(const _FontInf& other) const;
    bool operator!=(const _FontInf& other) const { return !(*this == other); }

    // True when the description keeps every property of the dialog's font.
    bool KeepsDialogFont() const;

    // The dialog's font with this description's changes, or no font at all when it keeps
    // the dialog's font. `dpi` gives the logical pixels per inch of the size.
    FontHandle Create(HFONT dialogFont, UINT dpi) const;

    std::string faceName;
    int size = 0;                          // points; 0 keeps the dialog's size
    unsigned long style = KeepStyle;       // StyleFlags, or KeepStyle
    unsigned char charSet = KeepCharSet;
    COLORREF colour = DefaultColour;       // text colour
};

}  // namespace velutils
