// One client connection of the stand-in server: its login, its open databases, the key
// defined per record type and the current row per record type.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "standins/veldbsrv/ServerState.h"
#include "standins/wire/PacketReader.h"
#include "standins/wire/PacketWriter.h"

class ClientSession {
public:
    explicit ClientSession(ServerState& state) : m_state(state) {}
    ~ClientSession();
    ClientSession(const ClientSession&) = delete;
    ClientSession& operator=(const ClientSession&) = delete;

    // The answer to one request; `done` is set when the client has let go of the
    // connection.
    std::string Answer(const std::string& request, bool& done);

private:
    // A record type of a database open on this connection.
    struct Target {
        StandinDatabase* db = nullptr;
        StandinRecord* record = nullptr;
        std::pair<int, int> key;            // database number, record-type index
    };

    int Dispatch(int entry, standin::PacketReader& in, standin::PacketWriter& out, bool& done);
    int InitUser(standin::PacketReader& in);
    int FreeHandler(bool& done);
    int OpenDb(standin::PacketReader& in);
    int Description(standin::PacketReader& in, standin::PacketWriter& out);
    int DefineKey(standin::PacketReader& in, standin::PacketWriter& out);
    int Step(int entry, standin::PacketReader& in, standin::PacketWriter& out);
    int Find(int entry, standin::PacketReader& in, standin::PacketWriter& out);
    int List(int entry, standin::PacketReader& in, standin::PacketWriter& out);
    int Write(int entry, standin::PacketReader& in);
    int Count(standin::PacketReader& in, standin::PacketWriter& out);
    int NextId(standin::PacketReader& in, standin::PacketWriter& out);
    int Truncate(standin::PacketReader& in);
    int Transaction(int entry, standin::PacketReader& in);

    int Resolve(standin::PacketReader& in, Target& target);
    int KeyField(const Target& target, const StandinField*& field) const;
    int CurrentIndex(const Target& target) const;     // -1 without one
    bool UniqueClash(const Target& target, const std::string& image, uint32_t self) const;
    void Release();

    ServerState& m_state;
    bool m_counted = false;
    bool m_loggedIn = false;
    std::set<int> m_open;
    std::map<std::pair<int, int>, int> m_keys;
    std::map<std::pair<int, int>, uint32_t> m_current;
    std::unique_ptr<std::vector<StandinDatabase>> m_snapshot;
};
