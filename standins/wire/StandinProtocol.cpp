#include "standins/wire/StandinProtocol.h"

#include <cstring>

namespace standin {

namespace {

const char* const kNames[] = {
#define STANDIN_NAME(name) #name,
    STANDIN_ENTRIES(STANDIN_NAME)
#undef STANDIN_NAME
};

}  // namespace

const char* EntryName(int entry)
{
    return entry >= 0 && entry < EntryCount ? kNames[entry] : nullptr;
}

int EntryByName(const char* name)
{
    for (int i = 0; i < EntryCount; ++i) {
        if (strcmp(kNames[i], name) == 0)
            return i;
    }
    return EntryCount;
}

std::string SettingsText(const void* settings, int offset)
{
    const char* at = static_cast<const char*>(settings) + offset;
    return std::string(at, strnlen(at, kSettingsTextSize));
}

}  // namespace standin
