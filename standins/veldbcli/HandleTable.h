// The library's connection handles. A handle is a small number; 10014 is never handed
// out, since the program takes it for "no connection".
#pragma once
#include <map>
#include <memory>
#include <mutex>

#include "standins/veldbcli/Connection.h"

class HandleTable {
public:
    static HandleTable& Instance();

    int Create();
    std::shared_ptr<Connection> Find(int handle) const;
    std::shared_ptr<Connection> Remove(int handle);

private:
    mutable std::mutex m_mutex;
    std::map<int, std::shared_ptr<Connection>> m_connections;
    int m_next = 1;
};
