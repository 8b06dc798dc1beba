// A status of the database client library other than success, or a socket error
// (stored as -10000 - the WSA code).
#pragma once
#include "utils/VelExceptBaseArg.h"

class DbDescError : public VelExceptBaseArg {
public:
    using VelExceptBaseArg::VelExceptBaseArg;
    ~DbDescError() override;
    bool IsFatal() const override;
    const char* GetErrText(const std::string& language) const override;

private:
    const char* SocketErrText(const std::string& language) const;
};
