// Whether a control shows its text whole, measured against the control rather than by
// eye: an edit control's lines break only between words and all fit its formatting
// rectangle (or it scrolls); a static or button text fits the control's client area.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The lines an edit control makes of its text, as it wraps them.
std::vector<std::string> EditLines(HWND edit);

::testing::AssertionResult ShowsWhole(HWND edit);
::testing::AssertionResult FitsItsControl(HWND control);
