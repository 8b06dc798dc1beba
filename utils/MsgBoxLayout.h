// Places the message box's icon, texts and buttons at the box's DPI. The texts are
// measured word-wrapped and the box grows to show them whole, up to the work area of its
// monitor; past that the detail scrolls. Heights follow the lines the edit controls
// themselves make, so that what they show is never cut.
#pragma once
#include <windows.h>

#include <vector>

#include "utils/DpiScale.h"

namespace velutils {

class MsgBoxLayout {
public:
    // Sizes in pixels at 96 DPI.
    struct Spacing {
        int marginText;       // around a text inside its field
        int marginBorder;     // between the dialog's edge and its content
        int marginBottom;     // added below the buttons
        int spacingBlock;     // between icon, texts and the button row
        int spacingButton;    // between two buttons
        SIZE button;
    };

    MsgBoxLayout(HWND dialog, HWND parent, const Spacing& spacing, DpiScale scale);

    // Places icon (`iconSide` 0: none), main text, detail (`detail` false: hidden) and
    // the buttons in their order; returns the window's rectangle on the screen.
    RECT Place(int iconSide, bool detail, const std::vector<HWND>& buttons);

    // The box's rectangle moved to `left`, `top`, as far as the work area lets it.
    RECT Keep(const RECT& box, int left, int top) const;

    // The monitor the box belongs on: its parent's when that is shown, else its own.
    static HMONITOR MonitorOf(HWND dialog, HWND parent);

private:
    int Px(int pixels) const { return m_scale.Scale(pixels); }
    int FieldWidth(int textLeft, bool detail) const;
    int TextHeight(HWND edit, int width, int minimum) const;
    int DetailHeight(HWND edit, int width, int available, bool& scrolls) const;
    void PlaceButtons(const std::vector<HWND>& buttons, int top, int clientWidth) const;
    RECT WindowRect(int clientWidth, int clientHeight) const;

    HWND m_dialog;
    HWND m_parent;
    Spacing m_spacing;
    DpiScale m_scale;
    RECT m_work;          // the work area of the box's monitor
    SIZE m_frame;         // the box's window size beyond its client area
};

}  // namespace velutils
