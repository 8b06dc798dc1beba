#include "tests/catalog/ClientSettingsKey.h"

#include "utils/UniqueHandle.h"

namespace {

const char kClientsKey[] = "software\\veldbclients\\";

}  // namespace

ClientSettingsKey::ClientSettingsKey(const std::string& database, const std::string& service, DWORD timeoutMs)
    : m_database(database)
{
    HKEY raw = nullptr;
    std::string path = kClientsKey + database;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr))
        return;
    velutils::RegKey key(raw);
    RegSetValueExA(raw, "server", 0, REG_SZ, reinterpret_cast<const BYTE*>("."), 2);
    RegSetValueExA(raw, "service", 0, REG_SZ, reinterpret_cast<const BYTE*>(service.c_str()),
                   static_cast<DWORD>(service.size() + 1));
    if (timeoutMs)
        RegSetValueExA(raw, "timeout", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&timeoutMs), sizeof timeoutMs);
}

ClientSettingsKey::~ClientSettingsKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, (kClientsKey + m_database).c_str()); }
