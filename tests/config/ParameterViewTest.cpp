// "debuglog" as the parameter view shows it: the value's leading number read as a bit mask.
#include <gtest/gtest.h>

#include "config/ParameterView.h"

TEST(ParameterView, DebugLogLevelsFromTheLeadingNumber)
{
    const std::string all = "[all][append/update/delete][tranasactions][logon/logoff] [select][params][cursor]"
                            "[lock][ddl][performance]";
    const std::pair<const char*, std::string> cases[] = {
        { "0", "[no]" }, { "3", "[all][append/update/delete]" }, { "8", "[logon/logoff] " }, { "1024", "" },
        { " +5x", "[all][tranasactions]" }, { "abc", "[no]" }, { "", "[no]" }, { "-1", all },
        { "99999999999999999999999", all },   // saturates instead of wrapping
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, ParameterView::DebugLogText(ParameterView::LeadingNumber(c.first))) << c.first;
}
