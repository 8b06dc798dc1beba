// Signatures of the client library's entries that the program calls. Every entry
// returns a status: 0 is success. Buffers the library hands out go back through FreePtr.
#pragma once
#include <windows.h>

struct ClientSettings;

namespace veldbcli {

using FreePtrFn = int(WINAPI*)(void* buffer);
using CreateDbHandlerFn = int(WINAPI*)(int* handle);
using InitUserExFn = int(WINAPI*)(int handle, const ClientSettings* settings);
using SetCodeFn = int(WINAPI*)(int handle, int length, const char* code);
using FreeDbHandlerFn = int(WINAPI*)(int handle);
using OpenDbExAFn = int(WINAPI*)(int handle, int db, const char* name, BYTE mode);
using GetDbDescriptionFn = int(WINAPI*)(int handle, int db, BYTE** data, int* size);
using DefineKeyFn = int(WINAPI*)(int handle, int db, int recType, int keyField);
// FirstRec, PrevRec, NextRec, LastRec, ReadCurrentRec: the record is handed out.
using StepRecFn = int(WINAPI*)(int handle, int db, int recType, int keyLength, BYTE** record);
// FindRec, FindRecNext, FindRecPrev: the caller's buffer holds the key, then the record.
using FindRecFn = int(WINAPI*)(int handle, int db, int recType, int keyLength, BYTE** keyBuffer);
// FindList, FindListOr, FindGreater, FindLess.
using FindListFn = int(WINAPI*)(int handle, int db, int recType, const BYTE* key, BYTE** data, int* totalSize,
                                int* recordSize);
using GetAllRecFn = int(WINAPI*)(int handle, int db, int recType, BYTE** data, int* totalSize);
using FindBetweenFn = int(WINAPI*)(int handle, int db, int recType, const BYTE* low, const BYTE* high, BYTE** data,
                                   int* totalSize, int* recordSize);
// NewRec, ModRec, DelRec.
using ChangeRecFn = int(WINAPI*)(int handle, int db, int recType, int length, const BYTE* record);
using GetCountFn = int(WINAPI*)(int handle, int db, int recType, int* count);
using GetNextIdFn = int(WINAPI*)(int handle, int db, int* id);
using TruncateFileFn = int(WINAPI*)(int handle, int db, int recType);
using BeginTransactionFn = int(WINAPI*)(int handle, const char* name, int, int);
using EndTransactionFn = int(WINAPI*)(int handle, BYTE commit);

// Writes the largest number of clients the server admits at the same time. Needs no
// connection.
using GetMaxuserFn = int(WINAPI*)(int* maxUsers);

}  // namespace veldbcli
