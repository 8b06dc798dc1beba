// What a piece of work threw: its code (0 when nothing was thrown), first argument and text.
#pragma once
#include <functional>
#include <string>

#include "utils/DbDescError.h"

struct Thrown {
    int code = 0;
    std::string arg;
    std::string what;
};

inline Thrown ThrownBy(const std::function<void()>& work)
{
    Thrown thrown;
    try {
        work();
    } catch (DbDescError& e) {
        thrown.code = e.GetErrCode();
        thrown.arg = e.GetArgs().empty() ? "" : e.GetArgs()[0];
        thrown.what = e.what();
    }
    return thrown;
}

inline int ErrorCode(const std::function<void()>& work) { return ThrownBy(work).code; }
