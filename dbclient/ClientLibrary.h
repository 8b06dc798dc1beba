// Signatures of the client library's entries that the program calls. Every entry
// returns a status: 0 is success.
#pragma once
#include <windows.h>

namespace veldbcli {

// Writes the largest number of clients the server admits at the same time. Needs no
// connection.
using GetMaxuserFn = int(WINAPI*)(int* maxUsers);

}  // namespace veldbcli
