// Failures of database transactions.
#pragma once
#include "utils/VelExceptBaseArg.h"

class VelExceptTrans : public VelExceptBaseArg {
public:
    using VelExceptBaseArg::VelExceptBaseArg;
    ~VelExceptTrans() override = default;
};
