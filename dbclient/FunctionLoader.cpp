#include "dbclient/FunctionLoader.h"

#include "utils/DbDescError.h"

namespace {

const int kMissingEntry = 10038;

struct Binding {
    const char* exportName;
    FunctionLoader::Entry entry;
};

// The library's decorated export names, in the order they are bound.
const Binding kBindings[] = {
    { "_FreePtr@4", FunctionLoader::FreePtr }, { "_CreateDbHandler@4", FunctionLoader::CreateDbHandler },
    { "_InitUserEx@8", FunctionLoader::InitUserEx }, { "_SetCode@12", FunctionLoader::SetCode },
    { "_FreeDbHandler@4", FunctionLoader::FreeDbHandler }, { "_ArchiveDb@4", FunctionLoader::ArchiveDb },
    { "_RestoreArchive@8", FunctionLoader::RestoreArchive }, { "_CreateDatabase@16", FunctionLoader::CreateDatabase },
    { "_Connect@8", FunctionLoader::Connect }, { "_DropDatabase@8", FunctionLoader::DropDatabase },
    { "_CreateTablespace@8", FunctionLoader::CreateTablespace }, { "_Reindex@8", FunctionLoader::Reindex8 },
    { "_Reindex@4", FunctionLoader::Reindex4 }, { "_GetServiceNames@16", FunctionLoader::GetServiceNames },
    { "_GetCount@16", FunctionLoader::GetCount }, { "_GetConditionedCount@32", FunctionLoader::GetConditionedCount },
    { "_FindRecNext@20", FunctionLoader::FindRecNext }, { "_FindRecPrev@20", FunctionLoader::FindRecPrev },
    { "_StepToRelative@16", FunctionLoader::StepToRelative }, { "_ReadCurrentRec@20", FunctionLoader::ReadCurrentRec },
    { "_SetEventPtr@8", FunctionLoader::SetEventPtr }, { "_SetEventCookie@8", FunctionLoader::SetEventCookie },
    { "_SqlOperation@12", FunctionLoader::SqlOperation }, { "_SqlGetResult@24", FunctionLoader::SqlGetResult },
    { "_SqlGetResultText@8", FunctionLoader::SqlGetResultText }, { "_OpenExtPackage@8", FunctionLoader::OpenExtPackage },
    { "_CloseExtPackage@8", FunctionLoader::CloseExtPackage }, { "_CallExtFnc@24", FunctionLoader::CallExtFnc },
    { "_CloseDb@8", FunctionLoader::CloseDb }, { "_OpenDbEx@12", FunctionLoader::OpenDbEx },
    { "_OpenDbExA@16", FunctionLoader::OpenDbExA }, { "_GetVelVersion@12", FunctionLoader::GetVelVersion },
    { "_GetDbDescription@16", FunctionLoader::GetDbDescription },
    { "_BeginTransaction@16", FunctionLoader::BeginTransaction },
    { "_AddToTransaction@12", FunctionLoader::AddToTransaction },
    { "_EndTransaction@8", FunctionLoader::EndTransaction }, { "_GetServerParam@12", FunctionLoader::GetServerParam },
    { "_FindBlob@16", FunctionLoader::FindBlob }, { "_NewBlob@16", FunctionLoader::NewBlob },
    { "_DelBlob@8", FunctionLoader::DelBlob }, { "_FirstRec@20", FunctionLoader::FirstRec },
    { "_PrevRec@20", FunctionLoader::PrevRec }, { "_NextRec@20", FunctionLoader::NextRec },
    { "_LastRec@20", FunctionLoader::LastRec }, { "_DefineKey@16", FunctionLoader::DefineKey },
    { "_FindRec@20", FunctionLoader::FindRec }, { "_NewRec@20", FunctionLoader::NewRec },
    { "_ModRec@20", FunctionLoader::ModRec }, { "_DelRec@20", FunctionLoader::DelRec },
    { "_FindList@28", FunctionLoader::FindList }, { "_FindGreater@28", FunctionLoader::FindGreater },
    { "_FindLess@28", FunctionLoader::FindLess }, { "_GetAllRec@20", FunctionLoader::GetAllRec },
    { "_FindData@28", FunctionLoader::FindData }, { "_WriteData@24", FunctionLoader::WriteData },
    { "_LockRecord@16", FunctionLoader::LockRecord }, { "_UnlockRecord@16", FunctionLoader::UnlockRecord },
    { "_WhoMadeLock@20", FunctionLoader::WhoMadeLock }, { "_GetNextId@12", FunctionLoader::GetNextId },
    { "_GetServerTime@8", FunctionLoader::GetServerTime }, { "_GetStatuses@12", FunctionLoader::GetStatuses },
    { "_RaimaStatistic@16", FunctionLoader::RaimaStatistic }, { "_KillUser@8", FunctionLoader::KillUser },
    { "_GetMaxuser@4", FunctionLoader::GetMaxuser }, { "_GetCompanyDataFile@12", FunctionLoader::GetCompanyDataFile },
    { "_CursorCreate@20", FunctionLoader::CursorCreate }, { "_CursorDrop@8", FunctionLoader::CursorDrop },
    { "_CursorOperation@20", FunctionLoader::CursorOperation },
    { "_BookmarkCreate@16", FunctionLoader::BookmarkCreate }, { "_BookmarkDrop@8", FunctionLoader::BookmarkDrop },
    { "_BookmarkOperation@12", FunctionLoader::BookmarkOperation }, { "_FindListOr@28", FunctionLoader::FindListOr },
    { "_GetRecLocks@12", FunctionLoader::GetRecLocks }, { "_RestoreTimestamps@16", FunctionLoader::RestoreTimestamps },
    { "_GetV3FileInfo@24", FunctionLoader::GetV3FileInfo },
    { "_GetAllBinaryDescriptor@16", FunctionLoader::GetAllBinaryDescriptor },
    { "_Restructure@16", FunctionLoader::Restructure }, { "_SetServerParam@12", FunctionLoader::SetServerParam },
    { "_LockRecords@12", FunctionLoader::LockRecords }, { "_SetUserInfo@8", FunctionLoader::SetUserInfo },
    { "_FindBetween@32", FunctionLoader::FindBetween }, { "_TruncateFile@12", FunctionLoader::TruncateFile },
    { "_ServerLog@8", FunctionLoader::ServerLog }, { "_CreateBlobStream@12", FunctionLoader::CreateBlobStream },
    { "_WriteBlobStream@16", FunctionLoader::WriteBlobStream },
    { "_ReadBlobStream@16", FunctionLoader::ReadBlobStream },
    { "_CloseBlobStream@12", FunctionLoader::CloseBlobStream },
    { "_DestroyBlobStream@8", FunctionLoader::DestroyBlobStream }, { "_GetUserInfo@8", FunctionLoader::GetUserInfo },
    { "_WriteDbLog@20", FunctionLoader::WriteDbLog },
};

static_assert(sizeof kBindings / sizeof kBindings[0] == FunctionLoader::EntryCount, "every entry has its name");

}  // namespace

