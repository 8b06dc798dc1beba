// Failures of date and time conversions: codes 650-699 have the texts 20650-20699.
#pragma once
#include "utils/VelExceptBaseArg.h"

namespace velDate {

class VelExceptDateTime : public VelExceptBaseArg {
public:
    using VelExceptBaseArg::VelExceptBaseArg;
    ~VelExceptDateTime() override = default;
    Range GetPrimaryRange() const override { return Range(650, 699); }
    unsigned short GetPrimaryTextBase() const override { return 20650; }
};

}  // namespace velDate
