// The descriptions of the databases a connection has open, by upper-cased name.
#pragma once
#include <map>
#include <string>

#include "dbclient/DbDesc.h"

class DbDescMap {
public:
    static constexpr int SysDbNumber = 19;

    DbDescMap() = default;
    DbDescMap(const DbDescMap&) = delete;
    DbDescMap& operator=(const DbDescMap&) = delete;

    // The connection handle of later calls. The descriptions belong to the handle they
    // were read with: another handle starts from none.
    void SetHandle(int handle);
    int Handle() const { return m_handle; }

    // Opens a database by number at the server and reads its description; true at once
    // when it is open already. A failed open throws DbDescError, or gives false if quiet.
    // The failure box of a reading is a modal loop.
    bool OpenTablespace(const std::string& name, int number, int mode, bool quiet);
    // Opens a database by name: "SYSDB" is 19, any other is looked up in "tablespace".
    bool Open(const std::string& name, int mode, bool quiet);

    // The description of an open database, by name ignoring case; 2000 when not open.
    DbDesc& GetDbByName(const std::string& name);
    // The i-th description in name order; 2000 ("index: i") when out of range.
    DbDesc& GetDbByName(int index);
    // Forgets a description (nothing is closed at the server); true if it was there.
    bool Remove(const std::string& name);
    size_t Count() const { return m_descs.size(); }

    // Library statuses of the transaction calls.
    int BeginTransaction(const std::string& name);
    int EndTransaction(bool commit);

private:
    bool FetchDescription(int number, const std::string& name);
    void EnrichFromSysDb(DbDesc& desc);
    void ReadVersion(DbDesc& desc);

    std::map<std::string, DbDesc> m_descs;
    int m_handle = 10014;
};
