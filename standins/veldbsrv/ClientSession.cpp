#include "standins/veldbsrv/ClientSession.h"

#include <cstring>

#include "standins/veldbsrv/DescriptionBlock.h"
#include "standins/veldbsrv/FieldValue.h"
#include "standins/wire/NameKey.h"

using namespace standin;

namespace {

// Whether a row belongs to the list, from how its key orders against the low key (and
// the high key, for FindBetween).
bool Matches(int entry, int order, int highOrder)
{
    switch (entry) {
    case FindGreater: return order > 0;
    case FindLess: return order < 0;
    case FindBetween: return order >= 0 && highOrder <= 0;
    default: return order == 0;
    }
}

}  // namespace

ClientSession::~ClientSession()
{
    std::lock_guard<std::mutex> lock(m_state.Mutex());
    Release();
}

void ClientSession::Release()
{
    if (m_counted)
        m_state.RemoveConnection();
    m_counted = false;
}

std::string ClientSession::Answer(const std::string& request, bool& done)
{
    std::lock_guard<std::mutex> lock(m_state.Mutex());
    PacketReader in(request);
    PacketWriter out;
    int32_t entry = 0;
    int status = kBadRequest;
    if (in.Int(entry) && EntryName(entry)) {
        status = m_state.CountCall(entry);
        if (status == 0 && m_loggedIn && m_state.AnswersEmpty(entry))
            out.Bytes(std::string());
        else if (status == 0)
            status = Dispatch(entry, in, out, done);
    }
    PacketWriter answer;
    answer.Int(status);
    return answer.Data() + out.Data();
}

int ClientSession::Dispatch(int entry, PacketReader& in, PacketWriter& out, bool& done)
{
    if (entry == Query) {
        std::string text;
        if (!in.Bytes(text))
            return kBadRequest;
        out.Bytes(m_state.Query(text));
        return kOk;
    }
    if (entry == InitUserEx)
        return InitUser(in);
    if (entry == FreeDbHandler)
        return FreeHandler(done);
    if (!m_loggedIn)
        return kNotLoggedIn;
    switch (entry) {
    case SetCode: return kOk;
    case OpenDbExA: return OpenDb(in);
    case GetDbDescription: return Description(in, out);
    case standin::DefineKey: return DefineKey(in, out);
    case FirstRec: case PrevRec: case NextRec: case LastRec: case ReadCurrentRec:
        return Step(entry, in, out);
    case FindRec: case FindRecNext: case FindRecPrev:
        return Find(entry, in, out);
    case FindList: case FindListOr: case FindGreater: case FindLess: case GetAllRec: case FindBetween:
        return List(entry, in, out);
    case NewRec: case ModRec: case DelRec:
        return Write(entry, in);
    case GetCount: return Count(in, out);
    case GetNextId: return NextId(in, out);
    case TruncateFile: return Truncate(in);
    case BeginTransaction: case EndTransaction:
        return Transaction(entry, in);
    default:
        return kBadRequest;
    }
}

// The user of the settings against "dbuser" of "SYSDB", whose names and passwords are
// stored scrambled; a server whose data file says logincheck="off" leaves that check to
// its clients and admits everybody.
int ClientSession::InitUser(PacketReader& in)
{
    std::string settings;
    if (!in.Bytes(settings) || settings.size() != static_cast<size_t>(kClientSettingsSize))
        return kBadRequest;
    if (!m_counted)
        m_state.AddConnection();
    m_counted = true;
    m_loggedIn = !m_state.Data().checkLogins;
    if (m_loggedIn)
        return kOk;
    StandinDatabase* sysdb = m_state.Data().Find(kSysDbNumber);
    int users = sysdb ? sysdb->RecordIndex("dbuser") : -1;
    if (users < 0)
        return kUnknownUser;
    const StandinRecord& table = sysdb->records[static_cast<size_t>(users)];
    int name = table.FieldIndex("name"), password = table.FieldIndex("psw"), enabled = table.FieldIndex("enabled");
    if (name < 0 || password < 0 || enabled < 0)
        return kUnknownUser;
    std::string user = SettingsText(settings.data(), kSettingsUser);
    for (const StandinRow& row : table.rows) {
        if (Unscramble(FieldText(table.fields[static_cast<size_t>(name)], row.image)) != user)
            continue;
        if (FieldNumber(table.fields[static_cast<size_t>(enabled)], row.image) != 1)
            return kUserDisabled;
        if (Unscramble(FieldText(table.fields[static_cast<size_t>(password)], row.image))
            != SettingsText(settings.data(), kSettingsPassword))
            return kWrongPassword;
        m_loggedIn = true;
        return kOk;
    }
    return kUnknownUser;
}

