// A directory of its own for each test, with a velsrv.xml written byte for byte.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class ConfigDir {
public:
    ConfigDir();
    ~ConfigDir();
    ConfigDir(const ConfigDir&) = delete;
    ConfigDir& operator=(const ConfigDir&) = delete;

    // Ends in a backslash, as the server directory does.
    const std::string& Path() const { return m_path; }
    std::string FilePath(const char* name = "velsrv.xml") const { return m_path + name; }

    void Write(const std::string& bytes, const char* name = "velsrv.xml") const;
    std::string Read(const char* name = "velsrv.xml") const;
    // Every name in the directory, sorted.
    std::vector<std::string> Names() const;

private:
    void RemoveContents() const;

    std::string m_path;
};
