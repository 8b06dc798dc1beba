// Each screen scale in a process of its own, as Wine reads the DPI (the registry's
// LogPixels) when a process starts: this program is started again at 96, 120, 144 and
// 192 DPI and runs the AtScale tests there. Its output shows which tests passed.
#include <gtest/gtest.h>

#include "tests/app/dpi/ScaleTable.h"
#include "tests/app/dpi/ScaledRun.h"

TEST(ScaledRuns, EachDpiShowsEveryTextWholeAtItsSizes)
{
    const std::set<std::string> tests = { "AtScale.ControlWindowTreeAndIconsFollowTheDpi",
                                          "AtScale.LoginAndWrongPasswordBoxShowEveryTextWhole" };
    for (const Scale& scale : kScales)
        ScaledRun::Start(scale.dpi, "AtScale.*").ExpectRan(scale.dpi, tests);
}