// Counted out before the answer goes, so that a client that has its answer sees the
// connection gone.
int ClientSession::FreeHandler(bool& done)
{
    Release();
    done = true;
    return kOk;
}

int ClientSession::OpenDb(PacketReader& in)
{
    int32_t number = 0;
    std::string name;
    if (!in.Int(number) || !in.Bytes(name))
        return kBadRequest;
    StandinDatabase* db = m_state.Data().Find(number);
    if (!db || m_open.count(number))
        return db ? kAlreadyOpen : kNoDatabase;
    m_open.insert(number);
    return kOk;
}

// The database whose number comes next in the request, when this client opened it.
int ClientSession::OpenDatabase(PacketReader& in, StandinDatabase*& db, int32_t& number)
{
    if (!in.Int(number))
        return kBadRequest;
    db = m_state.Data().Find(number);
    return db && m_open.count(number) ? kOk : kNoDatabase;
}

int ClientSession::Description(PacketReader& in, PacketWriter& out)
{
    int32_t number = 0;
    StandinDatabase* db = nullptr;
    int status = OpenDatabase(in, db, number);
    if (status != kOk)
        return status;
    out.Bytes(db->ownDescription ? db->description : BuildDescriptionBlock(*db));
    return kOk;
}

int ClientSession::Resolve(PacketReader& in, Target& target)
{
    int32_t number = 0, recordType = 0;
    int status = OpenDatabase(in, target.db, number);
    if (status != kOk)
        return status;
    if (!in.Int(recordType))
        return kBadRequest;
    int index = recordType - 10000;
    if (index < 0 || static_cast<size_t>(index) >= target.db->records.size())
        return kBadRecordType;
    target.record = &target.db->records[static_cast<size_t>(index)];
    target.key = { number, index };
    return kOk;
}

// Answers the key field's length: the client sends that many bytes of key later.
int ClientSession::DefineKey(PacketReader& in, PacketWriter& out)
{
    Target target;
    int status = Resolve(in, target);
    int32_t fieldNumber = 0;
    if (status == kOk && !in.Int(fieldNumber))
        status = kBadRequest;
    if (status != kOk)
        return status;
    int field = fieldNumber - target.key.second * 1000;
    if (fieldNumber / 1000 != target.key.second || field < 0 || static_cast<size_t>(field) >= target.record->fields.size())
        return kBadRecordType;
    m_keys[target.key] = field;
    out.Int(target.record->fields[static_cast<size_t>(field)].length);
    return kOk;
}

int ClientSession::KeyField(const Target& target, const StandinField*& field) const
{
    auto key = m_keys.find(target.key);
    if (key == m_keys.end() || static_cast<size_t>(key->second) >= target.record->fields.size())
        return kNoKey;
    field = &target.record->fields[static_cast<size_t>(key->second)];
    return kOk;
}

int ClientSession::CurrentIndex(const Target& target) const
{
    auto current = m_current.find(target.key);
    if (current == m_current.end())
        return -1;
    const auto& rows = target.record->rows;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].id == current->second)
            return static_cast<int>(i);
    }
    return -1;
}

// Steps go in the order of the rows.
int ClientSession::Step(int entry, PacketReader& in, PacketWriter& out)
{
    Target target;
    int status = Resolve(in, target);
    if (status != kOk)
        return status;
    int count = static_cast<int>(target.record->rows.size());
    int current = CurrentIndex(target);
    int next = -1;
    switch (entry) {
    case FirstRec: next = 0; break;
    case LastRec: next = count - 1; break;
    case NextRec: next = current + 1; break;
    case PrevRec: next = current < 0 ? count - 1 : current - 1; break;
    default: next = current; break;
    }
    if (next < 0 || next >= count)
        return kNotFound;
    const StandinRow& row = target.record->rows[static_cast<size_t>(next)];
    m_current[target.key] = row.id;
    out.Bytes(row.image);
    return kOk;
}

