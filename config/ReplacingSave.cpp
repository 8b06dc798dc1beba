#include "config/ReplacingSave.h"

#include <windows.h>

#include <cstdio>
#include <io.h>
#include <tinyxml.h>

namespace {

std::string DirectoryOf(const std::string& path)
{
    size_t end = path.find_last_of("\\/:");
    if (end == std::string::npos)
        return ".";
    return path.substr(0, end + 1);
}

// The document as TinyXML itself saves it (text mode), flushed to the disk.
bool WriteDocument(const TiXmlDocument& document, const std::string& path)
{
    FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return false;
    bool written = document.SaveFile(file) && std::fflush(file) == 0
        && FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file))));
    bool closed = std::fclose(file) == 0;
    return written && closed;
}

}  // namespace

bool SaveDocumentReplacing(const TiXmlDocument& document, const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // Windows refuses to replace a read-only file; not every platform that runs us
    // does (Wine as root), so it is checked here.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return false;

    char temporary[MAX_PATH] = "";
    if (!GetTempFileNameA(DirectoryOf(path).c_str(), "vel", 0, temporary))
        return false;
    bool replaced = WriteDocument(document, temporary)
        && SetFileAttributesA(temporary, attributes)
        && MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced)
        DeleteFileA(temporary);
    return replaced;
}
