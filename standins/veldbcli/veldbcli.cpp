// Stand-in for the server's client library, for the tests and the demo. It exports its
// entries under the library's decorated names (see CMakeLists.txt).
#include <windows.h>

#include <cstdlib>

namespace {

const int kStatusFailed = 10001;
const int kMaxUsers = 50;

}  // namespace

// The number can be set through the environment so that tests see it come through.
extern "C" int WINAPI GetMaxuser(int* maxUsers)
{
    if (!maxUsers)
        return kStatusFailed;
    char value[32] = "";
    *maxUsers = GetEnvironmentVariableA("VELDBCLI_MAXUSER", value, sizeof value) ? atoi(value) : kMaxUsers;
    return 0;
}