FunctionLoader::FunctionLoader(const char* library)
{
    m_module.Reset(LoadLibraryA(library));
    if (!m_module)
        return;
    for (const Binding& b : kBindings)
        m_entries[b.entry] = GetProcAddress(m_module.Get(), b.exportName);
}

FunctionLoader::~FunctionLoader()
{
    for (FARPROC& entry : m_entries)
        entry = nullptr;
}

FunctionLoader& FunctionLoader::Instance()
{
    // Made during static initialisation, before the application object runs.
    static FunctionLoader loader("veldbcli.dll");
    return loader;
}

namespace {
// Binds the library when the process starts, as the program expects.
const FunctionLoader& g_startupBinding = FunctionLoader::Instance();
}  // namespace

std::string FunctionLoader::CheckName(Entry entry)
{
    switch (entry) {
    case Reindex8:
    case Reindex4:
        return "pfReindex";
    case GetRecLocks:
        return "pfGetLockList";
    default:
        break;
    }
    for (const Binding& b : kBindings) {
        if (b.entry != entry)
            continue;
        std::string name(b.exportName + 1);            // without the leading underscore
        return "pf" + name.substr(0, name.find('@'));
    }
    return "pf?";
}

FARPROC FunctionLoader::Require(Entry entry) const
{
    if (entry < 0 || entry >= EntryCount || !m_entries[entry])
        throw DbDescError(kMissingEntry, VEL_ERRPOS("NULL"), StrVector{ CheckName(entry) });
    return m_entries[entry];
}
