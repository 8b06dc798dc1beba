#include "utils/FileVersion.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

bool FileVersion::Read(const char* fileName)
{
    memset(&major, 0xFF, sizeof major);
    memset(&minor, 0xFF, sizeof minor);
    memset(&build, 0xFF, sizeof build);
    memset(&revision, 0xFF, sizeof revision);
    if (!fileName || !*fileName)
        return false;
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(fileName, &ignored);
    if (size == 0)
        return false;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoA(fileName, 0, size, data.data()))
        return false;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed || length == 0)
        return false;
    major = HIWORD(fixed->dwFileVersionMS);
    minor = LOWORD(fixed->dwFileVersionMS);
    build = HIWORD(fixed->dwFileVersionLS);
    revision = LOWORD(fixed->dwFileVersionLS);
    return true;
}

std::string FileVersion::ToString() const
{
    char text[64];
    snprintf(text, sizeof text, "%i.%i.%i.%i.", static_cast<int>(major), static_cast<int>(minor),
             static_cast<int>(build), static_cast<int>(revision));
    return text;
}
