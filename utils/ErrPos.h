// Where an exception was thrown.
#pragma once
#include <string>

struct ErrPos {
    std::string File;      // empty: the exception carries no position
    std::string Function;  // "NULL" where the thrower has no name for it
    int Line = 0;

    ErrPos() = default;
    ErrPos(const char* file, const char* function, int line)
        : File(file ? file : ""), Function(function ? function : ""), Line(line) {}
};

// The position of the throw site, with the function name the caller gives.
#define VEL_ERRPOS(function) ErrPos(__FILE__, (function), __LINE__)
