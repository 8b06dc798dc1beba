// One connection handle of the client library: its pipe to the server and the key
// defined per record type. Once the pipe breaks, every call answers 10071.
#pragma once
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "standins/wire/PacketWriter.h"
#include "standins/wire/PipeChannel.h"

class Connection {
public:
    // Opens the pipe unless it is open already; false when it cannot be opened. A server
    // that does not answer within `timeoutMs` (the settings' "timeout"; 0: no limit)
    // counts as unreachable from then on.
    bool Connect(const std::string& pipePath, uint32_t timeoutMs);

    // Sends the request and waits for its answer: the status, and what follows it in
    // `payload`.
    int Call(const standin::PacketWriter& request, std::string& payload);

    void Close();

    // The key field defined for a record type and its length; a key defined again
    // needs no round trip to the server.
    void SetKey(int db, int recordType, int keyField, int length);
    bool HasKey(int db, int recordType, int keyField) const;
    int KeyLength(int db, int recordType) const;

private:
    mutable std::mutex m_mutex;
    standin::PipeChannel m_channel;
    bool m_broken = false;
    struct Key {
        int field;
        int length;
    };
    std::map<std::pair<int, int>, Key> m_keys;
};
