// An exception whose code is a Windows error code, with the system's text for it.
#pragma once
#include "utils/VelExceptBaseArg.h"

class VelExceptSys : public VelExceptBaseArg {
public:
    VelExceptSys(int code, const ErrPos& pos, const StrVector& args, const char* supplement = nullptr);
    VelExceptSys(int code, const StrVector& args, const char* supplement = nullptr);
    ~VelExceptSys() override;
    const char* GetErrText(const std::string& language) const override;
};
