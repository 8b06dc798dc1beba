// Stand-in for the server's client library, for the tests and the demo. Its entries are
// exported under the library's decorated names (see CMakeLists.txt) and reach the
// stand-in server over a named pipe; every buffer they hand out is freed with FreePtr.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "standins/veldbcli/HandleTable.h"
#include "standins/veldbcli/LibraryHeap.h"
#include "standins/wire/PacketReader.h"
#include "standins/wire/PipeChannel.h"
#include "standins/wire/StandinProtocol.h"

using namespace standin;

namespace {

const int kMaxUsers = 50;
const DWORD kQueryTimeoutMs = 10000;

// "\\server\pipe\service"; an empty server or "." is this machine.
std::string PipePath(const BYTE* settings)
{
    std::string server = SettingsText(settings, kSettingsServer);
    return "\\\\" + (server.empty() ? std::string(".") : server) + "\\pipe\\" + SettingsText(settings, kSettingsService);
}

// An answer of no bytes hands out nothing.
BYTE* HandOut(const std::string& bytes)
{
    if (bytes.empty())
        return nullptr;
    BYTE* buffer = static_cast<BYTE*>(LibraryHeap::Allocate(bytes.size()));
    if (buffer)
        memcpy(buffer, bytes.data(), bytes.size());
    return buffer;
}

uint32_t SettingsTimeout(const BYTE* settings)
{
    uint32_t timeout = 0;
    memcpy(&timeout, settings + kSettingsTimeout, sizeof timeout);
    return timeout;
}

int Call(int handle, const PacketWriter& request, std::string& payload)
{
    auto connection = HandleTable::Instance().Find(handle);
    return connection ? connection->Call(request, payload) : kBadHandle;
}

int Call(int handle, const PacketWriter& request)
{
    std::string payload;
    return Call(handle, request, payload);
}

PacketWriter Request(Entry entry, int db, int recordType)
{
    PacketWriter request;
    request.Int(entry).Int(db).Int(recordType);
    return request;
}

// The answer's one byte string, handed out.
int CallForBuffer(int handle, const PacketWriter& request, BYTE** data, int* size)
{
    std::string payload, bytes;
    int status = Call(handle, request, payload);
    PacketReader in(payload);
    if (status == kOk && !in.Bytes(bytes))
        status = kBadRequest;
    if (status == kOk) {
        *data = HandOut(bytes);
        if (size)
            *size = static_cast<int>(bytes.size());
    }
    return status;
}

int CallForInt(int handle, const PacketWriter& request, int* value)
{
    std::string payload;
    int32_t number = 0;
    int status = Call(handle, request, payload);
    PacketReader in(payload);
    if (status == kOk && !in.Int(number))
        status = kBadRequest;
    if (status == kOk)
        *value = number;
    return status;
}

int Step(Entry entry, int handle, int db, int recordType, BYTE** record)
{
    if (!record)
        return kBadRequest;
    return CallForBuffer(handle, Request(entry, db, recordType), record, nullptr);
}

// The key at the start of the caller's buffer; the found record replaces it.
int Find(Entry entry, int handle, int db, int recordType, int keyLength, BYTE** keyBuffer)
{
    if (!keyBuffer || !*keyBuffer || keyLength < 0)
        return kBadRequest;
    PacketWriter request = Request(entry, db, recordType);
    request.Bytes(*keyBuffer, static_cast<size_t>(keyLength));
    std::string payload, record;
    int status = Call(handle, request, payload);
    PacketReader in(payload);
    if (status == kOk && !in.Bytes(record))
        status = kBadRequest;
    if (status == kOk)
        memcpy(*keyBuffer, record.data(), record.size());
    return status;
}

// The keys are as long as the field defined last for the record type.
int List(Entry entry, int handle, int db, int recordType, const BYTE* low, const BYTE* high,
         BYTE** data, int* totalSize, int* recordSize)
{
    auto connection = HandleTable::Instance().Find(handle);
    if (!connection)
        return kBadHandle;
    if (!data || !totalSize || (entry != GetAllRec && !low) || (entry == FindBetween && !high))
        return kBadRequest;
    PacketWriter request = Request(entry, db, recordType);
    size_t keyLength = static_cast<size_t>(connection->KeyLength(db, recordType));
    if (entry != GetAllRec)
        request.Bytes(low, keyLength);
    if (entry == FindBetween)
        request.Bytes(high, keyLength);
    std::string payload, records;
    int32_t size = 0;
    int status = connection->Call(request, payload);
    PacketReader in(payload);
    if (status == kOk && (!in.Int(size) || !in.Bytes(records)))
        status = kBadRequest;
    if (status == kOk) {
        *data = HandOut(records);
        *totalSize = static_cast<int>(records.size());
        if (recordSize)
            *recordSize = size;
    }
    return status;
}

int Write(Entry entry, int handle, int db, int recordType, int length, const BYTE* record)
{
    if (!record || length < 0)
        return kBadRequest;
    PacketWriter request = Request(entry, db, recordType);
    request.Bytes(record, static_cast<size_t>(length));
    return Call(handle, request);
}

}  // namespace

