#include "config/ReplacingSave.h"

#include <windows.h>

#include <vector>

#include "utils/UniqueHandle.h"

namespace {

std::string DirectoryOf(const std::string& path)
{
    size_t end = path.find_last_of("\\/:");
    if (end == std::string::npos)
        return ".";
    return path.substr(0, end + 1);
}

bool WriteAll(const std::string& path, const std::string& bytes)
{
    velutils::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    DWORD written = 0;
    return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)
        && written == bytes.size() && FlushFileBuffers(file.Get());
}

}  // namespace

ReplacingSave::ReplacingSave(const std::string& path) : m_path(path) {}

ReplacingSave::~ReplacingSave()
{
    if (!m_temporary.empty()) {
        SetFileAttributesA(m_temporary.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(m_temporary.c_str());
    }
}

bool ReplacingSave::Write(const std::string& bytes)
{
    DWORD attributes = GetFileAttributesA(m_path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    // Windows refuses to replace a read-only file; not every platform that runs us
    // does (Wine as root), so it is checked here.
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return false;
    // A file another program holds cannot be replaced; asked first, as ReplaceFile
    // may leave a file of its own behind when it fails (Wine does).
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    velutils::FileHandle replaceable(
        CreateFileA(m_path.c_str(), DELETE, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!replaceable)
        return false;
    m_attributes = attributes;

    char temporary[MAX_PATH] = "";
    if (!GetTempFileNameA(DirectoryOf(m_path).c_str(), "vel", 0, temporary))
        return false;
    m_temporary = temporary;
    return WriteAll(m_temporary, bytes);
}

bool ReplacingSave::ReadBack(std::string& bytes) const
{
    velutils::FileHandle file(CreateFileA(m_temporary.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7fffffff)
        return false;
    std::vector<char> buffer(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!buffer.empty() && (!ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)
                            || read != buffer.size()))
        return false;
    bytes.assign(buffer.begin(), buffer.end());
    return true;
}

// ReplaceFile keeps the old file's attributes and security on Windows; the attributes
// are given to the new file beforehand as well, for platforms that do not keep them.
bool ReplacingSave::Commit()
{
    if (m_temporary.empty() || !SetFileAttributesA(m_temporary.c_str(), m_attributes))
        return false;
    if (!ReplaceFileA(m_path.c_str(), m_temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return false;
    m_temporary.clear();
    return true;
}
