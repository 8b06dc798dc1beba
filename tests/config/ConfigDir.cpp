#include "ConfigDir.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "utils/UniqueHandle.h"

ConfigDir::ConfigDir()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    static int counter = 0;
    m_path = std::string(temp) + "velcfg_" + std::to_string(GetCurrentProcessId()) + "_"
        + std::to_string(++counter) + "\\";
    // A run killed earlier under a process id used again may have left this directory.
    RemoveContents();
    CreateDirectoryA(m_path.c_str(), nullptr);
}

ConfigDir::~ConfigDir()
{
    RemoveContents();
    RemoveDirectoryA(m_path.c_str());
}

void ConfigDir::RemoveContents() const
{
    for (const std::string& name : Names()) {
        std::string path = m_path + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(path.c_str()))
            RemoveDirectoryA(path.c_str());
    }
}

void ConfigDir::Write(const std::string& bytes, const char* name) const
{
    std::ofstream(FilePath(name), std::ios::binary | std::ios::trunc) << bytes;
}

std::string ConfigDir::Read(const char* name) const
{
    std::ifstream in(FilePath(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> ConfigDir::Names() const
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    velutils::FindHandle search(FindFirstFileA((m_path + "*").c_str(), &found));
    if (!search)
        return names;
    do {
        std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search.Get(), &found));
    std::sort(names.begin(), names.end());
    return names;
}
