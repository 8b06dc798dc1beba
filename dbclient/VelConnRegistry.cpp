// The client settings in the registry, one key per database.
#include <windows.h>

#include <cstring>

#include "dbclient/DbDictionary.h"
#include "dbclient/VelConn.h"
#include "utils/UniqueHandle.h"

namespace {

const char kClientsKey[] = "software\\veldbclients\\";
const DWORD kTextLimit = 32;        // texts of 32 characters or more are ignored

struct NumberValue {
    const char* name;
    size_t offset;
    size_t width;                   // bytes taken from the DWORD: 1 or 4
};

const char* const kTextNames[] = { "service", "server", "defaultuser", "openmode" };

char* TextField(ClientSettings& s, int i)
{
    char* fields[] = { s.service, s.server, s.user, s.openMode };
    return fields[i];
}

const NumberValue kNumbers[] = {
    { "useblob", offsetof(ClientSettings, useBlob), 1 },
    { "timeout", offsetof(ClientSettings, timeout), 4 },
    { "enableevents", offsetof(ClientSettings, enableEvents), 1 },
    { "uselock", offsetof(ClientSettings, useLock), 1 },
    { "regdbpages", offsetof(ClientSettings, regDbPages), 4 },
    { "regowlpages", offsetof(ClientSettings, regOwlPages), 4 },
};

// A text value under 32 characters; false (and `out` empty) otherwise.
bool ReadText(HKEY key, const char* name, std::string& out)
{
    char buffer[260] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer - 1;
    out.clear();
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    size_t length = strnlen(buffer, size);
    if (length >= kTextLimit)
        return false;
    out.assign(buffer, length);
    return true;
}

bool ReadNumber(HKEY key, const char* name, DWORD& out)
{
    BYTE buffer[260] = {};
    DWORD type = 0;
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, name, nullptr, &type, buffer, &size) != ERROR_SUCCESS || type != REG_DWORD ||
        size < sizeof(DWORD))
        return false;
    std::memcpy(&out, buffer, sizeof out);
    return true;
}

std::string KeyPath(const std::string& database)
{
    return kClientsKey + database;
}

}  // namespace

bool VelConn::ReadSettings(const std::string& database, ClientSettings& settings)
{
    std::memset(&settings, 0, sizeof settings);
    velutils::RegKey key;
    if (database.empty() ||
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, KeyPath(database).c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return false;
    for (int i = 0; i < 4; ++i) {
        std::string text;
        if (ReadText(key.Get(), kTextNames[i], text))
            std::memcpy(TextField(settings, i), text.c_str(), text.size() + 1);
    }
    for (const NumberValue& n : kNumbers) {
        DWORD value = 0;
        if (ReadNumber(key.Get(), n.name, value))
            std::memcpy(reinterpret_cast<BYTE*>(&settings) + n.offset, &value, n.width);
    }
    char computer[16] = {};
    DWORD size = sizeof computer;
    if (GetComputerNameA(computer, &size))
        CopyFixedText(settings.computer, computer);
    settings.processId = GetCurrentProcessId();
    settings.size = sizeof(ClientSettings);
    settings.version = 4;
    settings.reserved[0] = '\0';
    return true;
}

bool VelConn::WriteSettings(const std::string& database, const ClientSettings& settings)
{
    velutils::RegKey key;
    if (database.empty() ||
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, KeyPath(database).c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        key.Receive(), nullptr) != ERROR_SUCCESS)
        return false;
    ClientSettings copy = settings;
    for (int i = 0; i < 4; ++i) {
        const char* text = TextField(copy, i);
        DWORD length = static_cast<DWORD>(strnlen(text, 32));
        std::string value(text, length);
        RegSetValueExA(key.Get(), kTextNames[i], 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), length + 1);
    }
    for (const NumberValue& n : kNumbers) {
        DWORD value = 0;
        std::memcpy(&value, reinterpret_cast<const BYTE*>(&copy) + n.offset, n.width);
        RegSetValueExA(key.Get(), n.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    return true;
}

bool VelConn::DeleteSettings(const std::string& database)
{
    if (database.empty())
        return false;
    return RegDeleteKeyA(HKEY_LOCAL_MACHINE, KeyPath(database).c_str()) == ERROR_SUCCESS;
}

void VelConn::ListDatabases(std::vector<std::string>& out)
{
    ListDatabases(out, nullptr, nullptr);
}

void VelConn::ListDatabases(std::vector<std::string>& out, const char* valueName, const char* wanted)
{
    velutils::RegKey clients;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClientsKey, 0, KEY_READ, clients.Receive()) != ERROR_SUCCESS)
        return;
    bool filter = valueName && *valueName && wanted && *wanted;
    char name[260];
    for (DWORD i = 0;; ++i) {
        DWORD size = sizeof name;
        if (RegEnumKeyExA(clients.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        if (filter) {
            velutils::RegKey db;
            std::string text;
            if (RegOpenKeyExA(clients.Get(), name, 0, KEY_READ, db.Receive()) != ERROR_SUCCESS ||
                !ReadText(db.Get(), valueName, text) || !DictNamesEqual(text, wanted))
                continue;
        }
        out.push_back(name);
    }
}
