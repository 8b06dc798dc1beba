// Each screen scale in a process of its own: this program is started again at 96, 120,
// 144 and 192 DPI and runs the TreeListAtDpi tests there.
#include <gtest/gtest.h>

#include "tests/app/dpi/ScaledRun.h"

TEST(TreeListScaledRuns, EachDpiScalesTheControlAndCutsNoText)
{
    const std::set<std::string> tests = { "TreeListAtDpi.SizesFollowTheDpiOfTheProcess",
                                          "TreeListAtDpi.ToldOfAnotherDpiItRescalesAndKeepsItsTree" };
    for (UINT dpi : { 96u, 120u, 144u, 192u })
        ScaledRun::Start(dpi, "TreeListAtDpi.*").ExpectRan(dpi, tests);
}
