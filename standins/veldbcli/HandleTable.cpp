#include "standins/veldbcli/HandleTable.h"

namespace {

const int kInvalidHandle = 10014;

}  // namespace

HandleTable& HandleTable::Instance()
{
    static HandleTable table;
    return table;
}

int HandleTable::Create()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_next == kInvalidHandle)
        ++m_next;
    int handle = m_next++;
    m_connections[handle] = std::make_shared<Connection>();
    return handle;
}

std::shared_ptr<Connection> HandleTable::Find(int handle) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_connections.find(handle);
    return found == m_connections.end() ? nullptr : found->second;
}

std::shared_ptr<Connection> HandleTable::Remove(int handle)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_connections.find(handle);
    if (found == m_connections.end())
        return nullptr;
    auto connection = found->second;
    m_connections.erase(found);
    return connection;
}
