// One text of the message box with its font and the colour of the field behind it.
#pragma once
#include <windows.h>

#include <string>

#include "utils/FontInf.h"

namespace velutils {

class _TextInfo {
public:
    static const COLORREF DefaultColour = 0xFF000000;

    explicit _TextInfo(const std::string& text = std::string(), const _FontInf& font = _FontInf(),
                       COLORREF colour = DefaultColour);
    _TextInfo(const _TextInfo&) = default;
    _TextInfo& operator=(const _TextInfo&) = default;
    virtual ~_TextInfo() = default;

    std::string text;
    _FontInf font;
    COLORREF colour;                // background of the text; DefaultColour keeps the dialog's
};

}  // namespace velutils
