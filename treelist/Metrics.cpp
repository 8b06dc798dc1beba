#include "treelist/Metrics.h"

#include "utils/DpiScale.h"

namespace treelist {

namespace {

using Size = int Metrics::*;

const Size kSizes[] = {
    &Metrics::defaultIndent, &Metrics::minIndent, &Metrics::maxIndent, &Metrics::buttonCenter,
    &Metrics::buttonHalf, &Metrics::buttonHit, &Metrics::line, &Metrics::labelPad, &Metrics::labelExtra,
    &Metrics::centredTextHit, &Metrics::checkBox, &Metrics::minRowHeight, &Metrics::maxRowHeight,
    &Metrics::rowPad, &Metrics::scrollLine, &Metrics::minColumnWidth, &Metrics::bestWidthPad,
    &Metrics::editorPad, &Metrics::editorMinWidth, &Metrics::editorHeightPad, &Metrics::comboHeight,
    &Metrics::dragMaxWidth, &Metrics::dragMaxHeight, &Metrics::insertMark,
};
// A size added to Metrics and not listed here would stay at its 96 DPI value.
static_assert(sizeof(Metrics) == sizeof(kSizes) / sizeof(kSizes[0]) * sizeof(int), "every size is scaled");

}  // namespace

Metrics Metrics::AtDpi(UINT dpi)
{
    const velutils::DpiScale scale(dpi);
    Metrics m;
    for (Size size : kSizes)
        m.*size = scale.Scale(m.*size);
    return m;
}

}  // namespace treelist