extern "C" {

// The number can be set through the environment so that tests see it come through.
int WINAPI GetMaxuser(int* maxUsers)
{
    if (!maxUsers)
        return kBadRequest;
    char value[32] = "";
    *maxUsers = GetEnvironmentVariableA("VELDBCLI_MAXUSER", value, sizeof value) ? atoi(value) : kMaxUsers;
    return 0;
}

int WINAPI CreateDbHandler(int* handle)
{
    if (!handle)
        return kBadRequest;
    *handle = HandleTable::Instance().Create();
    return kOk;
}

int WINAPI InitUserEx(int handle, const BYTE* settings)
{
    auto connection = HandleTable::Instance().Find(handle);
    if (!connection)
        return kBadHandle;
    if (!settings)
        return kBadRequest;
    if (!connection->Connect(PipePath(settings), SettingsTimeout(settings)))
        return kUnreachable;
    PacketWriter request;
    request.Int(standin::InitUserEx).Bytes(settings, kClientSettingsSize);
    std::string payload;
    return connection->Call(request, payload);
}

int WINAPI SetCode(int handle, int length, const char* code)
{
    PacketWriter request;
    request.Int(standin::SetCode).Bytes(code, code && length > 0 ? static_cast<size_t>(length) : 0);
    return Call(handle, request);
}

int WINAPI FreeDbHandler(int handle)
{
    auto connection = HandleTable::Instance().Remove(handle);
    if (!connection)
        return kBadHandle;
    PacketWriter request;
    request.Int(standin::FreeDbHandler);
    std::string payload;
    int status = connection->Call(request, payload);
    connection->Close();
    return status;
}

int WINAPI OpenDbExA(int handle, int db, const char* name, BYTE mode)
{
    PacketWriter request;
    request.Int(standin::OpenDbExA).Int(db).Bytes(name ? std::string(name) : std::string()).Int(mode);
    return Call(handle, request);
}

int WINAPI GetDbDescription(int handle, int db, BYTE** data, int* size)
{
    if (!data || !size)
        return kBadRequest;
    PacketWriter request;
    request.Int(standin::GetDbDescription).Int(db);
    return CallForBuffer(handle, request, data, size);
}

int WINAPI DefineKey(int handle, int db, int recordType, int keyField)
{
    auto connection = HandleTable::Instance().Find(handle);
    if (!connection)
        return kBadHandle;
    if (connection->HasKey(db, recordType, keyField))
        return kOk;
    PacketWriter request = Request(standin::DefineKey, db, recordType);
    request.Int(keyField);
    int length = 0;
    int status = CallForInt(handle, request, &length);
    if (status == kOk)
        connection->SetKey(db, recordType, keyField, length);
    return status;
}

int WINAPI FirstRec(int handle, int db, int recordType, int, BYTE** record)
{
    return Step(standin::FirstRec, handle, db, recordType, record);
}

int WINAPI PrevRec(int handle, int db, int recordType, int, BYTE** record)
{
    return Step(standin::PrevRec, handle, db, recordType, record);
}

int WINAPI NextRec(int handle, int db, int recordType, int, BYTE** record)
{
    return Step(standin::NextRec, handle, db, recordType, record);
}

int WINAPI LastRec(int handle, int db, int recordType, int, BYTE** record)
{
    return Step(standin::LastRec, handle, db, recordType, record);
}

int WINAPI ReadCurrentRec(int handle, int db, int recordType, int, BYTE** record)
{
    return Step(standin::ReadCurrentRec, handle, db, recordType, record);
}

int WINAPI FindRec(int handle, int db, int recordType, int keyLength, BYTE** keyBuffer)
{
    return Find(standin::FindRec, handle, db, recordType, keyLength, keyBuffer);
}

int WINAPI FindRecNext(int handle, int db, int recordType, int keyLength, BYTE** keyBuffer)
{
    return Find(standin::FindRecNext, handle, db, recordType, keyLength, keyBuffer);
}

int WINAPI FindRecPrev(int handle, int db, int recordType, int keyLength, BYTE** keyBuffer)
{
    return Find(standin::FindRecPrev, handle, db, recordType, keyLength, keyBuffer);
}

int WINAPI FindList(int handle, int db, int recordType, const BYTE* key, BYTE** data, int* totalSize, int* recordSize)
{
    return List(standin::FindList, handle, db, recordType, key, nullptr, data, totalSize, recordSize);
}

int WINAPI FindListOr(int handle, int db, int recordType, const BYTE* key, BYTE** data, int* totalSize, int* recordSize)
{
    return List(standin::FindListOr, handle, db, recordType, key, nullptr, data, totalSize, recordSize);
}

int WINAPI FindGreater(int handle, int db, int recordType, const BYTE* key, BYTE** data, int* totalSize, int* recordSize)
{
    return List(standin::FindGreater, handle, db, recordType, key, nullptr, data, totalSize, recordSize);
}

int WINAPI FindLess(int handle, int db, int recordType, const BYTE* key, BYTE** data, int* totalSize, int* recordSize)
{
    return List(standin::FindLess, handle, db, recordType, key, nullptr, data, totalSize, recordSize);
}

int WINAPI GetAllRec(int handle, int db, int recordType, BYTE** data, int* totalSize)
{
    return List(standin::GetAllRec, handle, db, recordType, nullptr, nullptr, data, totalSize, nullptr);
}

int WINAPI FindBetween(int handle, int db, int recordType, const BYTE* low, const BYTE* high, BYTE** data,
                       int* totalSize, int* recordSize)
{
    return List(standin::FindBetween, handle, db, recordType, low, high, data, totalSize, recordSize);
}

int WINAPI NewRec(int handle, int db, int recordType, int length, const BYTE* record)
{
    return Write(standin::NewRec, handle, db, recordType, length, record);
}

int WINAPI ModRec(int handle, int db, int recordType, int length, const BYTE* record)
{
    return Write(standin::ModRec, handle, db, recordType, length, record);
}

int WINAPI DelRec(int handle, int db, int recordType, int length, const BYTE* record)
{
    return Write(standin::DelRec, handle, db, recordType, length, record);
}

int WINAPI GetCount(int handle, int db, int recordType, int* count)
{
    return count ? CallForInt(handle, Request(standin::GetCount, db, recordType), count) : kBadRequest;
}

int WINAPI GetNextId(int handle, int db, int* id)
{
    PacketWriter request;
    request.Int(standin::GetNextId).Int(db);
    return id ? CallForInt(handle, request, id) : kBadRequest;
}

int WINAPI TruncateFile(int handle, int db, int recordType)
{
    return Call(handle, Request(standin::TruncateFile, db, recordType));
}

int WINAPI BeginTransaction(int handle, const char* name, int, int)
{
    PacketWriter request;
    request.Int(standin::BeginTransaction).Bytes(name ? std::string(name) : std::string());
    return Call(handle, request);
}

int WINAPI EndTransaction(int handle, BYTE commit)
{
    PacketWriter request;
    request.Int(standin::EndTransaction).Int(commit);
    return Call(handle, request);
}

int WINAPI FreePtr(void* buffer)
{
    LibraryHeap::Free(buffer);
    return kOk;
}

// For the tests: one request to the server on \\.\pipe\<pipeName>, its answer copied
// (cut to fit, with its zero) into `answer`. A server that does not answer within
// 10 s is unreachable.
int WINAPI StandinQuery(const char* pipeName, const char* request, char* answer, int size)
{
    if (!pipeName || !request || !answer || size <= 0)
        return kBadRequest;
    PipeChannel channel;
    if (!channel.Open(std::string("\\\\.\\pipe\\") + pipeName, kQueryTimeoutMs))
        return kUnreachable;
    PacketWriter message;
    message.Int(standin::Query).Bytes(std::string(request));
    std::string reply, text;
    int32_t status = 0;
    PacketReader in(reply);
    if (!channel.Send(message.Data()) || !channel.Receive(reply) || !in.Int(status) || !in.Bytes(text))
        return kUnreachable;
    size_t n = text.size() < static_cast<size_t>(size) ? text.size() : static_cast<size_t>(size) - 1;
    memcpy(answer, text.data(), n);
    answer[n] = '\0';
    return status;
}

// For the tests: the heap every allocation of this library comes from.
HANDLE WINAPI StandinHeap()
{
    return LibraryHeap::Handle();
}

}  // extern "C"
