#include "dbclient/ClientSettings.h"

void WipeClientSettings(ClientSettings& settings)
{
    // Through a volatile pointer, so the compiler keeps the stores.
    volatile char* p = settings.password;
    for (size_t i = 0; i < sizeof settings.password; ++i)
        p[i] = 0;
}

