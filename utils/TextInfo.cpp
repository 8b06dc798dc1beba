#include "utils/TextInfo.h"

namespace velutils {

_TextInfo::_TextInfo(const std::string& text, const _FontInf& font, COLORREF colour)
    : text(text), font(font), colour(colour)
{
}

}  // namespace velutils