// FindRec from the first row; FindRecNext and FindRecPrev onward from the current one.
int ClientSession::Find(int entry, PacketReader& in, PacketWriter& out)
{
    Target target;
    const StandinField* field = nullptr;
    std::string key;
    int status = Resolve(in, target);
    if (status == kOk)
        status = in.Bytes(key) ? KeyField(target, field) : kBadRequest;
    if (status != kOk)
        return status;
    key.resize(field->length, '\0');
    const auto& rows = target.record->rows;
    int count = static_cast<int>(rows.size());
    int current = CurrentIndex(target);
    int step = entry == FindRecPrev ? -1 : 1;
    int i = entry == FindRec ? 0 : (entry == FindRecPrev && current < 0 ? count - 1 : current + step);
    for (; i >= 0 && i < count; i += step) {
        const StandinRow& row = rows[static_cast<size_t>(i)];
        if (CompareFieldValue(*field, row.image.data() + field->offset, key.data()) == 0) {
            m_current[target.key] = row.id;
            out.Bytes(row.image);
            return kOk;
        }
    }
    return kNotFound;
}

int ClientSession::List(int entry, PacketReader& in, PacketWriter& out)
{
    Target target;
    const StandinField* field = nullptr;
    std::string low, high;
    int status = Resolve(in, target);
    if (status == kOk && entry != GetAllRec) {
        status = in.Bytes(low) && (entry != FindBetween || in.Bytes(high)) ? KeyField(target, field) : kBadRequest;
    }
    if (status != kOk)
        return status;
    if (field) {
        low.resize(field->length, '\0');
        high.resize(field->length, '\0');
    }
    std::string data;
    for (const StandinRow& row : target.record->rows) {
        bool wanted = true;
        if (field) {
            const char* value = row.image.data() + field->offset;
            wanted = Matches(entry, CompareFieldValue(*field, value, low.data()),
                             entry == FindBetween ? CompareFieldValue(*field, value, high.data()) : 0);
        }
        if (wanted)
            data += row.image;
    }
    if (data.empty())
        return kNotFound;
    out.Int(target.record->dataLength).Bytes(data);
    return kOk;
}

bool ClientSession::UniqueClash(const Target& target, const std::string& image, uint32_t self) const
{
    for (const StandinField& field : target.record->fields) {
        if (field.keyKind != 'u')
            continue;
        for (const StandinRow& row : target.record->rows) {
            if (row.id != self && CompareFieldValue(field, row.image.data() + field.offset, image.data() + field.offset) == 0)
                return true;
        }
    }
    return false;
}

// NewRec adds a row and makes it current; ModRec and DelRec work on the current row.
int ClientSession::Write(int entry, PacketReader& in)
{
    Target target;
    std::string image;
    int status = Resolve(in, target);
    if (status == kOk && !in.Bytes(image))
        status = kBadRequest;
    if (status != kOk)
        return status;
    image.resize(target.record->dataLength, '\0');
    auto& rows = target.record->rows;
    int current = CurrentIndex(target);
    if (entry != NewRec && current < 0)
        return kNotFound;
    if (entry == DelRec) {
        rows.erase(rows.begin() + current);
        m_current.erase(target.key);
        return kOk;
    }
    uint32_t self = entry == ModRec ? rows[static_cast<size_t>(current)].id : 0;
    if (UniqueClash(target, image, self))
        return kDuplicateKey;
    if (entry == ModRec) {
        rows[static_cast<size_t>(current)].image = image;
        return kOk;
    }
    StandinRow row;
    row.id = m_state.Data().nextRowId++;
    row.image = image;
    rows.push_back(row);
    m_current[target.key] = row.id;
    return kOk;
}

int ClientSession::Count(PacketReader& in, PacketWriter& out)
{
    Target target;
    int status = Resolve(in, target);
    if (status == kOk)
        out.Int(static_cast<int32_t>(target.record->rows.size()));
    return status;
}

int ClientSession::NextId(PacketReader& in, PacketWriter& out)
{
    int32_t number = 0;
    StandinDatabase* db = nullptr;
    int status = OpenDatabase(in, db, number);
    if (status != kOk)
        return status;
    out.Int(db->nextId++);
    return kOk;
}

int ClientSession::Truncate(PacketReader& in)
{
    Target target;
    int status = Resolve(in, target);
    if (status == kOk) {
        target.record->rows.clear();
        m_current.erase(target.key);
    }
    return status;
}

// A transaction keeps a copy of every database's rows; ending it without commit puts
// the copy back. Changes of other connections meanwhile are lost with it.
int ClientSession::Transaction(int entry, PacketReader& in)
{
    if (entry == BeginTransaction) {
        if (m_snapshot)
            return kBadRequest;
        m_snapshot.reset(new std::vector<StandinDatabase>(m_state.Data().databases));
        return kOk;
    }
    int32_t commit = 0;
    if (!in.Int(commit) || !m_snapshot)
        return kBadRequest;
    if (!commit)
        m_state.Data().databases = *m_snapshot;
    m_snapshot.reset();
    return kOk;
}
