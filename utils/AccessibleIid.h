// The interface id of IAccessible. Defined here: with MinGW, IID_IAccessible of the
// oleacc import library binds to an import stub, and queries for it fail.
#pragma once
#include <windows.h>

namespace velutils {

inline const IID kIidAccessible = { 0x618736e0, 0x3c3d, 0x11cf, { 0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71 } };

}  // namespace velutils
