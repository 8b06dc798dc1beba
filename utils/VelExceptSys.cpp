#include "utils/VelExceptSys.h"

#include "utils/ErrorText.h"
#include "utils/TextFormat.h"

VelExceptSys::VelExceptSys(int code, const ErrPos& pos, const StrVector& args, const char* supplement)
    : VelExceptBaseArg(code, pos, args, supplement) {}

VelExceptSys::VelExceptSys(int code, const StrVector& args, const char* supplement)
    : VelExceptBaseArg(code, args, supplement) {}

VelExceptSys::~VelExceptSys() = default;

const char* VelExceptSys::GetErrText(const std::string& language) const
{
    if (!Text.empty())
        return Text.c_str();
    const DWORD code = static_cast<DWORD>(ErrCode);
    DWORD failure = ERROR_SUCCESS;
    if (velutils::SystemMessageText(code, language, Text, failure))
        return Text.c_str();
    if (failure != code) {
        // Show why the lookup failed, and name the code that was looked up.
        DWORD failure2 = ERROR_SUCCESS;
        std::string failureText;
        if (velutils::SystemMessageText(failure, language, failureText, failure2)) {
            // That text's own inserts (%1, %2) are not ours: escaped, they stay as
            // written and the note goes to the tail.
            Text.clear();
            for (char c : failureText)
                Text += (c == '%') ? "%%" : std::string(1, c);
            Args.Append(velutils::FormatBounded(260, "Original error code: %d", ErrCode));
            return Text.c_str();
        }
        Text = velutils::FormatBounded(260, "System-error. Last error code: %d, original error code: %lu",
                                       ErrCode, failure);
        Args.clear();
        return Text.c_str();
    }
    Text = velutils::FormatBounded(260, "System-error. Last ErrCode: %d", ErrCode);
    return Text.c_str();
}
