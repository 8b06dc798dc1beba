// What the program shows at each screen scale the tests run: the sizes of 96 DPI and the
// same sizes at 120, 144 and 192 DPI, written out.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "tests/app/dpi/ScaledRun.h"

struct Scale {
    UINT dpi;
    LONG fontHeight, fontWidth;        // the tree's font
    int propertyColumn, valueColumn;   // the tree's columns
    int smallIcon, bigIcon;            // what the system asks for
    int buttonWidth, buttonHeight;     // the message box's buttons
};

const Scale kScales[] = {
    { 96, 16, 8, 300, 200, 16, 32, 75, 25 },
    { 120, 20, 10, 375, 250, 20, 40, 94, 31 },
    { 144, 24, 12, 450, 300, 24, 48, 113, 38 },
    { 192, 32, 16, 600, 400, 32, 64, 150, 50 },
};

// The parameters whose names the 300 pixels of the first column cut at 96 DPI (the
// operator widens it); at no scale may more be cut.
const std::vector<std::string> kCutAt96 = { "Szinkronizációs időtúllépési határ", "Kliens állapot lekérdezési időhatár",
                                            "Párhuzamos kapcsolatok max. száma" };

