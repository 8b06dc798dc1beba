#include "dbclient/DbDescMap.h"

#include <memory>

#include "dbclient/ClientLibrary.h"
#include "dbclient/FunctionLoader.h"
#include "dbclient/LibraryBuffer.h"
#include "dbclient/RdmTable.h"
#include "utils/DbDescError.h"
#include "utils/ErrorText.h"
#include "utils/VelMsgBox.h"

namespace {

const int kAlreadyOpen = 10020;
const int kNotOpen = 2000;

template <class Fn>
Fn Entry(FunctionLoader::Entry entry)
{
    return FunctionLoader::Instance().Checked<Fn>(entry);
}

// The failure of a reading, shown; the reading goes on without what failed.
void ShowReadingFailureModal(const VelExceptBase& e)
{
    HMODULE texts = VelExceptBase::OwnModule();
    std::string first = velutils::LoadResText(24052, "Error occured:", texts, false, false);
    std::string detail = e.what();
    detail += "\n" + velutils::LoadResText(24051, "ErrCode:", texts, false, false) + " " +
              std::to_string(e.GetErrCode());
    if (e.GetSupplement() && *e.GetSupplement())
        detail += "\n" + velutils::LoadResText(24050, "Additional datas:", texts, false, false) + " " +
                  e.GetSupplement();
    velutils::VelMessageBox(GetActiveWindow(), "", first, detail, MB_OK | MB_ICONERROR);
}

// Each row of `list` after a list search with mode 5.
template <class Visit>
void ForEachRow(RdmTable& table, bool found, Visit visit)
{
    while (found && table.NextOfList())
        visit();
}

}  // namespace

void DbDescMap::SetHandle(int handle)
{
    if (handle != m_handle)
        m_descs.clear();
    m_handle = handle;
}

bool DbDescMap::OpenTablespace(const std::string& name, int number, int mode, bool quiet)
{
    if (m_descs.count(DictUpper(name)))
        return true;
    auto openDb = Entry<veldbcli::OpenDbExAFn>(FunctionLoader::OpenDbExA);
    int status = openDb(m_handle, number, name.c_str(), static_cast<BYTE>(mode));
    if (status != 0 && status != kAlreadyOpen) {
        if (quiet)
            return false;
        throw DbDescError(status, VEL_ERRPOS("DbDescMap::OpenTablespace"), StrVector{ name, "OpenDbExA" });
    }
    return FetchDescription(number, name);
}

bool DbDescMap::Open(const std::string& name, int mode, bool quiet)
{
    if (DictNamesEqual(name, "SYSDB"))
        return OpenTablespace("SYSDB", SysDbNumber, mode, quiet);
    if (!OpenTablespace("SYSDB", SysDbNumber, mode, quiet))
        return false;
    DbDesc sys = GetDbByName("SYSDB");
    RdmTable tablespace(sys, "tablespace");
    int number = 0;
    std::string wanted = DictUpper(name);
    bool found = tablespace.FindList("", RdmTable::BeforeFirst);
    while (found && tablespace.NextOfList()) {
        if (DictUpper(tablespace.Field("name").AsText()) == wanted) {
            number = static_cast<int>(tablespace.Field("dbid").AsNumber());
            break;
        }
    }
    return OpenTablespace(name, number, mode, quiet);
}

DbDesc& DbDescMap::GetDbByName(const std::string& name)
{
    auto it = m_descs.find(DictUpper(name));
    if (it == m_descs.end())
        throw DbDescError(kNotOpen, VEL_ERRPOS("DbDescMap::GetDbByName"), StrVector{ name });
    return it->second;
}

DbDesc& DbDescMap::GetDbByName(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= m_descs.size())
        throw DbDescError(kNotOpen, VEL_ERRPOS("DbDescMap::GetDbByName"),
                          StrVector{ "index: " + std::to_string(index) });
    auto it = m_descs.begin();
    std::advance(it, index);
    return it->second;
}

bool DbDescMap::Remove(const std::string& name)
{
    return m_descs.erase(DictUpper(name)) != 0;
}

