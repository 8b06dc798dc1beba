// One connection handle of the client library: its pipe to the server and the key
// length defined per record type. Once the pipe breaks, every call answers 10071.
#pragma once
#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "standins/wire/PacketWriter.h"
#include "standins/wire/PipeChannel.h"

class Connection {
public:
    // Opens the pipe unless it is open already; false when it cannot be opened.
    bool Connect(const std::string& pipePath);

    // Sends the request and waits for its answer: the status, and what follows it in
    // `payload`.
    int Call(const standin::PacketWriter& request, std::string& payload);

    void Close();

    void SetKeyLength(int db, int recordType, int length);
    int KeyLength(int db, int recordType) const;

private:
    mutable std::mutex m_mutex;
    standin::PipeChannel m_channel;
    bool m_broken = false;
    std::map<std::pair<int, int>, int> m_keyLengths;
};
