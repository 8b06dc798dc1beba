#include "dbclient/RdmTable.h"

#include <algorithm>
#include <cstring>

#include "dbclient/ClientLibrary.h"
#include "dbclient/DbDesc.h"
#include "dbclient/FunctionLoader.h"
#include "dbclient/LibraryBuffer.h"
#include "utils/DbDescError.h"

namespace {

const int kNothingFound = 10002;
const int kUnknownTable = 2002;
const int kUnknownField = 2003;
const int kUnknownMode = 2005;
const int kNoRecord = 2007;

// Through a volatile pointer, so that the compiler keeps the stores.
void Wipe(std::vector<uint8_t>& bytes)
{
    volatile uint8_t* p = bytes.data();
    for (size_t i = 0; i < bytes.size(); ++i)
        p[i] = 0;
}

// A buffer the found record passes through is wiped before it goes, on every path: the
// record may hold a secret.
class WipedBuffer {
public:
    explicit WipedBuffer(size_t size) : m_bytes(size, 0) {}
    ~WipedBuffer() { Wipe(m_bytes); }
    WipedBuffer(const WipedBuffer&) = delete;
    WipedBuffer& operator=(const WipedBuffer&) = delete;
    std::vector<uint8_t>& Bytes() { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

template <class Fn>
Fn Entry(FunctionLoader::Entry entry)
{
    return FunctionLoader::Instance().Checked<Fn>(entry);
}

const char* EntryName(FunctionLoader::Entry entry)
{
    switch (entry) {
    case FunctionLoader::FirstRec: return "FirstRec";
    case FunctionLoader::PrevRec: return "PrevRec";
    case FunctionLoader::NextRec: return "NextRec";
    case FunctionLoader::LastRec: return "LastRec";
    case FunctionLoader::ReadCurrentRec: return "ReadCurrentRec";
    case FunctionLoader::FindRec: return "FindRec";
    case FunctionLoader::FindRecNext: return "FindRecNext";
    case FunctionLoader::FindRecPrev: return "FindRecPrev";
    case FunctionLoader::FindList: return "FindList";
    case FunctionLoader::FindListOr: return "FindListOr";
    case FunctionLoader::FindGreater: return "FindGreater";
    case FunctionLoader::FindLess: return "FindLess";
    case FunctionLoader::GetAllRec: return "GetAllRec";
    case FunctionLoader::FindBetween: return "FindBetween";
    case FunctionLoader::NewRec: return "NewRec";
    case FunctionLoader::ModRec: return "ModRec";
    case FunctionLoader::DelRec: return "DelRec";
    case FunctionLoader::DefineKey: return "DefineKey";
    case FunctionLoader::GetCount: return "GetCount";
    case FunctionLoader::GetNextId: return "GetNextId";
    case FunctionLoader::TruncateFile: return "TruncateFile";
    default: return "";
    }
}

const FunctionLoader::Entry kStepEntries[] = { FunctionLoader::FirstRec, FunctionLoader::PrevRec,
                                               FunctionLoader::NextRec, FunctionLoader::LastRec,
                                               FunctionLoader::ReadCurrentRec };

}  // namespace

RdmTable::RdmTable(DbDesc& db, const std::string& table) : m_db(&db), m_name(DictUpper(table)), m_prefix(m_name + ".")
{
    m_recordType = db.RecordTypeNumber(table);
    if (m_recordType < 0)
        throw DbDescError(kUnknownTable, VEL_ERRPOS("RdmTable::RdmTable"), StrVector{ table });
    const DictRecord& rec = db.RecordType(m_recordType);
    m_record.assign(rec.DataLength(), 0);
    int recordIndex = m_recordType - DbDesc::RecordTypeBase;
    for (int i = 0; i < rec.fieldCount; ++i) {
        const DictField& f = db.Dictionary().Fields()[rec.firstField + i];
        m_fields.emplace(f.name, RdmFld(db, m_name, f.name, recordIndex * 1000 + i, &m_record));
    }
}

RdmTable::~RdmTable() = default;

// Library statuses other than success carry the table and the entry.
static void ThrowStatus(int status, const DbDesc& db, const std::string& table, FunctionLoader::Entry entry)
{
    throw DbDescError(status, VEL_ERRPOS("RdmTable"), StrVector{ db.Name() + "." + table, EntryName(entry) });
}

int RdmTable::KeyFieldNumber(const std::string& keyName) const
{
    auto it = m_fields.find(FieldKey(keyName));
    if (it == m_fields.end())
        throw DbDescError(kUnknownField, VEL_ERRPOS("RdmTable::KeyFieldNumber"), StrVector{ keyName });
    return it->second.Number();
}

uint16_t RdmTable::KeyLength(int keyField) const
{
    return m_db->FieldByNumber(keyField).length;
}

std::vector<uint8_t> RdmTable::KeyValue(int keyField) const
{
    const DictField& f = m_db->FieldByNumber(keyField);
    const DictRecord& rec = m_db->RecordType(DbDesc::RecordTypeBase + keyField / 1000);
    size_t at = DbDictionary::ImageOffset(rec, f);
    if (keyField / 1000 != m_recordType - DbDesc::RecordTypeBase || at + f.length > m_record.size())
        throw DbDescError(kUnknownField, VEL_ERRPOS("RdmTable::KeyValue"),
                          StrVector{ m_db->Name() + ".fld: " + std::to_string(keyField) });
    return std::vector<uint8_t>(m_record.begin() + at, m_record.begin() + at + f.length);
}

// Called for every field read: no allocation for a short name.
std::string RdmTable::FieldKey(const std::string& name) const
{
    std::string key = DictUpper(name);
    if (!m_aliases.empty()) {
        auto alias = m_aliases.find(key);
        if (alias != m_aliases.end())
            return alias->second;
    }
    if (key.compare(0, m_prefix.size(), m_prefix) == 0)
        key.erase(0, m_prefix.size());
    return key;
}

void RdmTable::DefineKey(int keyField)
{
    auto defineKey = Entry<veldbcli::DefineKeyFn>(FunctionLoader::DefineKey);
    int status = defineKey(m_db->Handle(), m_db->Number(), m_recordType, keyField);
    if (status != 0)
        ThrowStatus(status, *m_db, m_name, FunctionLoader::DefineKey);
}

void RdmTable::DefineKey(const std::string& keyName)
{
    DefineKey(KeyFieldNumber(keyName));
}

bool RdmTable::StepCall(int entry, int keyField)
{
    FunctionLoader::Entry which = static_cast<FunctionLoader::Entry>(entry);
    auto step = Entry<veldbcli::StepRecFn>(which);
    LibraryBuffer record;
    int keyLength = keyField < 0 ? 0 : KeyLength(keyField);
    int status = step(m_db->Handle(), m_db->Number(), m_recordType, keyLength, record.Receive());
    if (status == kNothingFound) {
        record.Free();
        return false;
    }
    if (status != 0)
        ThrowStatus(status, *m_db, m_name, which);
    // The library hands out a record of the type's data length; success without one would
    // leave the record before it in place as if it had been found.
    if (!record.Get())
        throw DbDescError(kNoRecord, VEL_ERRPOS("RdmTable::StepCall"),
                          StrVector{ m_db->Name() + "." + m_name, EntryName(which) });
    std::memcpy(m_record.data(), record.Get(), m_record.size());
    record.Free();
    return true;
}

bool RdmTable::StepRecord(int step, const std::string& keyName)
{
    if (step < First || step > Current)
        throw DbDescError(kUnknownMode, VEL_ERRPOS("RdmTable::StepRecord"), StrVector{ m_name });
    int keyField = keyName.empty() ? -1 : KeyFieldNumber(keyName);
    return StepCall(kStepEntries[step], keyField);
}

bool RdmTable::StepRecordWithKey(int step, const std::string& keyName)
{
    DefineKey(keyName);
    return StepRecord(step, keyName);
}

bool RdmTable::FindCall(int entry, int keyField)
{
    FunctionLoader::Entry which = static_cast<FunctionLoader::Entry>(entry);
    auto find = Entry<veldbcli::FindRecFn>(which);
    std::vector<uint8_t> key = KeyValue(keyField);
    WipedBuffer wiped(std::max(m_record.size(), key.size()));
    std::vector<uint8_t>& buffer = wiped.Bytes();
    std::copy(key.begin(), key.end(), buffer.begin());
    BYTE* keyBuffer = buffer.data();
    int status = find(m_db->Handle(), m_db->Number(), m_recordType, static_cast<int>(key.size()), &keyBuffer);
    if (status == kNothingFound) {
        OwnList().Clear();
        return false;
    }
    if (status != 0)
        ThrowStatus(status, *m_db, m_name, which);
    std::copy(buffer.begin(), buffer.begin() + m_record.size(), m_record.begin());
    return true;
}

bool RdmTable::FindByKey(int keyField) { return FindCall(FunctionLoader::FindRec, keyField); }
bool RdmTable::FindNextMatch(int keyField) { return FindCall(FunctionLoader::FindRecNext, keyField); }
bool RdmTable::FindPrevMatch(int keyField) { return FindCall(FunctionLoader::FindRecPrev, keyField); }

bool RdmTable::FindByKey(const std::string& keyName, int)
{
    int keyField = KeyFieldNumber(keyName);
    DefineKey(keyField);
    return FindByKey(keyField);
}

bool RdmTable::FindNextMatch(const std::string& keyName)
{
    int keyField = KeyFieldNumber(keyName);
    DefineKey(keyField);
    return FindNextMatch(keyField);
}

bool RdmTable::FindPrevMatch(const std::string& keyName)
{
    int keyField = KeyFieldNumber(keyName);
    DefineKey(keyField);
    return FindPrevMatch(keyField);
}

RecordList& RdmTable::OwnList() const
{
    return m_db->List(m_recordType);
}

bool RdmTable::RunSearch(Search search, int keyField, const std::string& high, RecordList& found)
{
    static const FunctionLoader::Entry entries[] = { FunctionLoader::FindList, FunctionLoader::FindListOr,
                                                     FunctionLoader::FindGreater, FunctionLoader::FindLess,
                                                     FunctionLoader::GetAllRec, FunctionLoader::FindBetween };
    FunctionLoader::Entry which = entries[search];
    LibraryBuffer data;
    int total = 0;
    int recordSize = static_cast<int>(m_record.size());
    int status = 0;
    if (search == All) {
        status = Entry<veldbcli::GetAllRecFn>(which)(m_db->Handle(), m_db->Number(), m_recordType,
                                                     data.Receive(), &total);
    } else if (search == Between) {
        std::vector<uint8_t> low = KeyValue(keyField);
        std::vector<uint8_t> saved = m_record;
        m_fields.at(FieldKey(m_db->FieldByNumber(keyField).name)).SetText(high);
        std::vector<uint8_t> upper = KeyValue(keyField);
        m_record = saved;
        status = Entry<veldbcli::FindBetweenFn>(which)(m_db->Handle(), m_db->Number(), m_recordType, low.data(),
                                                       upper.data(), data.Receive(), &total, &recordSize);
    } else {
        std::vector<uint8_t> key = KeyValue(keyField);
        status = Entry<veldbcli::FindListFn>(which)(m_db->Handle(), m_db->Number(), m_recordType, key.data(),
                                                    data.Receive(), &total, &recordSize);
    }
    if (status == kNothingFound) {
        data.Free();
        return false;
    }
    if (status != 0)
        ThrowStatus(status, *m_db, m_name, which);
    // Only whole records count; a size of 0 or a ragged tail is no record.
    size_t whole = 0;
    if (data.Get() && total > 0 && recordSize > 0)
        whole = static_cast<size_t>(total) / recordSize * recordSize;
    found.data.assign(data.Get(), data.Get() + whole);
    found.recordSize = static_cast<uint32_t>(recordSize > 0 ? recordSize : 0);
    data.Free();
    return true;
}

bool RdmTable::ListSearch(Search search, const std::string& keyName, int mode, bool append,
                          const std::string& high)
{
    if (keyName.empty() && search != Between)
        search = All;
    int keyField = -1;
    if (search != All) {
        keyField = KeyFieldNumber(keyName);
        DefineKey(keyField);
    }
    RecordList& list = OwnList();
    if (!append) {
        // Straight into the list, whose memory serves the next search again.
        if (!RunSearch(search, keyField, high, list)) {
            list.Clear();
            return false;
        }
        list.index = -1;
        return PositionList(mode);
    }
    RecordList found;
    if (!RunSearch(search, keyField, high, found))
        return false;
    if (list.recordSize == 0) {
        list.data.swap(found.data);
        list.recordSize = found.recordSize;
        return true;
    }
    // Appended records take the list's record size.
    for (size_t i = 0; i < found.RecordCount(); ++i) {
        size_t at = list.data.size();
        list.data.resize(at + list.recordSize, 0);
        std::memcpy(list.data.data() + at, found.data.data() + i * found.recordSize,
                    std::min(found.recordSize, list.recordSize));
    }
    return true;
}

bool RdmTable::FindList(const std::string& keyName, int mode) { return ListSearch(List, keyName, mode, false); }
bool RdmTable::FindListOr(const std::string& keyName, int mode) { return ListSearch(ListOr, keyName, mode, false); }
bool RdmTable::FindGreater(const std::string& keyName, int mode) { return ListSearch(Greater, keyName, mode, false); }
bool RdmTable::FindLess(const std::string& keyName, int mode) { return ListSearch(Less, keyName, mode, false); }
bool RdmTable::GetAllRec(int mode) { return ListSearch(All, std::string(), mode, false); }

bool RdmTable::FindBetween(const std::string& keyName, const std::string& high, int mode)
{
    return ListSearch(Between, keyName, mode, false, high);
}

bool RdmTable::AppendSearch(Search search, const std::string& keyName, const std::string& high)
{
    return ListSearch(search, keyName, 0, true, high);
}

void RdmTable::TakeRecord(const RecordList& list, size_t index)
{
    // A record shorter than the data length leaves the rest of the buffer zero.
    size_t n = std::min<size_t>(list.recordSize, m_record.size());
    std::memcpy(m_record.data(), list.data.data() + index * list.recordSize, n);
    std::fill(m_record.begin() + static_cast<std::ptrdiff_t>(n), m_record.end(), 0);
}

bool RdmTable::PositionList(int mode)
{
    if (mode < ListFirst || mode > BeforeFirst || mode == 4)
        throw DbDescError(kUnknownMode, VEL_ERRPOS("RdmTable::PositionList"), StrVector{ m_name });
    RecordList& list = OwnList();
    int count = static_cast<int>(list.RecordCount());
    if (count == 0)
        return false;
    int index = list.index;
    switch (mode) {
    case ListFirst: index = 0; break;
    case ListPrev: index = list.index - 1; break;
    case ListNext: index = list.index + 1; break;
    case ListLast: index = count - 1; break;
    default:
        list.index = -1;
        ClearBuffer();
        return true;
    }
    if (index < 0 || index >= count)
        return false;
    list.index = index;
    TakeRecord(list, static_cast<size_t>(index));
    return true;
}

bool RdmTable::NextOfList()
{
    RecordList& list = OwnList();
    int count = static_cast<int>(list.RecordCount());
    if (list.index >= count)
        return false;
    ++list.index;
    if (list.index >= count)
        return false;
    TakeRecord(list, static_cast<size_t>(list.index));
    return true;
}

int RdmTable::ListIndex() const { return OwnList().index; }
size_t RdmTable::ListCount() const { return OwnList().RecordCount(); }
void RdmTable::ClearList() { OwnList().Clear(); }
void RdmTable::ClearBuffer() { std::fill(m_record.begin(), m_record.end(), 0); }

void RdmTable::WipeRecord()
{
    Wipe(m_record);
    for (auto& field : m_fields)
        field.second.WipeCache();
}

bool RdmTable::SetListIndex(int index)
{
    RecordList& list = OwnList();
    if (index < -1 || index >= static_cast<int>(list.RecordCount()))
        return false;
    list.index = index;
    if (index >= 0)
        TakeRecord(list, static_cast<size_t>(index));
    return true;
}

bool RdmTable::ReRead()
{
    return StepCall(FunctionLoader::ReadCurrentRec, -1);
}

void RdmTable::ChangeCall(int entry)
{
    FunctionLoader::Entry which = static_cast<FunctionLoader::Entry>(entry);
    auto change = Entry<veldbcli::ChangeRecFn>(which);
    int status = change(m_db->Handle(), m_db->Number(), m_recordType, static_cast<int>(m_record.size()),
                        m_record.data());
    if (status != 0)
        ThrowStatus(status, *m_db, m_name, which);
}

void RdmTable::NewRecord() { ChangeCall(FunctionLoader::NewRec); }
void RdmTable::ModifyRecord() { ChangeCall(FunctionLoader::ModRec); }
void RdmTable::DeleteRecord() { ChangeCall(FunctionLoader::DelRec); }

void RdmTable::Truncate()
{
    auto truncate = Entry<veldbcli::TruncateFileFn>(FunctionLoader::TruncateFile);
    int status = truncate(m_db->Handle(), m_db->Number(), m_recordType);
    if (status != 0)
        ThrowStatus(status, *m_db, m_name, FunctionLoader::TruncateFile);
}

int32_t RdmTable::NextId()
{
    auto nextId = Entry<veldbcli::GetNextIdFn>(FunctionLoader::GetNextId);
    int id = 0;
    int status = nextId(m_db->Handle(), m_db->Number(), &id);
    if (status != 0)
        ThrowStatus(status, *m_db, m_name, FunctionLoader::GetNextId);
    return id;
}

int32_t RdmTable::Count()
{
    auto getCount = Entry<veldbcli::GetCountFn>(FunctionLoader::GetCount);
    int count = 0;
    int status = getCount(m_db->Handle(), m_db->Number(), m_recordType, &count);
    if (status != 0)
        ThrowStatus(status, *m_db, m_name, FunctionLoader::GetCount);
    return count;
}

bool RdmTable::IsCompoundKey(int fieldNumber) const
{
    return m_db->FieldByNumber(fieldNumber).type == 'k';
}

bool RdmTable::HasField(const std::string& name, bool direct) const
{
    return m_fields.count(direct ? DictUpper(name) : FieldKey(name)) != 0;
}

// A table read row by row asks for the same few names again and again: those asked for
// last are found by the name exactly as given, without upper-casing and the map.
RdmFld* RdmTable::FindField(const char* name, size_t length)
{
    for (Recent& recent : m_recent)
        if (recent.field && recent.name.size() == length && std::memcmp(recent.name.data(), name, length) == 0)
            return recent.field;
    std::string given(name, length);
    auto it = m_fields.find(FieldKey(given));
    if (it == m_fields.end())
        return nullptr;
    Recent& slot = m_recent[m_nextRecent++ % m_recent.size()];
    slot.name.swap(given);
    slot.field = &it->second;
    return slot.field;
}

RdmFld* RdmTable::FindField(const std::string& name)
{
    return FindField(name.data(), name.size());
}

RdmFld& RdmTable::Field(const std::string& name)
{
    return Field(name.c_str());
}

RdmFld& RdmTable::Field(const char* name)
{
    RdmFld* field = FindField(name, std::strlen(name));
    if (!field)
        throw DbDescError(kUnknownField, VEL_ERRPOS("RdmTable::Field"), StrVector{ name });
    return *field;
}

std::string RdmTable::FieldText(const std::string& name)
{
    RdmFld* field = FindField(name);
    return field ? field->AsText() : std::string();
}

bool RdmTable::FieldEquals(const std::string& name, const std::string& text)
{
    RdmFld* field = FindField(name);
    return field && field->TextEquals(text.data(), text.size());
}

void RdmTable::AddAlias(const std::string& qualified, const std::string& field)
{
    m_aliases[DictUpper(qualified)] = DictUpper(field);
    m_recent = {};       // a name may lead elsewhere now
}
