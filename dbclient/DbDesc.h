// The description of one open database: its dictionary, per record type the list of the
// last list search, and what "SYSDB" adds (SQL types, version, blob-file aliases).
// Copyable: callers open their tables on a copy of the map's description.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "dbclient/DbDictionary.h"

// Records fetched by a list search, stepped through with an index.
struct RecordList {
    std::vector<uint8_t> data;
    uint32_t recordSize = 0;
    int index = -1;                   // -1: before the first record

    size_t RecordCount() const { return recordSize ? data.size() / recordSize : 0; }
    void Clear() { data.clear(); recordSize = 0; index = -1; }
};

struct DbVersion {
    int32_t major = 0, minor = 0, sub = 0, build = 0;
};

struct FieldSqlInfo {
    int32_t sqlType = 0;
    int16_t length = 0;
    int16_t precision = 0;
};

class DbDesc {
public:
    DbDesc() = default;
    // Reads the block handed out for database `number`; a block that does not fit
    // throws DbDescError with the database's name.
    DbDesc(const uint8_t* block, size_t size, int number, const std::string& name, int handle);

    int Number() const { return m_number; }
    const std::string& Name() const { return m_name; }    // upper-cased
    int Handle() const { return m_handle; }               // the connection's library handle
    const DbDictionary& Dictionary() const { return m_dict; }

    // Record type number (10000 + index) of the table of that name, ignoring case; -1 if none.
    int RecordTypeNumber(const std::string& table) const;
    // The record type of a number; throws DbDescError 2002 when unknown.
    const DictRecord& RecordType(int recordTypeNumber) const;
    // The field of a number (record index * 1000 + index in it); throws 2003 when unknown.
    const DictField& FieldByNumber(int fieldNumber) const;
    // Field number of `field` of `table` ignoring case; -1 if either is unknown.
    int FieldNumber(const std::string& table, const std::string& field) const;

    // The list of a record type; throws DbDescError 2002 when unknown.
    RecordList& List(int recordTypeNumber);

    const DbVersion& Version() const { return m_version; }
    void SetVersion(const DbVersion& v) { m_version = v; }
    // SQL information by field number; null when "SYSDB" stated none.
    const FieldSqlInfo* SqlInfo(int fieldNumber) const;
    void SetSqlInfo(int fieldNumber, const FieldSqlInfo& info) { m_sql[fieldNumber] = info; }
    // File id of a blob-file alias (ignoring case); throws DbDescError with
    // "SYS.FILEBLOBS.FB_ALIAS:" + alias when unknown.
    int32_t BlobFileId(const std::string& alias) const;
    void SetBlobFile(const std::string& alias, int32_t fileId);

    static constexpr int RecordTypeBase = 10000;

private:
    DbDictionary m_dict;
    int m_number = 0;
    std::string m_name;
    int m_handle = 10014;
    std::vector<RecordList> m_lists;           // by record type index
    DbVersion m_version;
    std::map<int, FieldSqlInfo> m_sql;         // by field number
    std::map<std::string, int32_t> m_blobFiles;  // by upper-cased alias
};
