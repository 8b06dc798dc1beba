// Failures of file operations: codes 700-749 have the texts 20700-20749.
#pragma once
#include "utils/VelExceptBaseArg.h"

class VelFileExcept : public VelExceptBaseArg {
public:
    VelFileExcept(int code, const ErrPos& pos, const StrVector& args, const char* supplement = nullptr)
        : VelExceptBaseArg(code, pos, args, supplement) {}
    VelFileExcept(int code, const StrVector& args, const char* supplement = nullptr)
        : VelExceptBaseArg(code, args, supplement) {}
    ~VelFileExcept() override = default;
    Range GetPrimaryRange() const override { return Range(700, 749); }
    unsigned short GetPrimaryTextBase() const override { return 20700; }
};
