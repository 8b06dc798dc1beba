// The table of the client library's entry points. The library (veldbcli.dll) is loaded
// once, when the process starts; a missing library or export becomes a DbDescError at
// the first call that needs it, never a crash.
#pragma once
#include <windows.h>

#include <string>

#include "utils/UniqueHandle.h"

class FunctionLoader {
public:
    // The library's entries, in the order of the table's fields.
    enum Entry {
        FreePtr, CreateDbHandler, InitUserEx, SetCode, FreeDbHandler, ArchiveDb, RestoreArchive,
        CreateDatabase, Connect, DropDatabase, CreateTablespace, Reindex8, Reindex4, GetServiceNames,
        FindRecNext, FindRecPrev, StepToRelative, ReadCurrentRec, SetEventPtr, SetEventCookie,
        SqlGetResult, SqlGetResultText, OpenExtPackage, CloseExtPackage, CallExtFnc, CloseDb, OpenDbEx,
        OpenDbExA, GetVelVersion, GetDbDescription, BeginTransaction, AddToTransaction, EndTransaction,
        GetServerParam, FindBlob, NewBlob, DelBlob, FirstRec, PrevRec, NextRec, LastRec, DefineKey,
        FindRec, NewRec, ModRec, DelRec, FindData, WriteData, LockRecord, UnlockRecord, WhoMadeLock,
        GetNextId, GetServerTime, GetStatuses, RaimaStatistic, KillUser, GetMaxuser, GetCompanyDataFile,
        CursorCreate, CursorDrop, CursorOperation, BookmarkCreate, BookmarkDrop, BookmarkOperation,
        GetCount, GetConditionedCount, FindList, FindGreater, FindLess, GetAllRec, SqlOperation,
        FindListOr, GetRecLocks, RestoreTimestamps, GetV3FileInfo, GetAllBinaryDescriptor, Restructure,
        SetServerParam, LockRecords, SetUserInfo, FindBetween, TruncateFile, ServerLog, CreateBlobStream,
        WriteBlobStream, ReadBlobStream, CloseBlobStream, DestroyBlobStream, GetUserInfo, WriteDbLog,
        EntryCount
    };

    // Loads `library` by name through the system's search order and binds every entry
    // it exports.
    explicit FunctionLoader(const char* library);
    ~FunctionLoader();
    FunctionLoader(const FunctionLoader&) = delete;
    FunctionLoader& operator=(const FunctionLoader&) = delete;

    // The process's one table, bound to veldbcli.dll at start-up.
    static FunctionLoader& Instance();

    bool IsLoaded() const { return static_cast<bool>(m_module); }
    FARPROC Address(Entry entry) const { return m_entries[entry]; }

    // The entry about to be called: throws DbDescError 10038 with "pf" + its name when
    // the library or the export is missing.
    template <class Function>
    Function Checked(Entry entry) const
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(Require(entry)));
    }

    // The name that a missing entry is reported by ("pfFirstRec").
    static std::string CheckName(Entry entry);

private:
    FARPROC Require(Entry entry) const;

    FARPROC m_entries[EntryCount] = {};
    velutils::ModuleHandle m_module;
};
