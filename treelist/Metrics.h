// The pixel sizes of the control's parts, kept in one place. The values written here are
// the sizes at 96 DPI; a control uses them scaled to the DPI of its window (AtDpi).
#pragma once
#include <windows.h>

namespace treelist {

struct Metrics {
    int defaultIndent = 19;
    int minIndent = 5;          // TVM_SETINDENT's limits
    int maxIndent = 64;
    // The expand button: its centre from the left of the indent step, the half width of
    // its box, and how far around the centre a click hits it (-buttonHit .. buttonHit + 1).
    int buttonCenter = 7;
    int buttonHalf = 4;
    int buttonHit = 6;
    int line = 1;               // grid lines, tree lines, the button's frame and marks
    int labelPad = 2;           // text from the edges of its label or cell
    int labelExtra = 5;         // a label's width beyond its text
    int centredTextHit = 3;     // centred cell text: reach beyond half the text
    int checkBox = 16;
    int minRowHeight = 10;
    int maxRowHeight = 256;     // TVM_SETITEMHEIGHT's limit
    int rowPad = 2;             // row height beyond its tallest part
    int scrollLine = 16;        // horizontal scrolling by a line, and with Ctrl+Left/Right
    int minColumnWidth = 16;
    int bestWidthPad = 8;       // a column sized to its content
    int editorPad = 10;         // an editor's width beyond its text
    int editorMinWidth = 32;
    int editorHeightPad = 4;
    int comboHeight = 160;
    int dragMaxWidth = 240;
    int dragMaxHeight = 32;
    int insertMark = 2;

    // Every size at `dpi`, rounded as MulDiv rounds (the way the system scales).
    static Metrics AtDpi(UINT dpi);
};

}  // namespace treelist
