// What the stand-in client library and server say to each other over their pipe. A
// message is a 32-bit length and that many bytes. A request starts with its entry, an
// answer with its status; the arguments follow as 32-bit numbers and length-prefixed
// byte strings (PacketWriter / PacketReader).
#pragma once
#include <string>

namespace standin {

#define STANDIN_ENTRIES(X) \
    X(InitUserEx) X(SetCode) X(FreeDbHandler) X(OpenDbExA) X(GetDbDescription) X(DefineKey) \
    X(FirstRec) X(PrevRec) X(NextRec) X(LastRec) X(ReadCurrentRec) \
    X(FindRec) X(FindRecNext) X(FindRecPrev) \
    X(FindList) X(FindListOr) X(FindGreater) X(FindLess) X(GetAllRec) X(FindBetween) \
    X(NewRec) X(ModRec) X(DelRec) X(GetCount) X(GetNextId) X(TruncateFile) \
    X(BeginTransaction) X(EndTransaction) X(Query)

enum Entry {
#define STANDIN_ENUM(name) name,
    STANDIN_ENTRIES(STANDIN_ENUM)
#undef STANDIN_ENUM
    EntryCount
};

// The entry's name as the tests use it ("FindList"); null out of range.
const char* EntryName(int entry);
// The entry of that name, or EntryCount.
int EntryByName(const char* name);

enum Status {
    kOk = 0,
    kBadRequest = 10001,       // arguments that make no sense (null pointers, a wrong size)
    kNotFound = 10002,
    kNoDatabase = 10003,       // no such database, or not open on this connection
    kDuplicateKey = 10005,
    kNotLoggedIn = 10008,
    kBadHandle = 10009,
    kNoKey = 10012,            // no key defined for the record type
    kBadRecordType = 10013,    // record type or field number unknown
    kUnknownUser = 10014,
    kAlreadyOpen = 10020,
    kUserDisabled = 10067,
    kWrongPassword = 10068,
    kUnreachable = 10071,      // the pipe cannot be opened or broke
};

const int kClientSettingsSize = 251;
const int kSettingsUser = 8;
const int kSettingsServer = 72;
const int kSettingsService = 104;
const int kSettingsTimeout = 207;      // u32, milliseconds; 0: no limit
const int kSettingsPassword = 211;
const int kSettingsTextSize = 32;
const int kSysDbNumber = 19;

// A text field of the client settings record, up to its zero or its 32 bytes.
std::string SettingsText(const void* settings, int offset);

// Longest message either side accepts.
const unsigned kMaxMessage = 256u * 1024 * 1024;

}  // namespace standin