int DbDescMap::BeginTransaction(const std::string& name)
{
    auto begin = Entry<veldbcli::BeginTransactionFn>(FunctionLoader::BeginTransaction);
    return begin(m_handle, name.c_str(), 0, 0);
}

int DbDescMap::EndTransaction(bool commit)
{
    auto end = Entry<veldbcli::EndTransactionFn>(FunctionLoader::EndTransaction);
    return end(m_handle, static_cast<BYTE>(commit ? 1 : 0));
}

bool DbDescMap::FetchDescription(int number, const std::string& name)
{
    auto getDescription = Entry<veldbcli::GetDbDescriptionFn>(FunctionLoader::GetDbDescription);
    LibraryBuffer block;
    int size = 0;
    if (getDescription(m_handle, number, block.Receive(), &size) != 0) {
        block.Free();
        return false;
    }
    // A block that does not fit its counts is thrown, not shown: nothing can use it.
    std::unique_ptr<DbDesc> desc(new DbDesc(block.Get(), size > 0 ? static_cast<size_t>(size) : 0,
                                            number, name, m_handle));
    block.Free();
    try {
        EnrichFromSysDb(*desc);
        ReadVersion(*desc);
    } catch (const VelExceptBase& e) {
        ShowReadingFailureModal(e);
    }
    m_descs[desc->Name()] = *desc;
    return true;
}

void DbDescMap::EnrichFromSysDb(DbDesc& desc)
{
    auto it = m_descs.find("SYSDB");
    if (it == m_descs.end())
        return;
    DbDesc sys = it->second;
    RdmTable tables(sys, "tables");
    RdmTable fields(sys, "fields");
    auto storeField = [&]() {
        int number = desc.FieldNumber(fields.Field("tabname").AsText(), fields.Field("fldname").AsText());
        if (number < 0)
            return;    // not in the dictionary
        FieldSqlInfo info;
        info.sqlType = static_cast<int32_t>(fields.Field("sqltype").AsNumber());
        info.length = static_cast<int16_t>(fields.Field("length").AsNumber());
        info.precision = static_cast<int16_t>(fields.Field("precision").AsNumber());
        desc.SetSqlInfo(number, info);
    };
    if (!tables.HasField("id", false)) {
        RdmTable tablespace(sys, "tablespace");
        tablespace.Field("dbid").SetNumber(desc.Number());
        if (tablespace.FindByKey("dbid")) {
            fields.Field("tspname").SetText(tablespace.Field("tspname").AsText());
            ForEachRow(fields, fields.FindList("tspname", RdmTable::BeforeFirst), storeField);
        }
    } else {
        // Only the tables of this database: another may have tables of the same names.
        ForEachRow(tables, tables.GetAllRec(RdmTable::BeforeFirst), [&]() {
            if (tables.Field("id").AsNumber() != desc.Number())
                return;
            fields.Field("tableid").SetText(tables.Field("tableid").AsText());
            ForEachRow(fields, fields.FindList("tableid", RdmTable::BeforeFirst), storeField);
        });
    }
    RdmTable blobs(sys, "fileblobs");
    ForEachRow(blobs, blobs.GetAllRec(RdmTable::BeforeFirst), [&]() {
        desc.SetBlobFile(blobs.Field("fb_alias").AsText(), static_cast<int32_t>(blobs.Field("fb_id").AsNumber()));
    });
}

void DbDescMap::ReadVersion(DbDesc& desc)
{
    auto it = m_descs.find("SYSDB");
    if (it == m_descs.end() && desc.Name() != "SYSDB")
        return;
    DbDesc sys = it == m_descs.end() ? desc : it->second;
    RdmTable tablespace(sys, "tablespace");
    tablespace.Field("name").SetText(desc.Name());
    if (!tablespace.FindByKey("name"))
        return;
    DbVersion v;
    v.major = static_cast<int32_t>(tablespace.Field("vermajor").AsNumber());
    v.minor = static_cast<int32_t>(tablespace.Field("verminor").AsNumber());
    v.sub = static_cast<int32_t>(tablespace.Field("versub").AsNumber());
    v.build = static_cast<int32_t>(tablespace.Field("verbuild").AsNumber());
    desc.SetVersion(v);
}
