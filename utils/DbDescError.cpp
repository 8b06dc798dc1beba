#include "utils/DbDescError.h"

#include "utils/ErrorText.h"
#include "utils/TextFormat.h"

namespace {

const int kSocketBase = -10000;

bool IsFatalLibraryStatus(int code)
{
    // The statuses after which the connection cannot go on.
    static const int fatal[][2] = {
        { 10001, 10001 }, { 10003, 10004 }, { 10006, 10018 }, { 10021, 10037 },
        { 10039, 10039 }, { 10042, 10053 }, { 10055, 10055 }, { 10057, 10057 },
        { 10065, 10065 }, { 10070, 10070 },
    };
    for (const auto& range : fatal)
        if (code >= range[0] && code <= range[1])
            return true;
    return false;
}

}  // namespace

DbDescError::~DbDescError() = default;

bool DbDescError::IsFatal() const
{
    if (ErrCode == 0)
        return false;
    if (ErrCode < 10000 || ErrCode > 10073)
        return true;
    return IsFatalLibraryStatus(ErrCode);
}

const char* DbDescError::GetErrText(const std::string& language) const
{
    if (!Text.empty())
        return Text.c_str();
    if (ErrCode < -20000)
        return SocketErrText(language);
    unsigned id = 23044;
    if (ErrCode >= 10000 && ErrCode <= 10073)
        id = ErrCode + 13000;
    else if (ErrCode >= 2000 && ErrCode <= 2045)
        id = ErrCode + 20000;
    Text = velutils::LoadResText(id, "", OwnModule(), false, false, language);
    // A server status without a text of its own gets the general one.
    if (Text.empty() && id != 23044 && (ErrCode < 2000 || ErrCode > 2045))
        Text = velutils::LoadResText(23044, "", OwnModule(), false, false, language);
    if (Text.empty())
        return ComposeBaseText(language);
    return Text.c_str();
}

const char* DbDescError::SocketErrText(const std::string& language) const
{
    int wsa = kSocketBase - ErrCode;
    std::string label = velutils::LoadResText(24051, "ErrCode:", OwnModule(), false, false, language);
    std::string system;
    DWORD failure = ERROR_SUCCESS;
    if (velutils::SystemMessageText(static_cast<DWORD>(wsa), language, system, failure) && !system.empty())
        Text = velutils::FormatBounded(512, "%s%s WSA-%i.", system.c_str(), label.c_str(), wsa);
    else
        Text = velutils::FormatBounded(512, "Unknown WSA error! %s WSA-%i.", label.c_str(), wsa);
    return Text.c_str();
}
