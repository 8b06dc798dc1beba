// Failure of a utility map: always code 8.
#pragma once
#include "utils/VelExceptBase.h"

class VelMapExcept : public VelExceptBase {
public:
    VelMapExcept() : VelExceptBase(8) {}
    ~VelMapExcept() override = default;
};
