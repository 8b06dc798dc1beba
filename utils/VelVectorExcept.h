// Failure of a utility vector: always code 17.
#pragma once
#include "utils/VelExceptBase.h"

class VelVectorExcept : public VelExceptBase {
public:
    VelVectorExcept() : VelExceptBase(17) {}
    ~VelVectorExcept() override = default;
};
